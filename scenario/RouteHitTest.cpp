#include "scenario/RouteHitTest.h"

#include <algorithm>
#include <limits>

#include "globe/data/Geodesy.h"

namespace scenario {

namespace {

// Pieces a leg is cut into for its distance from the mouse: fine enough that a bent great
// circle stays within a pixel on the usual scales.
constexpr int kLegSegments = 32;

std::int64_t SquaredDistance(platform::TPoint a, platform::TPoint b)
{
  const std::int64_t dx = std::int64_t{a.X} - b.X, dy = std::int64_t{a.Y} - b.Y;
  return dx * dx + dy * dy;
}

// Squared distance from p to the segment a-b, in pixels.
double SquaredDistanceToSegment(platform::TPoint p, platform::TPoint a, platform::TPoint b)
{
  const double abx = double(b.X) - a.X, aby = double(b.Y) - a.Y;
  const double apx = double(p.X) - a.X, apy = double(p.Y) - a.Y;
  const double length = abx * abx + aby * aby;
  const double t = length > 0 ? std::clamp((apx * abx + apy * aby) / length, 0.0, 1.0) : 0.0;
  const double dx = apx - t * abx, dy = apy - t * aby;
  return dx * dx + dy * dy;
}

}  // namespace

std::vector<std::vector<platform::TPoint>> LegOnWindow(const TRouteLeg& leg, const TDeviceProjector& project,
                                                       int segments)
{
  std::vector<std::vector<platform::TPoint>> pieces(1);
  const std::int32_t distance = globe::GreatCircleDistance(leg.From, leg.To);
  const std::int32_t bearing = globe::InitialBearing(leg.From, leg.To);
  for (int k = 0; k <= segments; ++k) {
    const globe::TGeoPoint point =
        k == 0 ? leg.From
               : k == segments ? leg.To
                               : globe::DestinationPoint(leg.From, bearing,
                                                         static_cast<std::int32_t>(std::int64_t{distance} * k / segments));
    platform::TPoint xy;
    if (project(point, xy)) {
      pieces.back().push_back(xy);
    } else if (!pieces.back().empty()) {
      pieces.emplace_back();
    }
  }
  if (pieces.back().empty()) pieces.pop_back();
  return pieces;
}

std::optional<std::size_t> NearestPoint(std::span<const globe::TGeoPoint> points, const TDeviceProjector& project,
                                        platform::TPoint at, int tolerance)
{
  std::optional<std::size_t> nearest;
  std::int64_t best = std::int64_t{tolerance} * tolerance;
  for (std::size_t i = 0; i < points.size(); ++i) {
    platform::TPoint xy;
    if (!project(points[i], xy)) continue;
    const std::int64_t d = SquaredDistance(xy, at);
    if (d <= best && (!nearest || d < best)) {
      best = d;
      nearest = i;
    }
  }
  return nearest;
}

TRouteHit HitTestRoute(const std::vector<TRouteLeg>& legs, const TDeviceProjector& project, platform::TPoint at,
                       int tolerance)
{
  std::vector<globe::TGeoPoint> ends;
  for (const TRouteLeg& leg : legs) ends.push_back(leg.To);
  // Marks first: the end of every leg (the start is not a mark of the case's lines).
  if (const auto mark = NearestPoint(ends, project, at, tolerance))
    return TRouteHit{TRouteHitKind::Mark, legs[*mark].ToRef, 0};
  TRouteHit hit;
  const std::int64_t reach = std::int64_t{tolerance} * tolerance;
  double nearest = static_cast<double>(reach);
  for (std::size_t i = 0; i < legs.size(); ++i) {
    for (const auto& piece : LegOnWindow(legs[i], project, kLegSegments)) {
      for (std::size_t k = 0; k < piece.size(); ++k) {
        const platform::TPoint b = piece[k];
        const platform::TPoint a = k == 0 ? b : piece[k - 1];
        const double d = SquaredDistanceToSegment(at, a, b);
        if (d <= nearest) {
          nearest = d;
          hit = TRouteHit{TRouteHitKind::Leg, {}, i};
        }
      }
    }
  }
  return hit;
}

}  // namespace scenario
