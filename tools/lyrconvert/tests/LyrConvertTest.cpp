#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeFileReader.h"
#include "platform/Version.h"
#include "tests/globe_data/TempFile.h"
#include "tools/lyrconvert/LyrConvert.h"

namespace lyrconvert {
namespace {

namespace fs = std::filesystem;
using globe::TGlobeFileReader;
using globe::testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;
const std::string kLand = kData + "/ne_110m_land.shp";

struct TRunResult { int Status; std::string Out, Err; };

TRunResult RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = Run(args, out, err);
  return {status, out.str(), err.str()};
}

// Each object's title, closure and chains' points, runs of equal points collapsed as the writer does.
std::vector<std::string> Objects(TGlobeFileReader& file) {
  std::vector<std::string> objects;
  for (int32_t i = 0; i < file.Count(); ++i) {
    auto& object = dynamic_cast<globe::TGeoDataObject&>(*file.Objects(i));
    std::string text = object.Title() + (object.Closed() ? " closed" : " open");
    for (int32_t c = 0; c < object.Chains().Count(); ++c) {
      text += " |";
      const globe::TPointStore& chain = object.Chains().Chain(c);
      std::string last;
      for (int32_t p = 0; p < chain.Count(); ++p) {
        const std::string point = " " + std::to_string(chain.Point(p).LongX) + "," + std::to_string(chain.Point(p).LatY);
        if (point != last) text += point;
        last = point;
      }
    }
    objects.push_back(text);
  }
  return objects;
}

TEST(LyrConvertTest, ObjectsTitlesAndMIFPresentersTravelAndNothingIsLeftBeside) {
  TempDir dir;
  // A private copy of the shapefile, so that files left beside it can be seen.
  for (const char* ext : {".shp", ".shx", ".dbf"}) fs::copy_file(kData + "/ne_110m_countries" + ext, dir.File(std::string("c") + ext));
  for (const std::string& input : {dir.File("c.shp"), kData + "/ne_110m_countries.mif"}) {
    SCOPED_TRACE(input);
    const std::string output = dir.File(fs::path(input).filename().string() + ".lyr");
    const TRunResult result = RunTool({input, output, "--title-column", "1"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find("bytes written: " + std::to_string(fs::file_size(output))), std::string::npos);
    auto globe = NewHeadlessGlobe();
    TGlobeFileReader& original = OpenMapFile(*globe, input, 1);
    TGlobeFileReader& converted = OpenMapFile(*globe, output);
    const std::vector<std::string> objects = Objects(converted);
    EXPECT_EQ(objects, Objects(original));
    EXPECT_TRUE(std::any_of(objects.begin(), objects.end(), [](const std::string& o) { return o.starts_with("France "); }));
    // The presenters made from the MIF styles travel with the objects.
    EXPECT_EQ(Summarise(converted).Presenters, Summarise(original).Presenters);
    EXPECT_EQ(Summarise(converted).Presenters.empty(), input.ends_with(".shp"));
    for (int32_t i = 0; i < original.Count(); ++i)
      EXPECT_EQ(converted.ObjectPresenterID(i), original.ObjectPresenterID(i)) << "object " << i;
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"c.dbf", "c.shp", "c.shp.lyr", "c.shx", "ne_110m_countries.mif.lyr"}));
}

TEST(LyrConvertTest, PresenterOptionGivesEveryObjectADefaultPresenter) {
  TempDir dir;
  const TRunResult result = RunTool({kLand, dir.File("land.lyr"), "--presenter", "3"});
  ASSERT_EQ(result.Status, 0) << result.Err;
  auto globe = NewHeadlessGlobe();
  TGlobeFileReader& converted = OpenMapFile(*globe, dir.File("land.lyr"));
  ASSERT_EQ(converted.Count(), 125);
  for (int32_t i = 0; i < converted.Count(); ++i) EXPECT_EQ(converted.Objects(i)->PresenterID(), 3) << i;
  // Land areas get an area presenter under that ID.
  EXPECT_EQ(Summarise(converted).Presenters, (std::vector<std::string>{"3 TPolygonPresenter \"Polygon Presenter\""}));
}

TEST(LyrConvertTest, InfoSummarisesTheFile) {
  const TRunResult result = RunTool({"--info", kLand});
  ASSERT_EQ(result.Status, 0) << result.Err;
  // World land reaches both sides of the date line and lies between the poles.
  EXPECT_NE(result.Out.find("bounds: longitude -180.000000 to 180.000000, latitude -"), std::string::npos) << result.Out;
  EXPECT_NE(result.Out.find("objects: 125\n"), std::string::npos);
}

