// The main window: the first showing, the commands of the side windows and the map's zoom.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>
#include <QListWidget>
#include <QImage>
#include <QLabel>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>

#include "editor/AboutEdit.h"
#include "editor/EditorSettings.h"
#include "editor/MapZoom.h"
#include "editor/TestForm.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeProjection.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using MainWindowTest = fixtures::CaseEditingWindowTest;

TEST_F(MainWindowTest, FirstShowingSetsOneHourAndOpensTheSplashOnce) {
  OneHour = 0;
  window->SetSplashOnShow(true);
  int splashes = 0;
  auto closeSplash = [&] {
    if (Child<TdlgAbout>("dlgAbout")->isVisible() && Child<TdlgAbout>("dlgAbout")->Timer1->isActive()) ++splashes;
    Child<TdlgAbout>("dlgAbout")->Panel1Click();
  };
  window->show();
  EXPECT_DOUBLE_EQ(OneHour, 1.0 / 24);
  QTimer::singleShot(0, closeSplash);
  QApplication::processEvents();
  window->hide();
  window->show();  // not the first showing: no splash
  QApplication::processEvents();
  EXPECT_EQ(splashes, 1);
  EXPECT_FALSE(Child<TdlgAbout>("dlgAbout")->isVisible());
  window->hide();
}

TEST_F(MainWindowTest, ViewShipFileNeedsASelectedForce) {
  window->Actions()[TCommand::ViewShipFile]->trigger();  // no force: nothing is shown
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->ListBox1->count(), 0);
  Load();
  SelectForce("Force A1");
  int shownLines = -1;
  QTimer::singleShot(0, [&] {
    shownLines = Child<TfrmShowFile>("frmShowFile")->isVisible() ? Child<TfrmShowFile>("frmShowFile")->ListBox1->count() : -2;
    Child<TfrmShowFile>("frmShowFile")->Button1->click();
  });
  window->Actions()[TCommand::ViewShipFile]->trigger();
  EXPECT_EQ(shownLines, static_cast<int>(window->Scenario().SideLines[1].size()));
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->windowTitle(), "Shipfile side 1");
  Child<TfrmShowFile>("frmShowFile")->ShowLines(0, {"NAME=Axis 1"});  // a second showing replaces the list
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->ListBox1->count(), 1);
}

TEST_F(MainWindowTest, SaveEnvironmentAsksForAnEnvFileAndWritesTheGlobe) {
  window->SetGlobeView(nullptr);
  window->Actions()[TCommand::SaveEnvironment]->trigger();  // no globe view: nothing to save, nothing asked
  EXPECT_TRUE(dialogs->Calls().empty());
  globe::TCustomVoduz4 view;
  window->SetGlobeView(&view);
  const std::string file = (root / "saved.env").string();
  dialogs->QueueSaveFile(file);
  window->Actions()[TCommand::SaveEnvironment]->trigger();
  ASSERT_EQ(dialogs->Calls().size(), 1u);
  EXPECT_EQ(dialogs->Calls()[0].saveOptions.filter, "Environment files (*.ENV)|*.env");
  EXPECT_NE(fixtures::ReadFile(file).find("<TGlobe"), std::string::npos);
  // An existing file of exactly the chosen name is replaced only when the user agrees; a name
  // that differs from it only in letter case is a new file, asked about by nobody.
  std::ofstream(file, std::ios::binary) << "old";
  using platform::testing::DialogKind;
  for (const platform::DialogAnswer answer : {platform::DialogAnswer::No, platform::DialogAnswer::Yes}) {
    dialogs->ClearCalls();
    dialogs->QueueSaveFile(file);
    dialogs->QueueAnswer(answer);
    window->Actions()[TCommand::SaveEnvironment]->trigger();
    EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), std::vector<std::string>{"Replace the existing file " + file + "?"});
    EXPECT_EQ(fixtures::ReadFile(file) == "old", answer == platform::DialogAnswer::No);
  }
  std::ofstream(file, std::ios::binary) << "old";
  dialogs->ClearCalls();
  dialogs->QueueSaveFile((root / "SAVED.env").string());
  window->Actions()[TCommand::SaveEnvironment]->trigger();
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
  EXPECT_EQ(fixtures::ReadFile(file), "old");
  EXPECT_NE(fixtures::ReadFile(root / "SAVED.env").find("<TGlobe"), std::string::npos);
  // A file that cannot be written is reported, not thrown out of the command.
  dialogs->ClearCalls();
  dialogs->QueueSaveFile((root / "missing" / "x.env").string());
  window->Actions()[TCommand::SaveEnvironment]->trigger();
  EXPECT_EQ(dialogs->Reports().size(), 1u);
}

TEST_F(MainWindowTest, MapStartsWithTheSphericalViewAndZoomButtonsStepByAFifth) {
  globe::TVoduz4& map = window->GlobeMap();
  EXPECT_EQ(map.Projection().ProjectionClass(), "TSphericalPrj");
  // 115,911 x 0.8 = 92,728.8 and x 1.2 = 139,093.2, rounded to the nearest whole altitude.
  map.Projection().SetAltitude(115911);
  Child<QToolButton>("ZoomInBtn")->click();
  EXPECT_EQ(map.Projection().Altitude(), 92729);
  map.Projection().SetAltitude(115911);
  Child<QToolButton>("ZoomOutBtn")->click();
  EXPECT_EQ(map.Projection().Altitude(), 139093);
}

