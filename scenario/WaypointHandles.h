#pragma once
// The shown case's handles on the map: a small square in the case colour at its start, at each
// waypoint and at each target, so that every point that can be dragged is seen. Each handle's
// box is a mark the labels keep clear of. The handle under the mouse is drawn filled.

#include <vector>

#include "platform/DeviceGeometry.h"
#include "scenario/ForceCases.h"
#include "scenario/RouteHitTest.h"
#include "scenario/RouteLegs.h"

namespace globe {
class TVoduz4;
}

namespace scenario {

// Half the side of a handle, in logical pixels.
inline constexpr int kHandleHalfSide = 3;

// The square of a handle centred on `at`, `half` device pixels each way.
platform::TRect HandleBox(platform::TPoint at, int half);

// A point of a case that carries a handle.
struct TRouteHandle {
  globe::TGeoPoint At;
  TRoutePointRef Ref;
};

// The handles of case n (1..6): start (when set), waypoints, targets.
std::vector<TRouteHandle> RouteHandles(const TForceCases& cases, int n);

// The handles of case n that lie within `tolerance` pixels of `at`, the nearest first.
std::vector<TRoutePointRef> HandlesNear(const TForceCases& cases, int n, const TDeviceProjector& project,
                                        platform::TPoint at, int tolerance);

// Draws case n's handles (white inside, outlined in the case colour, sized by the view's device
// pixel ratio) and hands their boxes to the view as marks. Points on the hidden side get none.
void DrawWaypointHandles(globe::TVoduz4& view, const TForceCases& cases, int n);

// Draws the handle of case n at `point` highlighted, over the finished picture: a logical pixel
// larger and filled in the case colour.
void DrawHighlightedHandle(globe::TVoduz4& view, const globe::TGeoPoint& point, int n);

}  // namespace scenario
