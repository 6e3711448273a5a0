// The main window's first showing and its own commands end to end, and what it is made of on its
// own: the map's label look, the toolbar's glyphs, the legend, saving the environment, the zoom.
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
#include "editor/MapLegend.h"
#include "editor/MapZoom.h"
#include "editor/SaveEnvironment.h"
#include "editor/TestForm.h"
#include "editor/ToolbarGlyphs.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeProjection.h"
#include "platform/LocalFileSystem.h"
#include "tests/editor/CreteWindowFixture.h"
#include "tests/globe_data/TempFile.h"

namespace editor {
namespace {

using MainWindowTest = fixtures::CreteWindowTest;
using Look = globe::TVoduz4::TLabelLook;

// The number of map objects of a layer of the window's map; -1 when it has no such layer.
int LayerObjects(TfrmEditMain& window, const char* name) {
  const globe::TGlobeLayer* layer = window.GlobeMap().LayerStore().LayerByName(name);
  return layer == nullptr || layer->ObjectSourceIfAny() == nullptr ? -1 : layer->ObjectSourceIfAny()->Count();
}

// The first showing sets one hour and opens the splash once; the spherical view of the whole
// globe, turned to the Mediterranean, shows the program's land and countries before any
// scenario; then the window's own commands: the zoom buttons, the legend, the remembered label
// look, the selected force's ship file and Save environment.
TEST_F(MainWindowTest, FirstShowingShowsTheProgramsWorldAndTheWindowsCommandsWork) {
  OneHour = 0;
  window->SetSplashOnShow(true);
  int splashes = 0;
  auto closeSplash = [&] {
    if (Child<TdlgAbout>("dlgAbout")->isVisible() && Child<TdlgAbout>("dlgAbout")->Timer1->isActive()) ++splashes;
    Child<TdlgAbout>("dlgAbout")->Panel1Click();
  };
  window->resize(900, 700);
  window->show();
  EXPECT_DOUBLE_EQ(OneHour, 1.0 / 24);
  QTimer::singleShot(0, closeSplash);
  QApplication::processEvents();
  window->hide();
  window->show();  // not the first showing: no splash
  QApplication::processEvents();
  EXPECT_EQ(splashes, 1);
  EXPECT_FALSE(Child<TdlgAbout>("dlgAbout")->isVisible());

  globe::TVoduz4& map = window->GlobeMap();
  EXPECT_EQ(map.Projection().ProjectionClass(), "TSphericalPrj");
  EXPECT_GT(LayerObjects(*window, "Land"), 0);
  EXPECT_GT(LayerObjects(*window, "Countries"), 0);
  for (const double longitude : {-60.0, 15.0, 90.0}) {  // the rim at the equator is in the window
    platform::TPoint xy;
    const globe::TGeoPoint point{static_cast<int32_t>(longitude * globe::GlobeUnitsPerDegree), 0, 0};
    ASSERT_TRUE(map.Projection().PointLLToDeviceXY(point, xy)) << longitude;
    EXPECT_TRUE(xy.X >= 0 && xy.X < map.CanvasWidth() && xy.Y >= 0 && xy.Y < map.CanvasHeight()) << longitude;
  }
  window->SetProgramDir(root.string());  // a folder without the world keeps the map as it was
  EXPECT_GT(LayerObjects(*window, "Land"), 0);
  window->SetProgramDir(fixtures::kProgramDir);

  // 115,911 x 0.8 = 92,728.8 and x 1.2 = 139,093.2, rounded to the nearest whole altitude.
  map.Projection().SetAltitude(115911);
  Child<QToolButton>("ZoomInBtn")->click();
  EXPECT_EQ(map.Projection().Altitude(), 92729);
  map.Projection().SetAltitude(115911);
  Child<QToolButton>("ZoomOutBtn")->click();
  EXPECT_EQ(map.Projection().Altitude(), 139093);
  window->Actions()[TCommand::Legend]->trigger();
  ASSERT_NE(window->findChild<QLabel*>("lbLegend"), nullptr);
  EXPECT_TRUE(window->findChild<QLabel*>("lbLegend")->isVisible());
  EXPECT_EQ(window->Actions()[TCommand::ZoomIn]->icon().pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));

  // Readable labels: on at first; off, remembered by a loaded scenario's map and the next window.
  QAction& readable = *window->Actions()[TCommand::ReadableLabels];
  EXPECT_TRUE(readable.isCheckable() && readable.isChecked());
  EXPECT_EQ(map.LabelLook(), (Look{true, true, true}));
  readable.trigger();
  EXPECT_EQ(map.LabelLook(), (Look{false, false, false}));
  EXPECT_FALSE(EditorSettings().value(kReadableLabelsKey).toBool());
  auto bare = std::make_unique<TfrmEditMain>(std::make_unique<platform::testing::ScriptedDialogs>());
  EXPECT_FALSE(bare->Actions()[TCommand::ReadableLabels]->isChecked());
  bare->SetProgramDir(root.string());  // a window on a folder without the world starts empty
  EXPECT_EQ(bare->GlobeMap().LayerStore().Count(), 0);

