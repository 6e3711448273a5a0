// The main window's map navigation: wheel zoom about the cursor, the map's keys, zooming to
// the scenario or the selected force, and the View menu (smooth drawing, legend).
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "editor/EditMain.h"
#include "editor/EditorActions.h"
#include "editor/EditorSettings.h"
#include "editor/MapLegend.h"
#include "editor/MapZoom.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/ViewNavigation.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/ScenarioExtent.h"

namespace editor {

namespace {

// Eighths of a degree in one wheel notch.
constexpr int kWheelNotch = 120;
// The arrow keys turn the globe by this share of the window.
constexpr double kArrowShare = 0.1;
// Free space around what "zoom to" shows, as a share of the window's half size.
constexpr double kZoomMargin = 0.08;
// Where the smooth drawing choice is remembered.
const char* const kSmoothDrawingKey = "View/SmoothDrawing";


}  // namespace

void TfrmEditMain::CreateViewMenu()
{
  View1 = new QMenu("&View", this);
  View1->setObjectName("View1");
  menuBar()->insertMenu(About2->menuAction(), View1);
  const TEditorActions& commands = Actions();
  View1->addAction(commands[TCommand::ZoomToScenario]);
  View1->addAction(commands[TCommand::SmoothDrawing]);
  commands[TCommand::SmoothDrawing]->setChecked(EditorSettings().value(kSmoothDrawingKey, true).toBool());
  Globe->SetAntialiased(commands[TCommand::SmoothDrawing]->isChecked());
  View1->addAction(commands[TCommand::Legend]);
  connect(commands[TCommand::ZoomToScenario], &QAction::triggered, this, [this] { ZoomToScenario(); });
  connect(commands[TCommand::SmoothDrawing], &QAction::triggered, this, [this] { Smoothdrawing1Click(); });
  connect(commands[TCommand::Legend], &QAction::triggered, this, [this] { Legend1Click(); });
}

void TfrmEditMain::Smoothdrawing1Click()
{
  const bool smooth = Actions()[TCommand::SmoothDrawing]->isChecked();
  Globe->SetAntialiased(smooth);
  EditorSettings().setValue(kSmoothDrawingKey, smooth);
  GlobeMap().RedrawGlobe();
}

void TfrmEditMain::Legend1Click()
{
  if (frmLegend == nullptr) frmLegend = CreateMapLegend(this);
  frmLegend->show();
  frmLegend->raise();
}

void TfrmEditMain::GlobeMouseWheel(platform::ShiftState shift, int delta, int x, int y)
{
  wheelRest_ += delta;
  const int notches = wheelRest_ / kWheelNotch;
  wheelRest_ %= kWheelNotch;
  if (notches == 0) return;
  int32_t altitude = GlobeMap().Projection().Altitude();
  for (int i = 0; i < std::abs(notches); ++i) {
    if (notches > 0) {
      altitude = ZoomedInAltitude(altitude, shift.Ctrl ? kFineZoomInStep : kZoomInStep);
    } else if (const auto out = ZoomedOutAltitude(altitude, shift.Ctrl ? kFineZoomOutStep : kZoomOutStep)) {
      altitude = *out;
    }
  }
  if (altitude != GlobeMap().Projection().Altitude()) globe::ZoomAboutPixel(GlobeMap(), altitude, x, y);
}

bool TfrmEditMain::GlobeKeyDown(platform::ViewKey key, platform::ShiftState)
{
  using platform::ViewKey;
  switch (key) {
    case ViewKey::Left: globe::PanByWindowShare(GlobeMap(), -kArrowShare, 0); return true;
    case ViewKey::Right: globe::PanByWindowShare(GlobeMap(), kArrowShare, 0); return true;
    case ViewKey::Up: globe::PanByWindowShare(GlobeMap(), 0, -kArrowShare); return true;
    case ViewKey::Down: globe::PanByWindowShare(GlobeMap(), 0, kArrowShare); return true;
    case ViewKey::Plus: Actions()[TCommand::ZoomIn]->trigger(); return true;
    case ViewKey::Minus: Actions()[TCommand::ZoomOut]->trigger(); return true;
    case ViewKey::Home: Actions()[TCommand::ZoomToScenario]->trigger(); return true;
    case ViewKey::F: ZoomToSelectedForce(); return true;
    default: return false;
  }
}

void TfrmEditMain::ZoomToScenario()
{
  const std::vector<globe::TGeoPoint> points = scenario::ScenarioExtentPoints(*scenario_, GlobeMap());
  globe::ZoomToPoints(GlobeMap(), points, kZoomMargin);
}

void TfrmEditMain::ZoomToSelectedForce()
{
  globe::ZoomToPoints(GlobeMap(), scenario::ForceRoutePoints(CurrentForce, Cases), kZoomMargin);
}

void TfrmEditMain::ShowScenarioIfAway()
{
  showScenarioPending_ = false;
  const std::vector<globe::TGeoPoint> points = scenario::ScenarioExtentPoints(*scenario_, GlobeMap());
  if (!scenario::WindowShowsScenario(GlobeMap().Projection(), GlobeMap().CanvasWidth(), GlobeMap().CanvasHeight(), points))
    globe::ZoomToPoints(GlobeMap(), points, kZoomMargin);
}

}  // namespace editor
