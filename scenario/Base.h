#pragma once
// A port or airfield of one side, with its reconnaissance sector, strike range and minefield.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "globe/data/GeoDataObject.h"

namespace platform {
class UserDialogs;
}

namespace globe {
class TCustomVoduz4;
}

namespace scenario {

class TShip;

// Points of a reconnaissance outline: the centre, 21 arc points and the centre again.
inline constexpr int kReconOutlinePoints = 23;

class TBase : public globe::TGeoDataObject {
public:
    explicit TBase(globe::TGlobeObjectSource* source);

    std::string ClassName() const override { return "TBase"; }

    std::int32_t Side = 0;
    std::int32_t Port = 0;  // 1 or more: a port; 0 or less: an airfield
    std::int32_t ReconRange = 0;   // GlobeUnit
    std::int32_t StrikeRange = 0;  // GlobeUnit
    std::int32_t Mines = 0;        // GlobeUnit radius of the minefield
    std::string ReconType;
    std::string StrikeType;
    std::int32_t StrikePlanes = 0;
    std::int32_t StrikePlanesAvailable = 0;
    // Where ships and forces starting at the base are placed ("LL=", overridden by "EP=").
    globe::TGeoPoint Location;
    std::int32_t Delay = 0;
    std::int32_t HitChance = 0;
    std::int32_t ReconWidth = 0;  // whole degrees
    std::int32_t ReconDir = 0;    // compass degrees of the sector's centre line
    // Ships lying in this port; the divisions own them.
    std::vector<TShip*> Ships;
    std::array<globe::TGeoPoint, kReconOutlinePoints> ReconOutline{};

    bool IsPort() const { return Port >= 1; }

    // Recomputes ReconOutline from the map position, ReconRange, ReconDir and ReconWidth: the
    // centre, 20 points from the sector's start bearing in steps of ReconWidth div 20, the point
    // at its end bearing, and the centre again.
    void UpdateReconOutline();

    // Gives the base the shared presenter of its side and kind in the layer "Bases"
    // ("AxisPort", "AxisAir", "AlliedPort", "AlliedAir"), made when the layer has none. Without
    // that layer it shows "Error finding base layer!".
    void AttachToBaseLayer(globe::TCustomVoduz4& globe, platform::UserDialogs& dialogs);

protected:
    std::unique_ptr<globe::TGlobeObject> NewInstance(globe::TGlobeObjectSource* source) const override;
};

}  // namespace scenario