  window->Actions()[TCommand::ViewShipFile]->trigger();  // no force: nothing is shown
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->ListBox1->count(), 0);
  Load();
  EXPECT_NE(window->GlobeMap().EnvironmentFile().find("Mediterranean.env"), std::string::npos);
  EXPECT_GT(LayerObjects(*window, "Land"), 0);
  EXPECT_EQ(window->GlobeMap().LabelLook(), (Look{false, false, false}));
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

  const std::string file = (root / "saved.env").string();
  dialogs->QueueSaveFile(file);
  window->Actions()[TCommand::SaveEnvironment]->trigger();
  EXPECT_NE(fixtures::ReadFile(file).find("<TGlobe"), std::string::npos);
  window->hide();
}

// A new map takes the remembered look; the look is placed, haloed and legible labels, or none of these.
TEST(ReadableLabelsTest, NewMapsTakeTheRememberedLook) {
  EXPECT_EQ(NewGlobeMap()->LabelLook(), (Look{true, true, true}));
  EditorSettings().setValue(kReadableLabelsKey, false);
  const auto map = NewGlobeMap();
  EXPECT_EQ(map->LabelLook(), (Look{false, false, false}));
  ShowReadableLabels(*map, true);
  EXPECT_EQ(map->LabelLook(), (Look{true, true, true}));
}

TEST(ToolbarGlyphsTest, IconsComeAtOneAndTwiceTheScreensResolution) {
  for (const QIcon& icon : {LoadGlyph(), ZoomInGlyph(), ZoomOutGlyph()}) {
    for (const qreal ratio : {1.0, 2.0}) {
      const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
      EXPECT_EQ(pixmap.size(), QSize(16, 16) * ratio) << ratio;
      EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
    }
  }
}

TEST(MapLegendTest, ExplainsTheHandlesAndShowsTheHaloOnTheSea) {
  const std::unique_ptr<QWidget> legend(CreateMapLegend(nullptr));
  const QLabel* text = legend->findChild<QLabel*>("lbLegend");
  const QLabel* halo = legend->findChild<QLabel*>("lbLegendHalo");
  ASSERT_TRUE(text != nullptr && halo != nullptr);
  EXPECT_FALSE(legend->isVisible());
  EXPECT_TRUE(text->text().contains("Handle of the shown case"));
  // The halo sample is drawn on the map's sea, the colour of the halo itself.
  const QImage sample = halo->pixmap().toImage();
  ASSERT_FALSE(sample.isNull());
  EXPECT_EQ(sample.pixelColor(2, 2), QColor(0xC8, 0xEE, 0xF9));
}

// Nothing is asked without a view; an existing file of exactly the chosen name is replaced only
// when the user agrees, a name that differs from it only in letter case is a new file; a file
// that cannot be written is reported, not thrown out of the command.
TEST(SaveEnvironmentTest, AsksForAnEnvFileAndReplacesAnExistingOneOnlyWhenTheUserAgrees) {
  using platform::testing::DialogKind;
  platform::testing::ScriptedDialogs dialogs;
  platform::LocalFileSystem files;
  globe::testing::TempDir folder;
  globe::TCustomVoduz4 view;
  SaveEnvironmentAs(nullptr, dialogs, files);
  EXPECT_TRUE(dialogs.Calls().empty());
  const std::string file = folder.Write("saved.env", "old");
  for (const platform::DialogAnswer answer : {platform::DialogAnswer::No, platform::DialogAnswer::Yes}) {
    dialogs.ClearCalls();
    dialogs.QueueSaveFile(file);
    dialogs.QueueAnswer(answer);
    SaveEnvironmentAs(&view, dialogs, files);
    EXPECT_EQ(dialogs.Calls().front().saveOptions.filter, "Environment files (*.ENV)|*.env");
    EXPECT_EQ(dialogs.Texts(DialogKind::Confirm), std::vector<std::string>{"Replace the existing file " + file + "?"});
    EXPECT_EQ(fixtures::ReadFile(file) == "old", answer == platform::DialogAnswer::No);
  }
  EXPECT_NE(fixtures::ReadFile(file).find("<TGlobe"), std::string::npos);
  folder.Write("saved.env", "old");
  dialogs.ClearCalls();
  dialogs.QueueSaveFile(folder.File("SAVED.env"));
  SaveEnvironmentAs(&view, dialogs, files);
  EXPECT_TRUE(dialogs.Texts(DialogKind::Confirm).empty());
  EXPECT_EQ(fixtures::ReadFile(file), "old");
  EXPECT_NE(fixtures::ReadFile(folder.File("SAVED.env")).find("<TGlobe"), std::string::npos);
  dialogs.ClearCalls();
  dialogs.QueueSaveFile(folder.File("missing/x.env"));
  SaveEnvironmentAs(&view, dialogs, files);
  EXPECT_EQ(dialogs.Reports().size(), 1u);
}

TEST(MapZoom, ZoomingOutStopsBelowTheLargest32BitAltitude) {
  EXPECT_EQ(ZoomedOutAltitude(1'789'569'705), std::optional<int32_t>(2'147'483'646));
  EXPECT_EQ(ZoomedOutAltitude(1'789'569'706), std::nullopt);  // 2,147,483,647.2
  EXPECT_EQ(ZoomedInAltitude(5), 4);  // 4.0
}

}  // namespace
}  // namespace editor
