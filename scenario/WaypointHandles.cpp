#include "scenario/WaypointHandles.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "scenario/RouteDrawing.h"

namespace scenario {

namespace {

// Draws handle boxes of half side `half` (logical pixels) at the visible points, filled with
// `fill`, outlined in the case colour; the canvas pen and brush are kept. Handles drawn with the
// picture are marks for its labels; one drawn over the finished picture is not.
template <typename Each>
void DrawHandles(globe::TVoduz4& view, int n, int half, platform::TColor fill, bool mark, Each&& eachPoint)
{
  globe::TGlobeCanvas& canvas = view.Canvas();
  const platform::Pen savedPen = canvas.CanvasState().CurrentPen;
  const platform::Brush savedBrush = canvas.CanvasState().CurrentBrush;
  platform::Pen pen;
  pen.Color = CaseColour(n);
  pen.Style = platform::psSolid;
  pen.Width = view.DevicePixels(1);
  canvas.SetPen(pen);
  canvas.SetBrush(platform::Brush{platform::BrushKind::Solid, fill});
  const int device = view.DevicePixels(half);
  eachPoint([&](const globe::TGeoPoint& point) {
    platform::TPoint at;
    if (!view.Projection().PointLLToDeviceXY(point, at)) return;
    const platform::TRect box = HandleBox(at, device);
    canvas.Surface().Rectangle(box);
    if (mark) view.MarkDrawn(box);
  });
  canvas.SetPen(savedPen);
  canvas.SetBrush(savedBrush);
}

}  // namespace

platform::TRect HandleBox(platform::TPoint at, int half)
{
  return platform::TRect{at.X - half, at.Y - half, at.X + half + 1, at.Y + half + 1};
}

std::vector<TRouteHandle> RouteHandles(const TForceCases& cases, int n)
{
  std::vector<TRouteHandle> handles;
  if (n < 1 || n > kCaseCount) return handles;
  const auto i = static_cast<std::size_t>(n - 1);
  // A start at latitude 0 is no start (the case has none).
  if (cases.CaseStart[i].LatY != 0 || cases.CaseStart[i].LongX != 0) handles.push_back({cases.CaseStart[i], {}});
  for (const auto& [store, kind] : {std::pair{&cases.CaseWaypoints[i], TRouteMark::Waypoint},
                                    std::pair{&cases.CaseTargets[i], TRouteMark::Target}})
    for (std::int32_t j = 0; j < store->Count(); ++j) handles.push_back({store->Point(j), {kind, j}});
  return handles;
}

std::vector<TRoutePointRef> HandlesNear(const TForceCases& cases, int n, const TDeviceProjector& project,
                                        platform::TPoint at, int tolerance)
{
  std::vector<std::pair<std::int64_t, TRoutePointRef>> near;
  const std::int64_t reach = std::int64_t{tolerance} * tolerance;
  for (const TRouteHandle& handle : RouteHandles(cases, n)) {
    platform::TPoint xy;
    if (!project(handle.At, xy)) continue;
    const std::int64_t dx = std::int64_t{xy.X} - at.X, dy = std::int64_t{xy.Y} - at.Y;
    if (dx * dx + dy * dy <= reach) near.emplace_back(dx * dx + dy * dy, handle.Ref);
  }
  std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TRoutePointRef> refs;
  for (const auto& entry : near) refs.push_back(entry.second);
  return refs;
}

void DrawWaypointHandles(globe::TVoduz4& view, const TForceCases& cases, int n)
{
  DrawHandles(view, n, kHandleHalfSide, platform::clWhite, true, [&](const auto& draw) {
    for (const TRouteHandle& handle : RouteHandles(cases, n)) draw(handle.At);
  });
}

void DrawHighlightedHandle(globe::TVoduz4& view, const globe::TGeoPoint& point, int n)
{
  DrawHandles(view, n, kHandleHalfSide + 1, CaseColour(n), false, [&](const auto& draw) { draw(point); });
}

}  // namespace scenario
