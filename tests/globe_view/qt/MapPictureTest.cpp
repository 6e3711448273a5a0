// Whole pictures of the map: an environment holding the Natural Earth land polygons is drawn
// with maprender's renderer and probed at places whose answer (land or sea) is known from the
// map of the world, not from the program.
#include <gtest/gtest.h>

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

// The editor's map: surface colour RGB C8EEF9, graticule in front; land in the white of the
// canvas brush.
constexpr TColor kSurface = 0xF9EEC8;
constexpr TColor kLand = 0xFFFFFF;
constexpr TColor kBackground = 0x000000;

// A place (degrees) and whether it is land.
struct Place {
  long double Lat, Lon;
  bool Land;
};

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
      reader = CreateGlobeClass<TGlobeObjectSource, TGlobeHost*>("TGlobeSHPReader", "TGlobeObjectSource", &view);
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
  static void TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(OutDir, ignored);
  }
  void SetUp() override {
    if (!HaveReader) GTEST_SKIP() << "no shapefile reader";
  }
  // Renders a `width` x `height` picture at `altitude` (0: fitted), centred where given.
  platform::Bitmap24 Render(const std::string& name, int32_t width, int32_t height, int32_t altitude,
                            std::optional<long double> lat = {}, std::optional<long double> lon = {},
                            const std::string& model = "") {
    options = maprender::TMapRenderOptions{};
    options.EnvironmentFile = EnvFile;
    options.Width = width;
    options.Height = height;
    options.Altitude = altitude;
    options.CenterLatitude = lat;
    options.CenterLongitude = lon;
    options.ProjectionClass = model;
    return Render(name);
  }
  platform::Bitmap24 Render(const std::string& name) {
    maprender::TRenderResult result = maprender::RenderMap(options);
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.MissingFiles, std::vector<std::string>{});
    platform::WritePng(result.Bitmap, OutDir + "/" + name + ".png");  // for looking at
    return std::move(result.Bitmap);
  }
  // The pixel at a geographic point (degrees) of a view set up like the last rendered one.
  bool PixelAt(long double lat, long double lon, platform::TPoint& xy) const {
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
  // The place is in the picture and most of the 5 x 5 pixels round it are land or sea as it says (a
  // graticule line or a coast outline may pass through the point itself).
  ::testing::AssertionResult Shows(const platform::Bitmap24& bitmap, Place place) const {
    platform::TPoint xy;
    if (!PixelAt(place.Lat, place.Lon, xy) || xy.X < 2 || xy.Y < 2 || xy.X + 2 >= bitmap.Width() || xy.Y + 2 >= bitmap.Height())
      return ::testing::AssertionFailure() << place.Lat << " " << place.Lon << " not in view";
    if (Around(bitmap, xy, place.Land)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << place.Lat << " " << place.Lon << " is not " << (place.Land ? "land" : "sea");
  }
  static bool Around(const platform::Bitmap24& bitmap, platform::TPoint xy, bool land) {
    int count = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) count += bitmap.Pixel(xy.X + dx, xy.Y + dy) == (land ? kLand : kSurface);
    return count > 12;
  }
  static int Count(const platform::Bitmap24& bitmap, TColor colour) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.Pixel(x, y) == colour;
    return count;
  }
  maprender::TMapRenderOptions options;
  static inline std::string EnvFile, OutDir;
  static inline bool HaveReader = false;
};

