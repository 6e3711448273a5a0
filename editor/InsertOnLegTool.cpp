#include "editor/InsertOnLegTool.h"

#include "editor/ShownCase.h"
#include "globe/view/Voduz4.h"
#include "scenario/PositionText.h"

namespace editor {

bool TInsertOnLegTool::MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse)
{
  const std::vector<scenario::TRouteLeg> legs = shown_.Legs();
  const scenario::TRouteHit hit = scenario::HitTestRoute(legs, ViewProjector(view), {mouse.X, mouse.Y}, HitTolerance(view));
  globe::TGeoPoint point;
  if (hit.Kind != scenario::TRouteHitKind::Leg || !view.DeviceXYToLL(mouse.X, mouse.Y, point)) return true;
  const scenario::TRouteLeg& leg = legs[hit.Leg];
  std::optional<int> row;
  if (leg.ToRef.Kind == scenario::TRouteMark::Waypoint) {
    row = shown_.MarkRow(leg.ToRef);
  } else if (leg.FromRef.Kind == scenario::TRouteMark::Waypoint) {
    if (const auto last = shown_.MarkRow(leg.FromRef)) row = *last + 1;
  }
  if (!row || shown_.Force() == nullptr) return true;
  shown_.InsertLine(*row, "WP=" + scenario::FormatPosition(point, false), "Insert waypoint");
  return true;
}

}  // namespace editor