TEST(LyrConvertTest, ArgumentProblemsNameTheArgumentHelpAndVersion) {
  TempDir dir;
  // The land shapefile's table has one column; without its table it has none.
  const std::string landCopy = dir.File("land.shp"), mif = dir.File("countries.mif");
  fs::copy_file(kLand, landCopy);
  fs::copy_file(kData + "/ne_110m_countries.mif", mif);
  const std::string countries = kData + "/ne_110m_countries.mif";
  for (const auto& [args, firstLine] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, "INPUT is required"},
           {{"a.shp"}, "OUTPUT (or --info) is required"},
           {{"--info", "a.shp", "b.lyr"}, "--info: takes one file, not an OUTPUT as well"},
           {{"a.shp", "b.lyr", "--title-column", "x"}, "--title-column: Value x not in range -1 to 2147483647"},
           {{"a.shp", "b.lyr", "--presenter", "0"}, "--presenter: Value 0 not in range 1 to 2147483647"},
           {{"a.shp", "b.lyr", "--colour"}, "The following argument was not expected: --colour"},
           {{kLand, kLand}, "OUTPUT: would overwrite INPUT"},
           {{kLand, dir.File("a.lyr"), "--title-column", "9"},
            "--title-column 9: the .dbf table of " + kLand + " has 1 column (0 to 0)"},
           {{landCopy, dir.File("b.lyr"), "--title-column", "0"},
            "--title-column 0: " + landCopy + " has no .dbf table beside it"},
           {{mif, dir.File("c.lyr"), "--title-column", "1"}, "--title-column 1: " + mif + " has no .mid table beside it"},
           {{"--info", countries, "--title-column", "200"},
            "--title-column 200: the .mid table of " + countries + " has 2 columns (0 to 1)"}}) {
    const TRunResult result = RunTool(args);
    EXPECT_EQ(result.Status, 2) << firstLine;
    EXPECT_EQ(result.Err.substr(0, result.Err.find('\n')), "lyrconvert: " + firstLine);
    EXPECT_EQ(result.Out, "");
  }
  EXPECT_FALSE(fs::exists(dir.File("a.lyr")));
  // -1 (no titles) needs no table; the last column of the table is fine.
  EXPECT_EQ(RunTool({landCopy, dir.File("d.lyr"), "--title-column", "-1"}).Status, 0);
  EXPECT_EQ(RunTool({kLand, dir.File("e.lyr"), "--title-column", "0"}).Status, 0);
  const TRunResult help = RunTool({"--help"});
  EXPECT_TRUE(help.Status == 0 && help.Out.starts_with("Converts an ESRI shapefile")) << help.Out;
  EXPECT_EQ(RunTool({"--version"}).Out, std::string("lyrconvert ") + CORVALIS_VERSION + "\n");
}

TEST(LyrConvertTest, RecordsOfACutShapefileAreCounted) {
  TempDir dir;
  const std::string whole = globe::testing::ReadWholeFile(kData + "/ne_110m_countries.shp");
  const std::string cut = dir.Write("cut.shp", whole.substr(0, 30000));
  fs::copy_file(kData + "/ne_110m_countries.shx", dir.File("cut.shx"));
  fs::copy_file(kData + "/ne_110m_countries.dbf", dir.File("cut.dbf"));
  auto globe = NewHeadlessGlobe();
  const int32_t records = Summarise(OpenMapFile(*globe, kData + "/ne_110m_countries.shp")).Objects;
  const int32_t kept = Summarise(OpenMapFile(*globe, cut)).Objects;
  ASSERT_LT(kept, records);
  const std::string report = "lyrconvert: " + cut + ": " + std::to_string(kept) + " of " + std::to_string(records) +
                             " objects converted; " + std::to_string(records - kept) + " records damaged or cut off\n";
  TRunResult result = RunTool({cut, dir.File("cut.lyr")});
  EXPECT_EQ(result.Status, 1);
  EXPECT_EQ(result.Err, report);
  EXPECT_NE(result.Out.find("objects: " + std::to_string(kept) + "\n"), std::string::npos);
  result = RunTool({cut, dir.File("cut.lyr"), "--allow-damaged"});
  EXPECT_EQ(result.Status, 0);
  EXPECT_EQ(result.Err, report);
  result = RunTool({"--info", cut});
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Err.find(" objects read; "), std::string::npos) << result.Err;
}

TEST(LyrConvertTest, BadFilesAreNamedAndEndWithStatusOne) {
  TempDir dir;
  ASSERT_EQ(RunTool({kLand, dir.File("whole.lyr")}).Status, 0);
  const std::string bytes = globe::testing::ReadWholeFile(dir.File("whole.lyr"));
  for (const std::string& file :
       {dir.File("missing.shp"), dir.Write("notes.txt", "hello"),
        dir.Write("short.mif", "Version 300\nCoordSys NonEarth Units \"m\"\nData\n"),
        dir.Write("cut.lyr", bytes.substr(0, bytes.size() / 2))}) {  // a layer file cut short in its objects
    const TRunResult result = RunTool({"--info", file});
    EXPECT_EQ(result.Status, 1) << file;
    EXPECT_NE(result.Err.find(fs::path(file).filename().string()), std::string::npos) << result.Err;
  }
  EXPECT_NE(RunTool({"--info", dir.File("notes.txt")}).Err.find("notes.txt: not a LYR, SHP or MIF file\n"),
            std::string::npos);
  // An output that cannot be written is named.
  const TRunResult result = RunTool({kLand, dir.File("no/such/dir/out.lyr")});
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Err.find("out.lyr"), std::string::npos) << result.Err;
}

}  // namespace
}  // namespace lyrconvert