// Views whose places are known to be land or sea: the whole globe between Africa and the
// Atlantic; the editor's first view (altitude 115,911 over the Sahara, about 15 degrees across,
// the Gulf of Sirte in its top right corner); the flat models fitted to the window; the Bering
// Strait, where Fiji's and Chukotka's polygons cross the 180-degree meridian; and close up over
// Fiji (about 39 pixels a degree): Viti Levu west of that meridian and Vanua Levu, whose polygon
// runs up to it from both sides. A streak would be land colour drawn across the sea between the
// two halves of such a polygon, along their latitudes across the whole window. Last, views of the
// Pacific whose antipodes lie in Africa and in France: the outlines of those continents, pushed
// onto the horizon, must not fill the disc or a wedge of it.
TEST_F(MapPictureTest, KnownPlacesAreLandOrSea) {
  const struct {
    const char* Name;
    int32_t Width, Height, Altitude;
    std::optional<long double> Lat, Lon;
    const char* Model;
    std::vector<Place> Places;
  } views[] = {
      {"sphere", 400, 400, 0, 20, -10, "",
       {{15, 20, true}, {0, 25, true}, {48, 10, true}, {40, -4, true},  // Chad, Congo, Germany, Spain
        {30, -40, false}, {-10, -20, false}, {35, 18, false}}},  // the North and South Atlantic, the Ionian Sea
      {"editor", 578, 580, 115'911, 23.9708314814815L, 13.8001296296296L, "",
       {{24, 14, true}, {20, 10, true}, {28, 18, true}, {31, 19, false}}},
      {"cartesian", 720, 400, 0, {}, {}, "TCartesianPrj",
       {{15, 20, true}, {48, 10, true}, {30, -40, false}, {-60, -150, false}}},  // ... the Southern Ocean
      {"mercator", 720, 400, 0, {}, {}, "TMercatorPrj", {{15, 20, true}, {48, 10, true}, {30, -40, false}, {-60, -150, false}}},
      {"antimeridian", 500, 500, 0, 25, 180, "",
       {{66, 175, true}, {67.5, -177, true},  // Chukotka both sides of the meridian; open Pacific
        {10, 179.5, false}, {10, -179.5, false}, {-30, 179.5, false}, {30, -170, false}, {0, 170, false}, {40, 175, false}}},
      {"fiji", 500, 500, 115'911, -17, 180, "",
       {{-17.8L, 178.0L, true}, {-16.6L, 179.2L, true}, {-16.5L, 175.0L, false}, {-16.5L, -176.0L, false},
        {-17.8L, 175.0L, false}, {-17.8L, -176.0L, false}, {-17.0L, -179.0L, false}, {-20.0L, 179.5L, false}}},
      {"pacific", 400, 400, 0, -17, 180, "", {{-25, 180, false}, {0, -170, false}, {-40, -150, false}, {10, 160, false}}},
      {"pacific_south", 400, 400, 0, -50, 180, "", {{-25, 180, false}, {-60, 170, false}, {-40, -150, false}}},
  };
  for (const auto& view : views) {
    SCOPED_TRACE(view.Name);
    const platform::Bitmap24 bitmap = Render(view.Name, view.Width, view.Height, view.Altitude, view.Lat, view.Lon, view.Model);
    for (const Place& place : view.Places) EXPECT_TRUE(Shows(bitmap, place));
    const std::string name = view.Name;
    if (name == "sphere" || name == "cartesian" || name == "mercator") {
      EXPECT_GT(Count(bitmap, 0xC0C0C0), view.Width);  // the graticule, on the sea
    }
    if (name == "sphere") {  // the corners lie outside the disc: background only
      EXPECT_EQ(std::tuple(bitmap.Pixel(2, 2), bitmap.Pixel(397, 397), bitmap.Pixel(2, 397)),
                std::tuple(kBackground, kBackground, kBackground));
    }
    if (name == "cartesian") {  // 2 pixels a degree: the 20 rows above and below the world are background
      for (int x = 0; x < 720; x += 7) EXPECT_EQ(std::pair(bitmap.Pixel(x, 5), bitmap.Pixel(x, 394)), std::pair(kBackground, kBackground));
      EXPECT_NE(bitmap.Pixel(360, 30), kBackground);
    }
  }
}

// Smooth drawing blends the coast, land and sea into many shades; the plain picture keeps the
// handful of colours it is drawn in, and both show the same world.
TEST_F(MapPictureTest, AntialiasedCoastsHaveManyColoursThePlainPictureFew) {
  const platform::Bitmap24 plain = Render("plain", 500, 500, 200'000, 36, 18);
  options.Antialias = true;
  const platform::Bitmap24 smooth = Render("smooth");
  platform::TPoint coast;  // the heel of Italy, on the coast
  ASSERT_TRUE(PixelAt(40.0L, 18.4L, coast));
  auto coloursRoundTheCoast = [&](const platform::Bitmap24& bitmap) {
    std::set<TColor> colours;
    for (int y = coast.Y - 40; y <= coast.Y + 40; ++y)
      for (int x = coast.X - 40; x <= coast.X + 40; ++x) colours.insert(bitmap.Pixel(x, y));
    return colours.size();
  };
  EXPECT_LE(coloursRoundTheCoast(plain), 6u);
  EXPECT_GE(coloursRoundTheCoast(smooth), 20u);
  for (Place place : {Place{41.5L, 15.0L, true}, Place{34.0L, 18.0L, false}, Place{30.0L, 15.0L, true}}) {
    EXPECT_TRUE(Shows(smooth, place));
    EXPECT_TRUE(Shows(plain, place));
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
  int land = 0;
  for (int y = 0; y < result.Bitmap.Height(); ++y)
    for (int x = 0; x < result.Bitmap.Width(); ++x) land += result.Bitmap.Pixel(x, y) == 0x00B8E0E8;
  EXPECT_GT(land, 300 * 200 / 20);
}
