// What the map tells about what is under the mouse: hover tooltips over waypoints and legs, a
// click on a force's mark selects it and a click on a base shows what it is.
#include "editor/CaseLinesModel.h"
#include "editor/ForcesModel.h"
#include <QTimer>
#include <QToolTip>
#include <QTreeView>

#include "editor/CaseEditor.h"
#include "editor/EditMain.h"
#include "editor/MapTools.h"
#include "editor/ShownCase.h"
#include "globe/data/GeoDataObject.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/Base.h"
#include "scenario/DayPhase.h"
#include "scenario/Force.h"
#include "scenario/MapTooltips.h"
#include "scenario/PositionText.h"

namespace editor {

namespace {

// Widget position of a device pixel of the map.
QPoint MapWidgetPoint(const platform::QtViewWidget& map, int x, int y)
{
  const qreal ratio = map.PixelRatio();
  return QPoint(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
}

}  // namespace

void TfrmEditMain::ClickMapObject(int x, int y)
{
  const scenario::TDeviceProjector project = ViewProjector(GlobeMap());
  std::vector<globe::TGeoPoint> forces;
  for (scenario::TForce* force : Scenario().ForceList) forces.push_back(force->GetCentroid());
  if (const auto hit = scenario::NearestPoint(forces, project, {x, y}, HitTolerance(GlobeMap()))) {
    const scenario::TForce* force = Scenario().ForceList[*hit];
    if (force == caseEditor_->SelectedRowForce()) return;
    // One selection change, through the list's own handler.
    lvForces->clearSelection();
    caseEditor_->SelectForceRow(forcesModel_->RowOf(force), false);
    return;
  }
  std::vector<globe::TGeoPoint> bases;
  for (const scenario::TBase* base : Scenario().BaseList) bases.push_back(base->Location);
  if (const auto hit = scenario::NearestPoint(bases, project, {x, y}, HitTolerance(GlobeMap()))) {
    const QString text = QString::fromStdString(scenario::BaseTooltipText(*Scenario().BaseList[*hit]));
    QToolTip::showText(Globe->mapToGlobal(MapWidgetPoint(*Globe, x, y)), text, Globe);
  }
}

void TfrmEditMain::ShowHoverTooltip()
{
  if (tools_->Dragging() || !Globe->underMouse()) return;
  const QString text = RouteTooltipAt(*shownCase_, GlobeMap(), regional_, hoverAt_.X, hoverAt_.Y);
  if (text.isEmpty()) return;
  QToolTip::showText(Globe->mapToGlobal(MapWidgetPoint(*Globe, hoverAt_.X, hoverAt_.Y)), text, Globe);
}

}  // namespace editor
