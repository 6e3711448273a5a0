// The main window: controls, captions, menus, popups and the commands of the side windows.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenuBar>
#include <filesystem>

#include "editor/AboutEdit.h"
#include "editor/ApplicationCursor.h"
#include "editor/MapZoom.h"
#include "editor/TestForm.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/ScenarioLayers.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

// A fresh window, nothing loaded.
struct MainWindowTest : fixtures::CaseEditingWindowTest {
  // Visible entries of a menu: captions, "-" for separators.
  static QStringList Entries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions())
      if (action->isVisible()) entries << (action->isSeparator() ? "-" : action->text());
    return entries;
  }
};

TEST_F(MainWindowTest, CaptionTooltipsForcesListCaseTabsAndPanels) {
  EXPECT_EQ(window->windowTitle(), "Corvalis scenario editor");
  EXPECT_EQ(window->findChild<platform::QtViewWidget*>("Globe"), window->Globe);
  EXPECT_EQ(window->sbLoad->toolTip(), "Load scenario");
  EXPECT_FALSE(window->stTime->toolTip().isEmpty());
  EXPECT_EQ(window->ZoomInBtn->toolTip(), "Zoom in");
  EXPECT_EQ(window->ZoomInBtn->accessibleDescription(), "Zoom in map display");
  EXPECT_EQ(window->ZoomOutBtn->toolTip(), "Zoom out");
  EXPECT_EQ(window->ZoomOutBtn->accessibleDescription(), "Zoom out map display");
  QTreeWidget* forces = window->lvForces;
  EXPECT_EQ(forces->headerItem()->text(0) + forces->headerItem()->text(1) + forces->headerItem()->text(2),
            "NameSpeedMission");
  ASSERT_EQ(window->tcCasesTabs->count(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(window->tcCasesTabs->tabText(i), QString::number(i + 1));
    EXPECT_TRUE(window->tcCasesTabs->tabToolTip(i).startsWith(QString("Case %1").arg(i + 1)));
  }
  window->resize(983, 679);
  window->show();
  QApplication::processEvents();
  // The last status panel takes the rest of the bar.
  EXPECT_GT(window->StatusPanels[2]->width(), 500);
  window->hide();
}

TEST_F(MainWindowTest, MenuAndPopupEntriesShortcutsAndStates) {
  QStringList menus;
  for (const QAction* action : window->menuBar()->actions())
    if (action->isVisible()) menus << action->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Tools", "&About VRK editor"}));
  EXPECT_EQ(Entries(window->File1), QStringList({"&Open scenario", "-", "&Recent scenarios", "-", "&View ship file",
                                                 "&Save ship file", "-", "E&xit"}));
  EXPECT_FALSE(window->Recent1->isEnabled());  // nothing opened yet in this settings folder
  EXPECT_EQ(Entries(window->View1), QStringList({"Zoom to &scenario", "S&mooth drawing", "&Legend", "-", "&Problems",
                                                 "Show load messages in the panel only"}));
  EXPECT_EQ(Entries(window->Tools1), QStringList({"&Endurance calculator..."}));
  EXPECT_EQ(window->Openscenario1->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(window->Save1->shortcut(), QKeySequence("Ctrl+S"));
  // Undo and Redo name no step and are disabled while there is nothing to undo or redo.
  EXPECT_EQ(Entries(window->Edit2), QStringList({"Undo", "Redo"}));
  EXPECT_FALSE(window->Undo1->isEnabled() || window->Redo1->isEnabled());
  EXPECT_EQ(window->Undo1->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl+Z")}));
  EXPECT_EQ(window->Redo1->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
  EXPECT_TRUE(window->Openscenario1->isEnabled());
  EXPECT_FALSE(window->Viewshipfile1->isEnabled() || window->Save1->isEnabled() || window->Map1->menuAction()->isVisible());
  EXPECT_EQ(Entries(window->Map1), QStringList({"Save environment"}));
  EXPECT_EQ(Entries(window->About2), QStringList({"&About"}));
  EXPECT_EQ(Entries(window->puForces), QStringList({"&Edit force"}));
  // Add case and its separator are there but hidden until the popup decides.
  EXPECT_EQ(Entries(window->puCaseList), QStringList({"Pick point", "Edit", "-", "Delete", "-", "Insert"}));
  EXPECT_EQ(window->puCaseList->actions().at(0), window->Addcase1);
  EXPECT_EQ(window->Addcase1->text(), "Add case");
}

TEST_F(MainWindowTest, FirstShowingSetsOneHourAndOpensTheSplashOnce) {
  OneHour = 0;
  window->SetSplashOnShow(true);
  int splashes = 0;
  auto closeSplash = [&] {
    if (window->dlgAbout->isVisible() && window->dlgAbout->Timer1->isActive()) ++splashes;
    window->dlgAbout->Panel1Click();
  };
  window->show();
  EXPECT_DOUBLE_EQ(OneHour * 24, 1.0);
  QTimer::singleShot(0, closeSplash);
  QApplication::processEvents();
  window->hide();
  window->show();  // not the first showing: no splash
  QApplication::processEvents();
  EXPECT_EQ(splashes, 1);
  EXPECT_FALSE(window->dlgAbout->isVisible());
  window->hide();
}

TEST_F(MainWindowTest, ViewShipFileNeedsASelectedForce) {
  window->Scenario().SideLines[1] = {"NAME=Force K", "SPEED=20"};
  window->Viewshipfile1Click();  // no force: nothing is shown
  EXPECT_EQ(window->frmShowFile->ListBox1->count(), 0);
  globe::TGlobeLayer& tracks = scenario::LayerByNameOrNew(window->GlobeMap(), "TrackingLayer");
  scenario::TForce* force = scenario::TForce::CreateIn(*tracks.ObjectSource());
  force->Side = 1;
  window->CurrentForce = force;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = window->frmShowFile->isVisible();
    window->frmShowFile->Button1->click();
  });
  window->Viewshipfile1Click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(window->frmShowFile->windowTitle(), "Shipfile side 1");
  EXPECT_EQ(window->frmShowFile->ListBox1->count(), 2);
}

TEST_F(MainWindowTest, SaveEnvironmentAsksForAnEnvFileAndWritesTheGlobe) {
  window->SetGlobeView(nullptr);
  window->Saveenvironment1Click();  // no globe view: nothing to save, nothing asked
  EXPECT_TRUE(dialogs->Calls().empty());
  globe::TCustomVoduz4 view;
  window->SetGlobeView(&view);
  const std::string file = (root / "saved.env").string();
  dialogs->QueueSaveFile(file);
  window->Saveenvironment1Click();
  ASSERT_EQ(dialogs->Calls().size(), 1u);
  const platform::SaveFileOptions& options = dialogs->Calls()[0].saveOptions;
  EXPECT_EQ(options.defaultExtension, "env");
  EXPECT_EQ(options.initialFileName, "*.env");
  EXPECT_EQ(options.filter, "Environment files (*.ENV)|*.env");
  EXPECT_NE(fixtures::ReadFile(file).find("<TGlobe"), std::string::npos);
  // A file that cannot be written is reported, not thrown out of the command.
  dialogs->ClearCalls();
  dialogs->QueueSaveFile((root / "missing" / "x.env").string());
  window->Saveenvironment1Click();
  EXPECT_EQ(dialogs->Reports().size(), 1u);
}

TEST_F(MainWindowTest, MapStartsWithTheSphericalViewAndZoomButtonsStepByAFifth) {
  globe::TVoduz4& map = window->GlobeMap();
  EXPECT_EQ(map.Projection().ProjectionClass(), "TSphericalPrj");
  EXPECT_EQ(map.MouseZoomButton, globe::mzbLeft);
  EXPECT_EQ(map.MouseRotateButton, globe::mzbRight);
  // The settings were made for a 579 x 581 map; the window's own size keeps their middle.
  EXPECT_NEAR(static_cast<double>(map.Projection().CenterLatitude()), 23.97, 0.1);
  EXPECT_NEAR(static_cast<double>(map.Projection().CenterLongitude()), 13.80, 0.1);
  // 115,911 x 0.8 = 92,728.8 and x 1.2 = 139,093.2, rounded to the nearest whole altitude.
  map.Projection().SetAltitude(115911);
  window->ZoomInBtn->click();
  EXPECT_EQ(map.Projection().Altitude(), 92729);
  map.Projection().SetAltitude(115911);
  window->ZoomOutBtn->click();
  EXPECT_EQ(map.Projection().Altitude(), 139093);
}

TEST(ApplicationCursor, CrossIsShownOnceAndRestored) {
  ShowCrossCursor();
  ShowCrossCursor();
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
  RestoreNormalCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(CrossCursorShown());
  RestoreNormalCursor();  // nothing to restore
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(MapZoom, ZoomingOutStopsBelowTheLargest32BitAltitude) {
  EXPECT_EQ(ZoomedOutAltitude(1'789'569'705), std::optional<int32_t>(2'147'483'646));
  EXPECT_EQ(ZoomedOutAltitude(1'789'569'706), std::nullopt);  // 2,147,483,647.2
  EXPECT_EQ(ZoomedOutAltitude(2'000'000'000), std::nullopt);
  EXPECT_EQ(ZoomedInAltitude(5), 4);  // 4.0
  EXPECT_EQ(ZoomedInAltitude(10), 8);
}

}  // namespace
}  // namespace editor
