#pragma once
// A submarine zone: its Title is the zone name, its first chain the corner points.

#include <cstdint>
#include <string>

#include "globe/data/GeoDataObject.h"

namespace scenario {

class TSubZone : public globe::TGeoDataObject {
public:
    explicit TSubZone(globe::TGlobeObjectSource* source) : globe::TGeoDataObject(source) {}

    std::string ClassName() const override { return "TSubZone"; }

    std::int32_t Strength = 0;

protected:
    std::unique_ptr<globe::TGlobeObject> NewInstance(globe::TGlobeObjectSource* source) const override {
        return std::make_unique<TSubZone>(source);
    }
};

}  // namespace scenario