// The number of map objects of a layer of the window's map; -1 when it has no such layer.
int LayerObjects(TfrmEditMain& window, const char* name) {
  const globe::TGlobeLayer* layer = window.GlobeMap().LayerStore().LayerByName(name);
  return layer == nullptr || layer->ObjectSourceIfAny() == nullptr ? -1 : layer->ObjectSourceIfAny()->Count();
}

TEST_F(MainWindowTest, BeforeAnyScenarioTheMapShowsTheProgramsLandAndCountries) {
  EXPECT_GT(LayerObjects(*window, "Land"), 0);
  EXPECT_GT(LayerObjects(*window, "Countries"), 0);
  // The whole globe, turned to the Mediterranean: its rim points at the equator are in the window.
  window->resize(900, 700);
  QCoreApplication::processEvents();
  globe::TVoduz4& map = window->GlobeMap();
  for (const double longitude : {-60.0, 15.0, 90.0}) {
    platform::TPoint xy;
    const globe::TGeoPoint point{static_cast<int32_t>(longitude * globe::GlobeUnitsPerDegree), 0, 0};
    ASSERT_TRUE(map.Projection().PointLLToDeviceXY(point, xy)) << longitude;
    EXPECT_TRUE(xy.X >= 0 && xy.X < map.CanvasWidth() && xy.Y >= 0 && xy.Y < map.CanvasHeight()) << longitude;
  }
  // A program folder without the world keeps the map as it was; a loaded scenario shows its own.
  window->SetProgramDir(root.string());
  EXPECT_GT(LayerObjects(*window, "Land"), 0);
  auto bare = std::make_unique<TfrmEditMain>(std::make_unique<platform::testing::ScriptedDialogs>());
  bare->SetProgramDir(root.string());
  EXPECT_EQ(bare->GlobeMap().LayerStore().Count(), 0);
  window->SetProgramDir(fixtures::kProgramDir);
  Load();
  EXPECT_NE(window->GlobeMap().EnvironmentFile().find("Mediterranean.env"), std::string::npos);
  EXPECT_GT(LayerObjects(*window, "Land"), 0);
}

TEST_F(MainWindowTest, ReadableLabelsIsARememberedViewOptionOfTheLabelLook) {
  using Look = globe::TVoduz4::TLabelLook;
  QAction& readable = *window->Actions()[TCommand::ReadableLabels];
  ASSERT_TRUE(readable.isCheckable());
  EXPECT_TRUE(readable.isChecked());
  EXPECT_EQ(window->GlobeMap().LabelLook(), (Look{true, true, true}));
  readable.trigger();
  EXPECT_FALSE(readable.isChecked());
  EXPECT_EQ(window->GlobeMap().LabelLook(), (Look{false, false, false}));
  // Remembered: a loaded scenario's new map and the next window keep the plain look.
  Load();
  EXPECT_EQ(window->GlobeMap().LabelLook(), (Look{false, false, false}));
  platform::testing::ScriptedDialogs* otherDialogs = nullptr;
  auto next = NewWindow(otherDialogs);
  EXPECT_FALSE(next->Actions()[TCommand::ReadableLabels]->isChecked());
  EXPECT_EQ(next->GlobeMap().LabelLook(), (Look{false, false, false}));
  next->Actions()[TCommand::ReadableLabels]->trigger();
  EXPECT_EQ(next->GlobeMap().LabelLook(), (Look{true, true, true}));
  EXPECT_TRUE(EditorSettings().value(kReadableLabelsKey).toBool());
}

TEST_F(MainWindowTest, ToolbarIconsComeAtOneAndTwiceTheScreensResolution) {
  for (const TCommand command : {TCommand::Open, TCommand::ZoomIn, TCommand::ZoomOut}) {
    const QIcon icon = window->Actions()[command]->icon();
    for (const qreal ratio : {1.0, 2.0}) {
      const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
      EXPECT_EQ(pixmap.size(), QSize(16, 16) * ratio) << static_cast<int>(command) << " at " << ratio;
      EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
    }
  }
}

TEST_F(MainWindowTest, LegendExplainsTheHandlesAndShowsTheHalo) {
  window->Actions()[TCommand::Legend]->trigger();
  const QLabel* text = window->findChild<QLabel*>("lbLegend");
  const QLabel* halo = window->findChild<QLabel*>("lbLegendHalo");
  ASSERT_TRUE(text != nullptr && halo != nullptr);
  EXPECT_TRUE(text->text().contains("Handle of the shown case"));
  // The halo sample is drawn on the map's sea, the colour of the halo itself.
  const QImage sample = halo->pixmap().toImage();
  ASSERT_FALSE(sample.isNull());
  EXPECT_EQ(sample.pixelColor(2, 2), QColor(0xC8, 0xEE, 0xF9));
}

TEST(MapZoom, ZoomingOutStopsBelowTheLargest32BitAltitude) {
  EXPECT_EQ(ZoomedOutAltitude(1'789'569'705), std::optional<int32_t>(2'147'483'646));
  EXPECT_EQ(ZoomedOutAltitude(1'789'569'706), std::nullopt);  // 2,147,483,647.2
  EXPECT_EQ(ZoomedInAltitude(5), 4);  // 4.0
}

}  // namespace
}  // namespace editor
