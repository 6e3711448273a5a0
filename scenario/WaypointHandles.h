#pragma once
// The shown case's handles on the map: a small square in the case colour at its start, at each
// waypoint and at each target, so that every point that can be dragged is seen. Each handle's
// box is a mark the labels keep clear of.

#include <vector>

#include "platform/DeviceGeometry.h"
#include "scenario/ForceCases.h"

namespace globe {
class TVoduz4;
}

namespace scenario {

// Half the side of a handle, in logical pixels.
inline constexpr int kHandleHalfSide = 3;

// The square of a handle centred on `at`, `half` device pixels each way.
platform::TRect HandleBox(platform::TPoint at, int half);

// The geographic points of case n (1..6) that carry a handle: start (when set), waypoints,
// targets.
std::vector<globe::TGeoPoint> HandlePoints(const TForceCases& cases, int n);

// Draws case n's handles (white inside, outlined in the case colour, sized by the view's device
// pixel ratio) and hands their boxes to the view as marks. Points on the hidden side get none.
void DrawWaypointHandles(globe::TVoduz4& view, const TForceCases& cases, int n);

}  // namespace scenario
