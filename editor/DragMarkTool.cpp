#include "editor/DragMarkTool.h"

#include "editor/ShownCase.h"
#include "globe/view/Voduz4.h"
#include "scenario/CaseParser.h"
#include "scenario/PositionLine.h"

namespace editor {

namespace {

// The case list's WP= and TP= lines can be dragged; Origin= and Target= name a base.
bool DraggableLine(const std::string& line)
{
  const scenario::TCaseLineKind kind = scenario::ClassifyCaseLine(line);
  return kind == scenario::TCaseLineKind::WP || kind == scenario::TCaseLineKind::TP;
}

void CaptureMouse(globe::TVoduz4& view, bool on)
{
  if (view.Host() != nullptr) view.Host()->SetMouseCapture(on);
}

}  // namespace

bool TDragMarkTool::MousePress(globe::TVoduz4& view, const TMapMouse& mouse)
{
  if (mouse.Button != platform::MouseButton::Left) return false;
  const scenario::TRouteHit hit = scenario::HitTestRoute(shown_.Legs(), ViewProjector(view), {mouse.X, mouse.Y});
  if (hit.Kind != scenario::TRouteHitKind::Mark) return false;
  const std::optional<int> row = shown_.MarkRow(hit.Mark);
  if (!row || !DraggableLine(shown_.Line(*row))) return false;
  moved_ = false;
  mark_ = hit.Mark;
  row_ = *row;
  CaptureMouse(view, true);
  return true;
}

void TDragMarkTool::MouseMove(globe::TVoduz4& view, const TMapMouse& mouse)
{
  globe::TGeoPoint point;
  if (!view.DeviceXYToLL(mouse.X, mouse.Y, point)) return;
  moved_ = true;
  // The parsed point follows the mouse: the route and its arrival times are drawn from it.
  const std::size_t c = static_cast<std::size_t>(shown_.CaseNumber() - 1);
  scenario::TForceCases& cases = shown_.Cases();
  globe::TPointStore& store =
      mark_.Kind == scenario::TRouteMark::Target ? cases.CaseTargets[c] : cases.CaseWaypoints[c];
  if (mark_.Index < store.Count()) store.SetPoint(mark_.Index, point);
  view.RedrawGlobe();
}

void TDragMarkTool::Drop(globe::TVoduz4& view)
{
  CaptureMouse(view, false);
  shown_.Reparse();
  view.RedrawGlobe();
}

bool TDragMarkTool::MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse)
{
  // The parsed case goes back to its lines first: the edit (one undo step) parses it again.
  Drop(view);
  globe::TGeoPoint point;
  if (moved_ && shown_.Force() != nullptr && view.DeviceXYToLL(mouse.X, mouse.Y, point))
    shown_.ReplaceLine(row_, scenario::PositionLine(shown_.Line(row_), point), "Move point");
  return true;
}

bool TDragMarkTool::KeyDown(globe::TVoduz4& view, platform::ViewKey key)
{
  if (key != platform::ViewKey::Escape) return false;
  Drop(view);
  return true;
}

}  // namespace editor
