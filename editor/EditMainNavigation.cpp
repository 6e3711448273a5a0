// The main window's map navigation: wheel zoom about the cursor, the map's keys, zooming to
// the scenario or the selected force, and the View menu (smooth drawing, legend).
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "editor/EditMain.h"
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
  Zoomtoscenario1 = View1->addAction("Zoom to &scenario");
  Zoomtoscenario1->setObjectName("Zoomtoscenario1");
  Zoomtoscenario1->setToolTip("Zoom to scenario (Home on the map)");
  Smoothdrawing1 = View1->addAction("S&mooth drawing");
  Smoothdrawing1->setObjectName("Smoothdrawing1");
  Smoothdrawing1->setCheckable(true);
  Smoothdrawing1->setChecked(EditorSettings().value(kSmoothDrawingKey, true).toBool());
  Globe->SetAntialiased(Smoothdrawing1->isChecked());
  Legend1 = View1->addAction("&Legend");
  Legend1->setObjectName("Legend1");
  connect(Zoomtoscenario1, &QAction::triggered, this, [this] { ZoomToScenario(); });
  connect(Smoothdrawing1, &QAction::triggered, this, [this] { Smoothdrawing1Click(); });
  connect(Legend1, &QAction::triggered, this, [this] { Legend1Click(); });
}

void TfrmEditMain::Smoothdrawing1Click()
{
  Globe->SetAntialiased(Smoothdrawing1->isChecked());
  EditorSettings().setValue(kSmoothDrawingKey, Smoothdrawing1->isChecked());
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
    case ViewKey::Plus: ZoomInBtnClick(); return true;
    case ViewKey::Minus: ZoomOutBtnClick(); return true;
    case ViewKey::Home: ZoomToScenario(); return true;
    case ViewKey::F: ZoomToSelectedForce(); return true;
    case ViewKey::Escape:
      if (!DraggingMark()) return false;
      CancelMarkDrag();
      return true;
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
