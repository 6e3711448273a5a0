// The main window's map navigation: the View menu (zoom to the scenario, smooth drawing,
// legend), the map's keys and wheel, and the scenario shown after a load.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "editor/EditMain.h"
#include "editor/EditorActions.h"
#include "editor/EditorSettings.h"
#include "editor/MapLegend.h"
#include "editor/MapNavigation.h"
#include "editor/MapTools.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"

namespace editor {

namespace {

// Where the smooth drawing choice is remembered.
const char* const kSmoothDrawingKey = "View/SmoothDrawing";

}  // namespace

void TfrmEditMain::CreateViewMenu()
{
  const TEditorActions& commands = Actions();
  View1 = new QMenu("&View", this);
  View1->setObjectName("View1");
  menuBar()->insertMenu(About2->menuAction(), View1);
  View1->addAction(commands[TCommand::ZoomToScenario]);
  View1->addAction(commands[TCommand::SmoothDrawing]);
  QAction* smooth = commands[TCommand::SmoothDrawing];
  smooth->setChecked(EditorSettings().value(kSmoothDrawingKey, true).toBool());
  Globe->SetAntialiased(smooth->isChecked());
  View1->addAction(commands[TCommand::ReadableLabels]);
  commands[TCommand::ReadableLabels]->setChecked(ReadableLabelsChosen());
  View1->addAction(commands[TCommand::Legend]);
  View1->addAction(commands[TCommand::Timeline]);
  connect(commands[TCommand::ZoomToScenario], &QAction::triggered, this,
          [this] { ZoomToScenario(GlobeMap(), Scenario()); });
  connect(smooth, &QAction::triggered, this, [this, smooth] {
    Globe->SetAntialiased(smooth->isChecked());
    EditorSettings().setValue(kSmoothDrawingKey, smooth->isChecked());
    GlobeMap().RedrawGlobe();
  });
  connect(commands[TCommand::ReadableLabels], &QAction::toggled, this, [this](bool on) {
    EditorSettings().setValue(kReadableLabelsKey, on);
    ShowReadableLabels(GlobeMap(), on);
  });
  connect(commands[TCommand::Legend], &QAction::triggered, this, [this] {
    if (frmLegend == nullptr) frmLegend = CreateMapLegend(this);
    frmLegend->show();
    frmLegend->raise();
  });
  connect(commands[TCommand::ZoomIn], &QAction::triggered, this, [this] { ZoomInStep(GlobeMap()); });
  connect(commands[TCommand::ZoomOut], &QAction::triggered, this, [this] { ZoomOutStep(GlobeMap()); });
  // The keys the map tools leave: arrows turn the globe, + and - zoom, Home shows the scenario,
  // F the selected force's routes.
  tools_->OnKeyDown = [this](platform::ViewKey key, platform::ShiftState) {
    using platform::ViewKey;
    switch (key) {
      case ViewKey::Plus: Actions()[TCommand::ZoomIn]->trigger(); return true;
      case ViewKey::Minus: Actions()[TCommand::ZoomOut]->trigger(); return true;
      case ViewKey::Home: Actions()[TCommand::ZoomToScenario]->trigger(); return true;
      case ViewKey::F: ZoomToForce(GlobeMap(), document_->Document().CurrentForce(), edit_.Cases); return true;
      default: return PanByArrowKey(GlobeMap(), key);
    }
  };
}

void TfrmEditMain::ShowScenarioIfAway()
{
  showScenarioPending_ = false;
  editor::ShowScenarioIfAway(GlobeMap(), Scenario());
}

}  // namespace editor
