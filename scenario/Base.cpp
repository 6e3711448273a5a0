#include "scenario/Base.h"

#include "globe/data/Geodesy.h"
#include "scenario/CompassBearing.h"

namespace scenario {

TBase::TBase(globe::TGlobeObjectSource* source) : globe::TGeoDataObject(source) {}

std::unique_ptr<globe::TGlobeObject> TBase::NewInstance(globe::TGlobeObjectSource* source) const {
    return std::make_unique<TBase>(source);
}

void TBase::UpdateReconOutline() {
    const globe::TGeoPoint centre = GetCentroid();
    const auto arcPoint = [&](std::int32_t bearing) {
        return globe::DestinationPoint(centre, BearingToAngle(bearing), ReconRange);
    };
    const std::int32_t half = ReconWidth / 2;
    const std::int32_t finish = AddBearing(ReconDir, half);
    const std::int32_t step = ReconWidth / 20;
    std::int32_t bearing = AddBearing(ReconDir, -half);
    ReconOutline[0] = centre;
    for (int i = 1; i <= 20; ++i) {
        ReconOutline[i] = arcPoint(bearing);
        bearing = AddBearing(bearing, step);
    }
    ReconOutline[21] = arcPoint(finish);
    ReconOutline[22] = centre;
}

}  // namespace scenario
