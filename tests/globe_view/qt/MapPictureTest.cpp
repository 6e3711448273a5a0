// Whole pictures of the map: an environment holding the Natural Earth land polygons is drawn
// with maprender's renderer and probed at places whose answer (land or sea) is known from the
// map of the world, not from the program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "globe/data/ClassRegistry.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtBitmapImage.h"
#include "tools/maprender/MapRender.h"

namespace globe {
namespace {

// The editor's map: surface colour RGB C8EEF9, graticule in front.
constexpr TColor kSurface = 0xF9EEC8;
constexpr TColor kBackground = 0x000000;

class MapPictureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // One folder per process: test cases run as separate processes in parallel.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("corvalis_map_picture_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    EnvFile = (dir / "land.env").string();
    OutDir = dir.string();
    TVoduz4 view;
    view.SetSaveMetaDataLocation(smdDiscard);  // nothing written beside the test data
    view.SetSurfaceColor(kSurface);
    view.SetGraticuleDrawMode(gdInFront);
    std::unique_ptr<TGlobeObjectSource> reader;
    try {
      reader = CreateGlobeClass<TGlobeObjectSource, TCustomVoduz4*>("TGlobeSHPReader", "TGlobeObjectSource", &view);
    } catch (const std::exception&) {
      return;  // no shapefile reader in this build
    }
    auto* file = dynamic_cast<TGlobeFileReader*>(reader.get());
    ASSERT_NE(file, nullptr);
    TGlobeObjectSource* source = view.AddObjectSource(std::move(reader));
    file->SetFileName(std::string(CORVALIS_TEST_DATA_DIR) + "/ne_110m_land.shp");
    TGlobeLayer* layer = view.LayerStore().NewLayer();
    layer->SetObjectSource(source);
    layer->SetName("Land");
    view.SaveEnvironmentFile(EnvFile);
    HaveReader = true;
  }

  void SetUp() override {
    if (!HaveReader) GTEST_SKIP() << "no shapefile reader";
  }

  platform::Bitmap24 Render(maprender::TMapRenderOptions options, const std::string& name) {
    options.EnvironmentFile = EnvFile;
    std::string error;
    platform::Bitmap24 bitmap = maprender::RenderMap(options, error);
    EXPECT_EQ(error, "");
    platform::WritePng(bitmap, OutDir + "/" + name + ".png");  // for looking at
    return bitmap;
  }

  // The pixel at a geographic point (degrees) of a view set up like the rendered one.
  static bool PixelAt(const maprender::TMapRenderOptions& options, long double lat, long double lon,
                      platform::TPoint& xy) {
    TVoduz4 view;
    view.SetSaveMetaDataLocation(smdDiscard);
    view.SetClientSize(options.Width, options.Height);
    view.SetEnvironmentFile(EnvFile);
    TGlobeProjection& p = view.Projection();
    if (!options.ProjectionClass.empty()) p.SetProjectionClass(options.ProjectionClass);
    if (options.Altitude) p.SetAltitude(*options.Altitude);
    if (options.CenterLatitude) p.SetCenterLatitude(*options.CenterLatitude);
    if (options.CenterLongitude) p.SetCenterLongitude(*options.CenterLongitude);
    return p.LLToDeviceXY(RoundToInt(lon * 5'400'000), RoundToInt(lat * 5'400'000), xy);
  }

  // Land is drawn in the white of the canvas brush; the sea is the surface colour.
  static bool IsLand(TColor c) { return c == 0xFFFFFF; }
  // Most of the 5 x 5 pixels round a point are land / sea (a graticule line or a coast outline
  // may pass through the point itself).
  static bool LandAround(const platform::Bitmap24& bitmap, platform::TPoint xy) { return Around(bitmap, xy, true); }
  static bool SeaAround(const platform::Bitmap24& bitmap, platform::TPoint xy) { return Around(bitmap, xy, false); }
  static bool Around(const platform::Bitmap24& bitmap, platform::TPoint xy, bool land) {
    int count = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        const TColor c = bitmap.Pixel(xy.X + dx, xy.Y + dy);
        count += land ? IsLand(c) : c == kSurface;
      }
    return count > 12;
  }

  static void TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(OutDir, ignored);
  }

  static inline std::string EnvFile, OutDir;
  static inline bool HaveReader = false;
};

// The whole globe, centred between Africa and the Atlantic.
TEST_F(MapPictureTest, SphericalGlobeShowsLandSeaAndNothingOutsideTheDisc) {
  maprender::TMapRenderOptions options;
  options.Width = 400;
  options.Height = 400;
  options.Altitude = 0;
  options.CenterLatitude = 20;
  options.CenterLongitude = -10;
  const platform::Bitmap24 bitmap = Render(options, "sphere");
  struct Probe {
    long double Lat, Lon;
    bool Land;
  };
  const Probe probes[] = {
      {15, 20, true},     // Chad
      {0, 25, true},      // Congo basin
      {48, 10, true},     // Germany
      {40, -4, true},     // Spain
      {30, -40, false},   // the North Atlantic
      {-10, -20, false},  // the South Atlantic
      {35, 18, false},    // the Ionian Sea
  };
  for (const Probe& probe : probes) {
    platform::TPoint xy;
    ASSERT_TRUE(PixelAt(options, probe.Lat, probe.Lon, xy)) << probe.Lat << " " << probe.Lon;
    if (probe.Land)
      EXPECT_TRUE(LandAround(bitmap, xy)) << probe.Lat << " " << probe.Lon;
    else
      EXPECT_TRUE(SeaAround(bitmap, xy)) << probe.Lat << " " << probe.Lon;
  }
  // Corners lie outside the disc: background only.
  EXPECT_EQ(bitmap.Pixel(2, 2), kBackground);
  EXPECT_EQ(bitmap.Pixel(397, 397), kBackground);
  EXPECT_EQ(bitmap.Pixel(2, 397), kBackground);
  // The graticule is there: silver pixels on the sea.
  int silver = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x) silver += bitmap.Pixel(x, y) == 0xC0C0C0;
  EXPECT_GT(silver, 400);
}

