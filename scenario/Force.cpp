#include "scenario/Force.h"

#include "globe/data/GlobeObjectSource.h"
#include "scenario/CompassBearing.h"
#include "scenario/Overlay.h"

namespace scenario {

void TOverlay::AppendPoint(const globe::TGeoPoint& point) {
    Chains().Chain(0).Add(point);
    Changed();
}

TForce::TForce(globe::TGlobeObjectSource* source) : globe::TGeoDataObject(source) {}

TForce::~TForce() = default;

std::unique_ptr<globe::TGlobeObject> TForce::NewInstance(globe::TGlobeObjectSource* source) const {
    return std::make_unique<TForce>(source);
}

TForce* TForce::CreateIn(globe::TGlobeObjectSource& source) {
    TForce* force = source.NewObject<TForce>();
    const auto makeOverlay = [&]() {
        TOverlay* overlay = source.NewObject<TOverlay>();
        overlay->Force = force;
        overlay->Chains().Chain(0).SetStoreHeight(false);
        return overlay;
    };
    force->TrackOverlay = makeOverlay();
    force->RouteOverlay = makeOverlay();
    force->SpareOverlay = makeOverlay();
    return force;
}

void TForce::SetHeading(std::int32_t degrees) { Heading = BearingToAngle(degrees); }

void TForce::SetLocation(const globe::TGeoPoint& point) {
    SetCentroid(point);
    if (TrackOverlay != nullptr) TrackOverlay->AppendPoint(point);
    if (RouteOverlay != nullptr) RouteOverlay->AppendPoint(point);
}

void TForce::FreeOverlays() {
    for (TOverlay** overlay : {&TrackOverlay, &RouteOverlay, &SpareOverlay}) {
        if (*overlay == nullptr) continue;
        if (globe::TGlobeObjectSource* source = (*overlay)->ObjectSource()) {
            source->Remove(*overlay);  // the returned owner destroys it
        }
        *overlay = nullptr;
    }
}

}  // namespace scenario
