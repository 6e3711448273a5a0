// Direct manipulation of the shown case on the map: dragging a waypoint or target mark,
// Shift + click on a leg to insert a waypoint, hover tooltips over waypoints and legs, a click
// on a force's mark to select it and on a base to see what it is.
#include <QListWidget>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include "editor/EditMain.h"
#include "globe/data/GeoDataObject.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/Base.h"
#include "scenario/CaseParser.h"
#include "scenario/DayPhase.h"
#include "scenario/Force.h"
#include "scenario/MapTooltips.h"
#include "scenario/MissionCases.h"
#include "scenario/PositionLine.h"
#include "scenario/PositionText.h"

namespace editor {

namespace {

// The case list's WP= and TP= lines can be dragged; Origin= and Target= name a base.
bool DraggableLine(const std::string& line)
{
  const scenario::TCaseLineKind kind = scenario::ClassifyCaseLine(line);
  return kind == scenario::TCaseLineKind::WP || kind == scenario::TCaseLineKind::TP;
}

}  // namespace

std::vector<scenario::TRouteLeg> TfrmEditMain::ShownLegs() const
{
  if (CurrentForce == nullptr) return {};
  return scenario::RouteLegs(Cases, CurrentCase);
}

scenario::TDeviceProjector TfrmEditMain::MapProjector()
{
  return [this](const globe::TGeoPoint& point, platform::TPoint& xy) {
    return GlobeMap().Projection().PointLLToDeviceXY(point, xy);
  };
}

std::optional<int> TfrmEditMain::RouteMarkRow(const scenario::TRoutePointRef& mark) const
{
  const platform::TextLines lines = CaseListLines();
  if (lines.empty()) return std::nullopt;
  const auto row = scenario::RouteMarkLine(lines, 1, scenario::CaseLinesEnd(lines, 1), mark);
  if (!row) return std::nullopt;
  return static_cast<int>(*row);
}

QPoint TfrmEditMain::MapWidgetPoint(int x, int y) const
{
  const qreal ratio = Globe->PixelRatio();
  return QPoint(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
}

bool TfrmEditMain::GlobeClaimMouseDown(platform::MouseButton button, platform::ShiftState, int x, int y)
{
  pressAt_ = {x, y};
  pressMoved_ = false;
  if (button != platform::MouseButton::Left || MouseMode != mmIdle) return false;
  const scenario::TRouteHit hit = scenario::HitTestRoute(ShownLegs(), MapProjector(), {x, y});
  if (hit.Kind != scenario::TRouteHitKind::Mark) return false;
  const std::optional<int> row = RouteMarkRow(hit.Mark);
  if (!row || !DraggableLine(CaseListLine(*row))) return false;
  drag_ = TMarkDrag{true, false, hit.Mark, *row};
  Globe->SetMouseCapture(true);
  return true;
}

void TfrmEditMain::DragMouseMove(int x, int y)
{
  globe::TGeoPoint point;
  if (!GlobeMap().DeviceXYToLL(x, y, point)) return;
  drag_.Moved = true;
  // The parsed point follows the mouse: the route and its arrival times are drawn from it.
  const std::size_t c = static_cast<std::size_t>(CurrentCase - 1);
  globe::TPointStore& store =
      drag_.Mark.Kind == scenario::TRouteMark::Target ? Cases.CaseTargets[c] : Cases.CaseWaypoints[c];
  if (drag_.Mark.Index < store.Count()) store.SetPoint(drag_.Mark.Index, point);
  GlobeMap().RedrawGlobe();
}

void TfrmEditMain::CancelMarkDrag()
{
  drag_.Active = false;
  Globe->SetMouseCapture(false);
  ReparseCurrentCase();
  GlobeMap().RedrawGlobe();
}

bool TfrmEditMain::DirectMouseUp(platform::MouseButton button, platform::ShiftState shift, int x, int y)
{
  if (drag_.Active) {
    drag_.Active = false;
    Globe->SetMouseCapture(false);
    globe::TGeoPoint point;
    // The parsed case goes back to its lines first: the edit (one undo step) parses it again.
    ReparseCurrentCase();
    GlobeMap().RedrawGlobe();
    if (drag_.Moved && CurrentForce != nullptr && GlobeMap().DeviceXYToLL(x, y, point))
      ReplaceCaseLine(*CurrentForce, CurrentCase, drag_.Row, scenario::PositionLine(CaseListLine(drag_.Row), point),
                      "Move point");
    return true;
  }
  if (button != platform::MouseButton::Left || pressMoved_ || MouseMode != mmIdle) return false;
  if (shift.Shift && !shift.Ctrl && !shift.Alt) {
    InsertWaypointOnLeg(x, y);
    return true;
  }
  if (!shift.Shift && !shift.Ctrl && !shift.Alt) ClickMapObject(x, y);
  return false;
}

void TfrmEditMain::InsertWaypointOnLeg(int x, int y)
{
  const std::vector<scenario::TRouteLeg> legs = ShownLegs();
  const scenario::TRouteHit hit = scenario::HitTestRoute(legs, MapProjector(), {x, y});
  globe::TGeoPoint point;
  if (hit.Kind != scenario::TRouteHitKind::Leg || !GlobeMap().DeviceXYToLL(x, y, point)) return;
  const scenario::TRouteLeg& leg = legs[hit.Leg];
  // The new waypoint goes before the leg's end when that is a waypoint, after the last
  // waypoint on the leg to the first target; legs between targets take none.
  std::optional<int> row;
  if (leg.ToRef.Kind == scenario::TRouteMark::Waypoint) {
    row = RouteMarkRow(leg.ToRef);
  } else if (leg.FromRef.Kind == scenario::TRouteMark::Waypoint) {
    if (const auto last = RouteMarkRow(leg.FromRef)) row = *last + 1;
  }
  if (!row || CurrentForce == nullptr) return;
  InsertCaseLine(*CurrentForce, CurrentCase, *row, "WP=" + scenario::FormatPosition(point, false), "Insert waypoint");
}

void TfrmEditMain::ClickMapObject(int x, int y)
{
  const scenario::TDeviceProjector project = MapProjector();
  std::vector<globe::TGeoPoint> forces;
  for (scenario::TForce* force : scenario_->ForceList) forces.push_back(force->GetCentroid());
  if (const auto hit = scenario::NearestPoint(forces, project, {x, y})) {
    const scenario::TForce* force = scenario_->ForceList[*hit];
    if (force == SelectedRowForce()) return;
    const auto& rows = scenario_->ForcesList.Rows;
    for (int i = 0; i < lvForces->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = lvForces->topLevelItem(i);
      const auto row = item->data(0, Qt::UserRole).toULongLong();
      if (row < rows.size() && rows[row].Force == force) {
        lvForces->clearSelection();  // one selection change, through the list's own handler
        lvForces->setCurrentItem(item);
        return;
      }
    }
    return;
  }
  std::vector<globe::TGeoPoint> bases;
  for (const scenario::TBase* base : scenario_->BaseList) bases.push_back(base->Location);
  if (const auto hit = scenario::NearestPoint(bases, project, {x, y})) {
    const QString text = QString::fromStdString(scenario::BaseTooltipText(*scenario_->BaseList[*hit]));
    QToolTip::showText(Globe->mapToGlobal(MapWidgetPoint(x, y)), text, Globe);
  }
}

QString TfrmEditMain::RouteTooltipAt(int x, int y)
{
  const std::vector<scenario::TRouteLeg> legs = ShownLegs();
  const scenario::TRouteHit hit = scenario::HitTestRoute(legs, MapProjector(), {x, y});
  std::size_t index = hit.Leg;
  if (hit.Kind == scenario::TRouteHitKind::None) return {};
  if (hit.Kind == scenario::TRouteHitKind::Mark) {
    for (index = 0; index < legs.size() && !(legs[index].ToRef == hit.Mark); ++index) {
    }
    if (index == legs.size()) return {};
  }
  scenario::TLegTooltip tip;
  tip.Leg = legs[index];
  if (const auto row = RouteMarkRow(tip.Leg.ToRef)) tip.LineText = CaseListLine(*row);
  tip.Speed = CurrentForce->CurrentSpeed;
  tip.Arrival = scenario::LegArrivalHours(legs, index, Cases.CaseDelay[static_cast<std::size_t>(CurrentCase - 1)], tip.Speed);
  tip.StartTime = scenario_->StartTime;
  tip.OneHour = OneHour;
  if (tip.Arrival)
    tip.Phase = scenario::DayPhase(GlobeMap().Projection(), tip.Leg.To, tip.StartTime + *tip.Arrival * tip.OneHour);
  return QString::fromStdString(scenario::LegTooltipText(tip, regional_));
}

void TfrmEditMain::ShowHoverTooltip()
{
  if (drag_.Active || !Globe->underMouse()) return;
  const QString text = RouteTooltipAt(hoverAt_.X, hoverAt_.Y);
  if (text.isEmpty()) return;
  QToolTip::showText(Globe->mapToGlobal(MapWidgetPoint(hoverAt_.X, hoverAt_.Y)), text, Globe);
}

}  // namespace editor
