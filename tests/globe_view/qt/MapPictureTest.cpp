// Whole pictures of the map: an environment holding the Natural Earth land polygons is drawn
// with maprender's renderer and probed at places whose answer (land or sea) is known from the
// map of the world, not from the program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>

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
    maprender::TRenderResult result = maprender::RenderMap(options);
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.MissingFiles, std::vector<std::string>{});
    platform::Bitmap24 bitmap = std::move(result.Bitmap);
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

  static maprender::TMapRenderOptions Options(int32_t width, int32_t height, int32_t altitude,
                                              std::optional<long double> lat = {}, std::optional<long double> lon = {}) {
    maprender::TMapRenderOptions options;
    options.Width = width;
    options.Height = height;
    options.Altitude = altitude;
    options.CenterLatitude = lat;
    options.CenterLongitude = lon;
    return options;
  }

  // The point (degrees) is in view and most pixels round it are land (`land`) or sea.
  static ::testing::AssertionResult Shows(const platform::Bitmap24& bitmap, const maprender::TMapRenderOptions& options,
                                          long double lat, long double lon, bool land) {
    platform::TPoint xy;
    if (!PixelAt(options, lat, lon, xy)) return ::testing::AssertionFailure() << lat << " " << lon << " not in view";
    if (Around(bitmap, xy, land)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << lat << " " << lon << " is not " << (land ? "land" : "sea");
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

  static int SilverCount(const platform::Bitmap24& bitmap) {
    int silver = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) silver += bitmap.Pixel(x, y) == 0xC0C0C0;
    return silver;
  }

  // Distinct colours in a square of the picture.
  static std::size_t ColoursIn(const platform::Bitmap24& bitmap, platform::TPoint centre, int half) {
    std::set<TColor> colours;
    for (int y = centre.Y - half; y <= centre.Y + half; ++y)
      for (int x = centre.X - half; x <= centre.X + half; ++x) colours.insert(bitmap.Pixel(x, y));
    return colours.size();
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
  const maprender::TMapRenderOptions options = Options(400, 400, 0, 20, -10);
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
  for (const Probe& probe : probes) EXPECT_TRUE(Shows(bitmap, options, probe.Lat, probe.Lon, probe.Land));
  // Corners lie outside the disc: background only.
  EXPECT_EQ(bitmap.Pixel(2, 2), kBackground);
  EXPECT_EQ(bitmap.Pixel(397, 397), kBackground);
  EXPECT_EQ(bitmap.Pixel(2, 397), kBackground);
  // The graticule is there: silver pixels on the sea.
  EXPECT_GT(SilverCount(bitmap), 400);
}

// The editor's first view: spherical, altitude 115,911 over the Sahara (the window's centre at
// 23.97 N, 13.80 E, about 15 degrees across): land all round the middle, the Gulf of Sirte in the
// top right corner.
TEST_F(MapPictureTest, EditorInitialViewLooksAtTheSahara) {
  const maprender::TMapRenderOptions options = Options(578, 580, 115'911, 23.9708314814815L, 13.8001296296296L);
  const platform::Bitmap24 bitmap = Render(options, "editor");
  for (const auto& [lat, lon] : {std::pair{24.0L, 14.0L}, {20.0L, 10.0L}, {28.0L, 18.0L}})
    EXPECT_TRUE(Shows(bitmap, options, lat, lon, true));
  platform::TPoint xy;
  ASSERT_TRUE(PixelAt(options, 31.0L, 19.0L, xy));
  ASSERT_GE(xy.X, 0);
  ASSERT_GE(xy.Y, 0);
  EXPECT_TRUE(SeaAround(bitmap, xy));
}

TEST_F(MapPictureTest, FlatModelsShowTheSameWorld) {
  for (const char* model : {"TCartesianPrj", "TMercatorPrj"}) {
    maprender::TMapRenderOptions options = Options(720, 400, 0);
    options.ProjectionClass = model;
    const platform::Bitmap24 bitmap = Render(options, model);
    EXPECT_TRUE(Shows(bitmap, options, 15, 20, true)) << model;
    EXPECT_TRUE(Shows(bitmap, options, 48, 10, true)) << model;  // Germany
    EXPECT_TRUE(Shows(bitmap, options, 30, -40, false)) << model;
    EXPECT_TRUE(Shows(bitmap, options, -60, -150, false)) << model;  // Southern Ocean
    EXPECT_GT(SilverCount(bitmap), 720) << model;  // graticule
  }
}

// The plate carree fitted to 720 x 400: 2 pixels a degree, the world 360 pixels high in the
// middle; the 20 rows above and below it are background.
TEST_F(MapPictureTest, FlatMapLeavesTheRestOfTheWindowEmpty) {
  maprender::TMapRenderOptions options = Options(720, 400, 0);
  options.ProjectionClass = "TCartesianPrj";
  const platform::Bitmap24 bitmap = Render(options, "cartesian_fit");
  for (int x = 0; x < 720; x += 7) {
    EXPECT_EQ(bitmap.Pixel(x, 5), kBackground) << x;
    EXPECT_EQ(bitmap.Pixel(x, 394), kBackground) << x;
  }
  EXPECT_NE(bitmap.Pixel(360, 30), kBackground);
}

// Looking at the Bering Strait: Fiji's and Chukotka's polygons cross the 180-degree meridian.
// Streaks would be land colour drawn across the sea between their two halves.
TEST_F(MapPictureTest, AntiMeridianLandHasNoStreaks) {
  const maprender::TMapRenderOptions options = Options(500, 500, 0, 25, 180);
  const platform::Bitmap24 bitmap = Render(options, "antimeridian");
  EXPECT_TRUE(Shows(bitmap, options, 66, 175, true));     // Chukotka, west of the meridian
  EXPECT_TRUE(Shows(bitmap, options, 67.5, -177, true));  // Chukotka east of it
  // Open Pacific on both sides of the meridian, north and south of Fiji and around Hawaii.
  for (const auto& [lat, lon] : {std::pair{10.0L, 179.5L}, {10.0L, -179.5L}, {-30.0L, 179.5L},
                                 {30.0L, -170.0L}, {0.0L, 170.0L}, {40.0L, 175.0L}})
    EXPECT_TRUE(Shows(bitmap, options, lat, lon, false));
}

// Views of the Pacific whose antipodes lie in Africa and in France: those continents are wholly or
// partly behind the globe and surround the point straight behind its middle. Their outlines,
// pushed onto the horizon, must not fill the disc or a wedge of it.
TEST_F(MapPictureTest, LandBehindTheMiddleOfTheGlobeStaysHidden) {
  struct View {
    long double Lat, Lon;
  };
  for (const View centre : {View{-17, 180}, View{-50, 180}, View{-5, 180}}) {
    const maprender::TMapRenderOptions options = Options(400, 400, 0, centre.Lat, centre.Lon);
    const platform::Bitmap24 bitmap = Render(options, "pacific");
    for (const auto& [lat, lon] : {std::pair{-25.0L, 180.0L}, {0.0L, -170.0L}, {-40.0L, -150.0L},
                                   {-60.0L, 170.0L}, {10.0L, 160.0L}, {30.0L, -160.0L}}) {
      platform::TPoint xy;
      if (!PixelAt(options, lat, lon, xy)) continue;  // behind the globe in this view
      EXPECT_TRUE(SeaAround(bitmap, xy)) << centre.Lat << " " << centre.Lon << ": " << lat << " " << lon;
    }
  }
}

// Close up over Fiji (about 39 pixels a degree): Viti Levu west of the 180-degree meridian, and
// Vanua Levu, whose polygon runs up to the meridian from both sides. A streak would be a band of
// land along their latitudes across the whole window.
TEST_F(MapPictureTest, FijiAcrossTheAntiMeridianWithoutStreaks) {
  const maprender::TMapRenderOptions options = Options(500, 500, 115'911, -17, 180);
  const platform::Bitmap24 bitmap = Render(options, "fiji");
  EXPECT_TRUE(Shows(bitmap, options, -17.8L, 178.0L, true));  // the middle of Viti Levu
  EXPECT_TRUE(Shows(bitmap, options, -16.6L, 179.2L, true));  // Vanua Levu
  platform::TPoint xy;
  for (const auto& [lat, lon] : {std::pair{-16.5L, 175.0L}, {-16.5L, -176.0L}, {-17.8L, 175.0L},
                                 {-17.8L, -176.0L}, {-17.0L, -179.0L}, {-20.0L, 179.5L}}) {
    ASSERT_TRUE(PixelAt(options, lat, lon, xy));
    ASSERT_TRUE(xy.X >= 2 && xy.Y >= 2 && xy.X < 498 && xy.Y < 498) << lat << " " << lon;
    EXPECT_TRUE(SeaAround(bitmap, xy)) << lat << " " << lon;
  }
}

// Smooth drawing blends the coast, land and sea into many shades; the plain picture keeps the
// handful of colours it is drawn in, and both show the same world.
TEST_F(MapPictureTest, AntialiasedCoastsHaveManyColoursThePlainPictureFew) {
  maprender::TMapRenderOptions options = Options(500, 500, 200'000, 36, 18);
  const platform::Bitmap24 plain = Render(options, "plain");
  options.Antialias = true;
  const platform::Bitmap24 smooth = Render(options, "smooth");
  platform::TPoint coast;  // the heel of Italy, on the coast
  ASSERT_TRUE(PixelAt(options, 40.0L, 18.4L, coast));
  EXPECT_LE(ColoursIn(plain, coast, 40), 6u);
  EXPECT_GE(ColoursIn(smooth, coast, 40), 20u);
  for (const auto& [lat, lon, land] : {std::tuple{41.5L, 15.0L, true}, {34.0L, 18.0L, false}, {30.0L, 15.0L, true}}) {
    platform::TPoint xy;
    ASSERT_TRUE(PixelAt(options, lat, lon, xy));
    EXPECT_EQ(LandAround(smooth, xy), land) << lat << " " << lon;
    EXPECT_EQ(LandAround(plain, xy), land) << lat << " " << lon;
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
  const maprender::TRenderResult result = maprender::RenderMap(options);
  EXPECT_EQ(result.Error, "");
  EXPECT_EQ(result.MissingFiles, std::vector<std::string>{});
  const platform::Bitmap24& bitmap = result.Bitmap;
  int land = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) land += bitmap.Pixel(x, y) == 0x00B8E0E8;
  EXPECT_GT(land, 300 * 200 / 20);
}
