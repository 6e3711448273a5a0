#pragma once
// What of the shown case lies under a window pixel: a waypoint or target mark within a few
// pixels (the nearest wins), else the nearest leg within the same distance. The map's drag,
// insert and hover tooltips ask this; it sees the window only through a projector.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "platform/DeviceGeometry.h"
#include "scenario/RouteLegs.h"

namespace scenario {

// Gives a point's window pixel; false when the point is not visible.
using TDeviceProjector = std::function<bool(const globe::TGeoPoint&, platform::TPoint&)>;

// How near, in pixels, the mouse must be to a mark or leg to hit it.
constexpr int kRouteHitPixels = 6;

enum class TRouteHitKind : std::uint8_t { None, Mark, Leg };

struct TRouteHit {
  TRouteHitKind Kind = TRouteHitKind::None;
  TRoutePointRef Mark;    // for Mark: the waypoint or target
  std::size_t Leg = 0;    // for Leg: its index in the legs
};

// The index of the visible point nearest to `at` within `tolerance` pixels, if any.
std::optional<std::size_t> NearestPoint(std::span<const globe::TGeoPoint> points, const TDeviceProjector& project,
                                        platform::TPoint at, int tolerance = kRouteHitPixels);

TRouteHit HitTestRoute(const std::vector<TRouteLeg>& legs, const TDeviceProjector& project, platform::TPoint at,
                       int tolerance = kRouteHitPixels);

// The great-circle leg as window pixels (visible stretches only, in `segments` pieces).
std::vector<std::vector<platform::TPoint>> LegOnWindow(const TRouteLeg& leg, const TDeviceProjector& project,
                                                       int segments);

}  // namespace scenario