// The editor's first view: spherical, altitude 115,911 over the Sahara (the window's centre at
// 23.97 N, 13.80 E, about 15 degrees across): land all round the middle, the Gulf of Sirte in the
// top right corner.
TEST_F(MapPictureTest, EditorInitialViewLooksAtTheSahara) {
  maprender::TMapRenderOptions options;
  options.Width = 578;
  options.Height = 580;
  options.Altitude = 115'911;
  options.CenterLatitude = 23.9708314814815L;
  options.CenterLongitude = 13.8001296296296L;
  const platform::Bitmap24 bitmap = Render(options, "editor");
  platform::TPoint xy;
  for (const auto& [lat, lon] : {std::pair{24.0L, 14.0L}, {20.0L, 10.0L}, {28.0L, 18.0L}}) {
    ASSERT_TRUE(PixelAt(options, lat, lon, xy));
    EXPECT_TRUE(LandAround(bitmap, xy)) << lat << " " << lon;
  }
  ASSERT_TRUE(PixelAt(options, 31.0L, 19.0L, xy));
  ASSERT_GE(xy.X, 0);
  ASSERT_GE(xy.Y, 0);
  EXPECT_TRUE(SeaAround(bitmap, xy));
}

TEST_F(MapPictureTest, FlatModelsShowTheSameWorld) {
  for (const char* model : {"TCartesianPrj", "TMercatorPrj"}) {
    maprender::TMapRenderOptions options;
    options.Width = 720;
    options.Height = 400;
    options.ProjectionClass = model;
    options.Altitude = 0;
    const platform::Bitmap24 bitmap = Render(options, model);
    platform::TPoint xy;
    ASSERT_TRUE(PixelAt(options, 15, 20, xy));
    EXPECT_TRUE(LandAround(bitmap, xy)) << model;
    ASSERT_TRUE(PixelAt(options, 48, 10, xy));  // Germany
    EXPECT_TRUE(LandAround(bitmap, xy)) << model;
    ASSERT_TRUE(PixelAt(options, 30, -40, xy));
    EXPECT_TRUE(SeaAround(bitmap, xy)) << model;
    ASSERT_TRUE(PixelAt(options, -60, -150, xy));  // Southern Ocean
    EXPECT_TRUE(SeaAround(bitmap, xy)) << model;
  }
}

// Looking at the Bering Strait: Fiji's and Chukotka's polygons cross the 180-degree meridian.
// Streaks would be land colour drawn across the sea between their two halves.
TEST_F(MapPictureTest, AntiMeridianLandHasNoStreaks) {
  maprender::TMapRenderOptions options;
  options.Width = 500;
  options.Height = 500;
  options.Altitude = 0;
  options.CenterLatitude = 25;
  options.CenterLongitude = 180;
  const platform::Bitmap24 bitmap = Render(options, "antimeridian");
  platform::TPoint xy;
  ASSERT_TRUE(PixelAt(options, 66, 175, xy));  // Chukotka, west of the meridian
  EXPECT_TRUE(LandAround(bitmap, xy));
  ASSERT_TRUE(PixelAt(options, 67.5, -177, xy));  // Chukotka east of it
  EXPECT_TRUE(LandAround(bitmap, xy));
  // Open Pacific on both sides of the meridian, north and south of Fiji and around Hawaii.
  for (const auto& [lat, lon] : {std::pair{10.0L, 179.5L}, {10.0L, -179.5L}, {-30.0L, 179.5L},
                                 {30.0L, -170.0L}, {0.0L, 170.0L}, {40.0L, 175.0L}}) {
    ASSERT_TRUE(PixelAt(options, lat, lon, xy));
    EXPECT_TRUE(SeaAround(bitmap, xy)) << lat << " " << lon;
  }
}

}  // namespace
}  // namespace globe

// The world map of the program's Data folder, rendered from wherever the test runs: its layer
// files are found beside the environment file and drawn in the land colour it names.
TEST(MapRenderTool, FindsTheLayerFilesBesideTheEnvironment) {
  maprender::TMapRenderOptions options;
  options.EnvironmentFile = std::string(CORVALIS_SOURCE_DIR) + "/data/Data/World.env";
  options.Width = 300;
  options.Height = 200;
  std::string error;
  const platform::Bitmap24 bitmap = maprender::RenderMap(options, error);
  EXPECT_EQ(error, "");
  int land = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) land += bitmap.Pixel(x, y) == 0x00B8E0E8;
  EXPECT_GT(land, 300 * 200 / 20);
}
