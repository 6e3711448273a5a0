#pragma once
// A line drawn for a task force (its track, its route or a spare one).

#include <string>

#include "globe/data/GeoDataObject.h"

namespace scenario {

class TForce;

class TOverlay : public globe::TGeoDataObject {
public:
    explicit TOverlay(globe::TGlobeObjectSource* source) : globe::TGeoDataObject(source) {}

    std::string ClassName() const override { return "TOverlay"; }

    TForce* Force = nullptr;

    // Appends a point to the first chain (the line) and marks the object changed.
    void AppendPoint(const globe::TGeoPoint& point);

protected:
    std::unique_ptr<globe::TGlobeObject> NewInstance(globe::TGlobeObjectSource* source) const override {
        return std::make_unique<TOverlay>(source);
    }
};

}  // namespace scenario
