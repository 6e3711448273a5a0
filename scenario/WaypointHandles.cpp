#include "scenario/WaypointHandles.h"

#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "scenario/RouteDrawing.h"

namespace scenario {

platform::TRect HandleBox(platform::TPoint at, int half)
{
  return platform::TRect{at.X - half, at.Y - half, at.X + half + 1, at.Y + half + 1};
}

std::vector<globe::TGeoPoint> HandlePoints(const TForceCases& cases, int n)
{
  std::vector<globe::TGeoPoint> points;
  if (n < 1 || n > kCaseCount) return points;
  const auto i = static_cast<std::size_t>(n - 1);
  // A start at latitude 0 is no start (the case has none).
  if (cases.CaseStart[i].LatY != 0 || cases.CaseStart[i].LongX != 0) points.push_back(cases.CaseStart[i]);
  for (const globe::TPointStore* store : {&cases.CaseWaypoints[i], &cases.CaseTargets[i]})
    for (int32_t j = 0; j < store->Count(); ++j) points.push_back(store->Point(j));
  return points;
}

void DrawWaypointHandles(globe::TVoduz4& view, const TForceCases& cases, int n)
{
  globe::TGlobeCanvas& canvas = view.Canvas();
  const platform::Pen savedPen = canvas.CanvasState().CurrentPen;
  const platform::Brush savedBrush = canvas.CanvasState().CurrentBrush;
  platform::Pen pen;
  pen.Color = CaseColour(n);
  pen.Style = platform::psSolid;
  pen.Width = view.DevicePixels(1);
  canvas.SetPen(pen);
  canvas.SetBrush(platform::Brush{platform::BrushKind::Solid, platform::clWhite});
  const int half = view.DevicePixels(kHandleHalfSide);
  for (const globe::TGeoPoint& point : HandlePoints(cases, n)) {
    platform::TPoint at;
    if (!view.Projection().PointLLToDeviceXY(point, at)) continue;
    const platform::TRect box = HandleBox(at, half);
    canvas.Surface().Rectangle(box);
    view.MarkDrawn(box);
  }
  canvas.SetPen(savedPen);
  canvas.SetBrush(savedBrush);
}

}  // namespace scenario
