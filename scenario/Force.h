#pragma once
// A task force: its divisions, its mission (read from one randomly chosen case) and the three
// overlays that draw its track and route.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GeoDataObject.h"
#include "scenario/Missions.h"
#include "scenario/ShipData.h"

namespace scenario {

class TOverlay;

class TForce : public globe::TGeoDataObject {
public:
    explicit TForce(globe::TGlobeObjectSource* source);
    ~TForce() override;

    std::string ClassName() const override { return "TForce"; }

    // A new force in the source, followed by its track, route and spare overlays (each pointing
    // back to it, its first chain storing no heights). The source owns all four objects.
    static TForce* CreateIn(globe::TGlobeObjectSource& source);

    std::int32_t Side = 0;
    std::int32_t Speed = 0;         // knots, as read
    std::int32_t CurrentSpeed = 0;  // knots; 15 when the force starts at a base
    std::int32_t Heading = 0;       // engine angle of the formation heading
    std::unique_ptr<TMission> Mission;
    std::int32_t CWPI = 0;
    std::vector<std::unique_ptr<TDivision>> Divisions;
    TOverlay* TrackOverlay = nullptr;
    TOverlay* RouteOverlay = nullptr;
    TOverlay* SpareOverlay = nullptr;

    // Heading := round((360 - degrees) * 5,400,000).
    void SetHeading(std::int32_t degrees);
    // Moves the force to the point and extends its track and route lines with it.
    void SetLocation(const globe::TGeoPoint& point);

    // Takes the three overlays out of their source and destroys them (the force stays).
    void FreeOverlays();

protected:
    std::unique_ptr<globe::TGlobeObject> NewInstance(globe::TGlobeObjectSource* source) const override;
};

}  // namespace scenario
