#include "editor/DragMarkTool.h"

#include <QLabel>
#include <QToolTip>
#include <QWidget>

#include "editor/ShownCase.h"
#include "globe/view/Voduz4.h"
#include "scenario/CaseParser.h"
#include "scenario/MapTooltips.h"
#include "scenario/PositionLine.h"
#include "scenario/WaypointHandles.h"

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

// The store of the shown case that holds the mark's point: waypoints or targets.
globe::TPointStore& StoreOf(TShownCase& shown, const scenario::TRoutePointRef& mark)
{
  const std::size_t c = static_cast<std::size_t>(shown.CaseNumber() - 1);
  scenario::TForceCases& cases = shown.Cases();
  return mark.Kind == scenario::TRouteMark::Target ? cases.CaseTargets[c] : cases.CaseWaypoints[c];
}

}  // namespace

std::optional<TDragMarkTool::TGrab> TDragMarkTool::HandleAt(globe::TVoduz4& view, const TMapMouse& mouse) const
{
  if (shown_.Force() == nullptr) return std::nullopt;
  // The nearest handle whose line can take a position: a start or base handle nearer to the
  // mouse does not keep a waypoint beside it from being taken.
  for (const scenario::TRoutePointRef& mark : scenario::HandlesNear(shown_.Cases(), shown_.CaseNumber(), ViewProjector(view),
                                                                    {mouse.X, mouse.Y}, HitTolerance(view))) {
    const std::optional<int> row = shown_.MarkRow(mark);
    if (row && DraggableLine(shown_.Line(*row))) return TGrab{mark, *row};
  }
  return std::nullopt;
}

bool TDragMarkTool::MousePress(globe::TVoduz4& view, const TMapMouse& mouse)
{
  if (mouse.Button != platform::MouseButton::Left) return false;
  const std::optional<TGrab> grab = HandleAt(view, mouse);
  if (!grab) return false;
  moved_ = false;
  mark_ = grab->Mark;
  row_ = grab->Row;
  hovered_ = mark_;
  CaptureMouse(view, true);
  return true;
}

void TDragMarkTool::MouseMove(globe::TVoduz4& view, const TMapMouse& mouse)
{
  globe::TGeoPoint point;
  if (!view.DeviceXYToLL(mouse.X, mouse.Y, point)) return;
  moved_ = true;
  // The parsed point follows the mouse: the route and its arrival times are drawn from it.
  globe::TPointStore& store = StoreOf(shown_, mark_);
  if (mark_.Index < store.Count()) store.SetPoint(mark_.Index, point);
  view.RedrawGlobe();
  ShowReadout(view, mouse, point);
}

void TDragMarkTool::ShowReadout(globe::TVoduz4& view, const TMapMouse& mouse, const globe::TGeoPoint& point)
{
  const std::string text = scenario::DragReadoutText(scenario::PositionLine(shown_.Line(row_), point), shown_.Legs(),
                                                     mark_, shown_.Timing(), view.Projection(), regional_);
  readout_ = QString::fromStdString(text);
  QString status = readout_;
  readoutPanel_.setText("  " + status.replace('\n', "   "));
  if (auto* widget = dynamic_cast<QWidget*>(view.Host())) {
    const double ratio = view.DevicePixelRatio();
    const QPoint at(static_cast<int>(mouse.X / ratio), static_cast<int>(mouse.Y / ratio));
    QToolTip::showText(widget->mapToGlobal(at), readout_, widget);
  }
}

void TDragMarkTool::Drop(globe::TVoduz4& view)
{
  CaptureMouse(view, false);
  if (dynamic_cast<QWidget*>(view.Host()) != nullptr) QToolTip::hideText();
  readoutPanel_.clear();
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
  // The point goes back under its handle, away from the mouse.
  hovered_.reset();
  Drop(view);
  return true;
}

bool TDragMarkTool::Hover(globe::TVoduz4& view, const TMapMouse& mouse)
{
  const std::optional<TGrab> grab = HandleAt(view, mouse);
  const std::optional<scenario::TRoutePointRef> hovered =
      grab ? std::optional<scenario::TRoutePointRef>(grab->Mark) : std::nullopt;
  if (hovered != hovered_) {
    hovered_ = hovered;
    view.InvalidateWindow();
  }
  return hovered_.has_value();
}

void TDragMarkTool::Unhover(globe::TVoduz4& view)
{
  if (!hovered_) return;
  hovered_.reset();
  view.InvalidateWindow();
}

void TDragMarkTool::Paint(globe::TVoduz4& view)
{
  if (!hovered_ || shown_.Force() == nullptr || hovered_->Kind == scenario::TRouteMark::Start) return;
  const globe::TPointStore& store = StoreOf(shown_, *hovered_);
  if (hovered_->Index < store.Count())
    scenario::DrawHighlightedHandle(view, store.Point(hovered_->Index), shown_.CaseNumber());
}

}  // namespace editor
