// maprender's command line, its messages about environment and layer files, the picture
// format chosen by the output's extension, and its own PNG writer.

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <sstream>

#include "platform/Version.h"
#include "tests/globe_data/TempFile.h"
#include "platform/qt/QtBitmapImage.h"
#include "tools/maprender/MapRender.h"
#include "tools/maprender/QuickPng.h"

namespace maprender {
namespace {

namespace fs = std::filesystem;
using globe::testing::TempDir;

const std::string kWorld = std::string(CORVALIS_SOURCE_DIR) + "/data/Data/World.env";

struct TParse { std::optional<int> Status; std::string Out, Err; TMapRenderOptions Options; };

TParse Parse(const std::vector<std::string>& args) {
  TParse result;
  std::ostringstream out, err;
  result.Status = ParseArguments(args, result.Options, out, err);
  return {result.Status, out.str(), err.str(), result.Options};
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TMapRenderOptions Options(const std::string& env, const std::string& output, int width = 800, int height = 600) {
  TMapRenderOptions options;
  options.EnvironmentFile = env;
  options.OutputFile = output;
  options.Width = width;
  options.Height = height;
  return options;
}

TEST(MapRenderArguments, HelpVersionAndProblemsNamingTheArgument) {
  const TParse help = Parse({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(FirstLine(help.Out), "Draws a map environment file (.env) into a picture, without a display.");
  EXPECT_EQ(Parse({"--version"}).Out, std::string("maprender ") + CORVALIS_VERSION + "\n");
  struct TCase { std::vector<std::string> Args; std::string FirstLine; };
  const std::vector<TCase> cases = {
      {{}, "maprender: ENV_FILE is required"},
      {{"a.env", "b.png", "c"}, "maprender: The following argument was not expected: c"},
      {{"a.env", "b.png", "--size", "8193x10"},
       "maprender: --size: bad size \"8193x10\": expected WIDTHxHEIGHT, each from 1 to 8192"},
      {{"a.env", "b.png", "--projection", "TFooPrj"},
       "maprender: --projection: unknown projection class \"TFooPrj\"; the classes are TSphericalPrj, "
       "TCartesianPrj, TMercatorPrj"},
  };
  for (const TCase& c : cases) {
    const TParse result = Parse(c.Args);
    EXPECT_EQ(result.Status, 2) << c.FirstLine;
    EXPECT_EQ(FirstLine(result.Err), c.FirstLine);
    EXPECT_EQ(result.Out, "");
  }
  for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{{"--lat", "90.5"}, {"--altitude", "high"}}) {
    const TParse result = Parse({"a.env", "b.png", option, value});
    EXPECT_EQ(result.Status, 2) << option;
    EXPECT_EQ(result.Err.rfind("maprender: " + option + ": ", 0), 0u) << result.Err;
  }
}

TEST(MapRenderArguments, ValuesReachTheOptions) {
  const TParse result = Parse({"w.env", "o.jpg", "--size", "30x20", "--projection", "tmercatorprj", "--lat", "-12.5",
                               "--long", "170", "--altitude", "0", "--allow-missing"});
  ASSERT_EQ(result.Status, std::nullopt) << result.Err;
  const TMapRenderOptions& o = result.Options;
  EXPECT_EQ(o.EnvironmentFile + " " + o.OutputFile + " " + o.ProjectionClass, "w.env o.jpg tmercatorprj");
  EXPECT_EQ(std::make_pair(o.Width, o.Height), std::make_pair(30, 20));
  EXPECT_EQ(o.CenterLatitude, -12.5L);
  EXPECT_EQ(o.CenterLongitude, 170.0L);
  EXPECT_TRUE(o.Altitude == 0 && o.AllowMissing);
}

TEST(MapRenderFiles, EnvironmentProblemsAreOneLineNamingTheFile) {
  TempDir dir;
  const std::string binary = dir.Write("tool.env", std::string("\x7f" "ELF\x02\x01\x01\0\0<\xff\xfe", 13));
  const std::string broken = dir.Write("broken.env", "<TGlobe SurfaceColor=\x01\xfe>");
  struct TCase { std::string File, Message; };
  for (const TCase& c : std::vector<TCase>{{dir.File("missing.env"), "no such file"},
                                           {dir.Path.string(), "not a file"},
                                           {binary, "not an XML environment file"}}) {
    EXPECT_EQ(EnvironmentFileProblem(c.File), c.Message) << c.File;
    std::ostringstream err;
    EXPECT_EQ(RenderAndWrite(Options(c.File, dir.File("out.png")), err), 1);
    EXPECT_EQ(err.str(), "maprender: " + c.File + ": " + c.Message + "\n");
  }
  EXPECT_EQ(EnvironmentFileProblem(kWorld), "");
  // A damaged XML file is repaired as it is read: the repair is a warning naming the file, without
  // the file's raw bytes.
  std::ostringstream err;
  EXPECT_EQ(RenderAndWrite(Options(broken, dir.File("out.png")), err), 0);
  const std::string message = err.str();
  EXPECT_EQ(message.rfind("maprender: warning: Environment file " + broken + ", line 1: ", 0), 0u) << message;
  EXPECT_EQ(message.find_first_of(std::string("\x01\xfe", 2)), std::string::npos) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
}

TEST(MapRenderFiles, MissingLayerFilesAreNamedAndFailUnlessAllowed) {
  TempDir dir;
  fs::copy_file(kWorld, dir.File("World.env"));  // its layer files stay behind
  TMapRenderOptions options = Options(dir.File("World.env"), dir.File("out.png"), 40, 30);
  const std::string warnings = "maprender: warning: Land.lyr named by " + options.EnvironmentFile +
                               " not found\nmaprender: warning: Countries.lyr named by " +
                               options.EnvironmentFile + " not found\n";
  std::ostringstream err;
  EXPECT_EQ(RenderAndWrite(options, err), 1);
  EXPECT_EQ(err.str(), warnings + "maprender: no picture written: layer files are missing (--allow-missing draws "
                                  "without them)\n");
  EXPECT_FALSE(fs::exists(options.OutputFile));  // a part of the map would pass for the whole

  options.AllowMissing = true;
  err.str("");
  EXPECT_EQ(RenderAndWrite(options, err), 0);
  EXPECT_EQ(err.str(), warnings);
  EXPECT_TRUE(fs::exists(options.OutputFile));
}

// The demo's environment names the world map's layers, which stand in the program's Data folder.
TEST(MapRenderFiles, LayerFilesAreFoundInTheProgramsDataFolder) {
  TempDir dir;
  TMapRenderOptions options =
      Options(std::string(CORVALIS_SOURCE_DIR) + "/data/Scenarios/Crete1941/Mediterranean.env", dir.File("crete.png"));
  options.ProgramDataDirectory = fs::path(kWorld).parent_path().string();
  std::ostringstream err;
  EXPECT_EQ(RenderAndWrite(options, err), 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_TRUE(fs::exists(options.OutputFile));
  options.ProgramDataDirectory = dir.Path.string();  // a folder without them
  EXPECT_EQ(RenderAndWrite(options, err), 1);
  EXPECT_NE(err.str().find("Land.lyr named by"), std::string::npos) << err.str();
}

TEST(MapRenderFiles, TheExtensionChoosesTheFormat) {
  TempDir dir;
  TMapRenderOptions options = Options(kWorld, "", 60, 40);
  for (const auto& [name, format] : std::vector<std::pair<std::string, std::string>>{{"map.JPG", "jpeg"}, {"map.bmp", "bmp"}}) {
    options.OutputFile = dir.File(name);
    std::ostringstream err;
    EXPECT_EQ(RenderAndWrite(options, err), 0) << err.str();
    QImageReader reader(QString::fromStdString(options.OutputFile));
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format().toStdString(), format) << name;
    EXPECT_EQ(reader.size(), QSize(60, 40)) << name;
  }
  // An unknown extension is refused before anything is drawn or written.
  options.EnvironmentFile = dir.File("missing.env");
  options.OutputFile = dir.File("map.xyz");
  std::ostringstream err;
  EXPECT_EQ(RenderAndWrite(options, err), 2);
  EXPECT_EQ(err.str().rfind("maprender: " + options.OutputFile + ": unknown picture format; the extension must be one of ", 0), 0u)
      << err.str();
  EXPECT_FALSE(fs::exists(options.OutputFile));
}

// The quick writer keeps every pixel, colours in their order, in rows of any padding.
TEST(MapRenderFiles, AQuickPngHoldsTheBitmapsPixels) {
  TempDir dir;
  platform::Bitmap24 bitmap(7, 3, platform::clWhite);  // 21 bytes a row, padded to 24
  for (int x = 0; x < 7; ++x) bitmap.SetPixel(x, x % 3, platform::MakeColor(10 * x, 200 - x, 255 - 30 * x));
  ASSERT_TRUE(WriteQuickPng(bitmap, dir.File("quick.png")));
  const platform::Bitmap24 read = platform::BitmapFromImage(QImage(QString::fromStdString(dir.File("quick.png"))));
  ASSERT_EQ(std::pair(read.Width(), read.Height()), std::pair(7, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(read.Pixel(x, y), bitmap.Pixel(x, y)) << x << ", " << y;
  EXPECT_FALSE(WriteQuickPng(bitmap, dir.File("no-such-folder/quick.png")));
  EXPECT_FALSE(WriteQuickPng(platform::Bitmap24(), dir.File("empty.png")));
}

}  // namespace
}  // namespace maprender
