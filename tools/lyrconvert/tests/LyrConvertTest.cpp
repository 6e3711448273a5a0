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
using globe::TGeoDataObject;
using globe::TGeoPoint;
using globe::TGlobeFileReader;
using globe::testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;

struct TRunResult {
  int Status;
  std::string Out, Err;
};

TRunResult RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = Run(args, out, err);
  return {status, out.str(), err.str()};
}

// A chain's points with runs of equal points collapsed: the LYR writer drops repeated points.
std::vector<TGeoPoint> Collapsed(const globe::TPointStore& chain) {
  std::vector<TGeoPoint> points;
  for (int32_t i = 0; i < chain.Count(); ++i) {
    const TGeoPoint p = chain.Point(i);
    if (points.empty() || points.back().LongX != p.LongX || points.back().LatY != p.LatY) points.push_back(p);
  }
  return points;
}

// Object by object: titles, closure and every chain's coordinates, exactly (the layer file keeps
// whole globe units).
void ExpectSameObjects(TGlobeFileReader& original, TGlobeFileReader& converted) {
  ASSERT_EQ(converted.Count(), original.Count());
  for (int32_t i = 0; i < original.Count(); ++i) {
    SCOPED_TRACE("object " + std::to_string(i));
    auto& a = dynamic_cast<TGeoDataObject&>(*original.Objects(i));
    auto& b = dynamic_cast<TGeoDataObject&>(*converted.Objects(i));
    EXPECT_EQ(b.Title(), a.Title());
    EXPECT_EQ(b.Closed(), a.Closed());
    ASSERT_EQ(b.Chains().Count(), a.Chains().Count());
    for (int32_t c = 0; c < a.Chains().Count(); ++c) {
      const std::vector<TGeoPoint> pa = Collapsed(a.Chains().Chain(c));
      const std::vector<TGeoPoint> pb = Collapsed(b.Chains().Chain(c));
      ASSERT_EQ(pb.size(), pa.size()) << "chain " << c;
      for (size_t p = 0; p < pa.size(); ++p) {
        ASSERT_EQ(pb[p].LongX, pa[p].LongX) << "chain " << c << " point " << p;
        ASSERT_EQ(pb[p].LatY, pa[p].LatY) << "chain " << c << " point " << p;
      }
    }
  }
}

TEST(LyrConvertTest, ShapefileConvertsWithItsObjectsTitlesAndCoordinates) {
  TempDir dir;
  // A private copy of the shapefile, so that files left beside it can be seen.
  for (const char* ext : {".shp", ".shx", ".dbf"})
    fs::copy_file(kData + "/ne_110m_land" + ext, dir.File(std::string("land") + ext));
  const std::string output = dir.File("land.lyr");
  const TRunResult result = RunTool({dir.File("land.shp"), output});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_NE(result.Out.find("bytes written: " + std::to_string(fs::file_size(output))), std::string::npos);

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"land.dbf", "land.lyr", "land.shp", "land.shx"}));

  auto globe = NewHeadlessGlobe();
  TGlobeFileReader& original = OpenMapFile(*globe, dir.File("land.shp"));
  TGlobeFileReader& converted = OpenMapFile(*globe, output);
  EXPECT_GT(original.Count(), 100);
  EXPECT_EQ(converted.Objects(0)->Title(), "New Object");  // no title field chosen
  ExpectSameObjects(original, converted);
}

TEST(LyrConvertTest, TitlesComeFromTheChosenFieldAndMIFPresentersTravel) {
  TempDir dir;
  for (const std::string name : {"ne_110m_countries.shp", "ne_110m_countries.mif"}) {
    SCOPED_TRACE(name);
    const std::string output = dir.File(name + ".lyr");
    const TRunResult result = RunTool({kData + "/" + name, output, "--title-column", "1"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    auto globe = NewHeadlessGlobe();
    TGlobeFileReader& original = OpenMapFile(*globe, kData + "/" + name, 1);
    TGlobeFileReader& converted = OpenMapFile(*globe, output);
    ExpectSameObjects(original, converted);
    bool hasFrance = false;
    for (int32_t i = 0; i < converted.Count(); ++i) hasFrance = hasFrance || converted.Objects(i)->Title() == "France";
    EXPECT_TRUE(hasFrance);
    if (!name.ends_with(".mif")) continue;
    // The presenters made from the MIF styles travel with the objects.
    const TMapSummary before = Summarise(original);
    const TMapSummary after = Summarise(converted);
    EXPECT_FALSE(after.Presenters.empty());
    EXPECT_EQ(after.Presenters, before.Presenters);
    for (int32_t i = 0; i < original.Count(); ++i)
      EXPECT_EQ(converted.ObjectPresenterID(i), original.ObjectPresenterID(i)) << "object " << i;
    EXPECT_EQ(after.Chains, before.Chains);
    EXPECT_EQ(after.MinLatY, before.MinLatY);
    EXPECT_EQ(after.MaxLongX, before.MaxLongX);
  }
}

TEST(LyrConvertTest, PresenterOptionGivesEveryObjectADefaultPresenter) {
  TempDir dir;
  const std::string output = dir.File("land.lyr");
  const TRunResult result = RunTool({kData + "/ne_110m_land.shp", output, "--presenter", "3"});
  ASSERT_EQ(result.Status, 0) << result.Err;

  auto globe = NewHeadlessGlobe();
  TGlobeFileReader& converted = OpenMapFile(*globe, output);
  ASSERT_EQ(converted.Count(), 125);
  for (int32_t i = 0; i < converted.Count(); ++i) EXPECT_EQ(converted.Objects(i)->PresenterID(), 3) << i;
  // Land areas get an area presenter under that ID.
  EXPECT_EQ(Summarise(converted).Presenters, (std::vector<std::string>{"3 TPolygonPresenter \"Polygon Presenter\""}));

  EXPECT_EQ(RunTool({kData + "/ne_110m_land.shp", output, "--presenter", "0"}).Status, 2);
  EXPECT_EQ(RunTool({kData + "/ne_110m_land.shp", output, "--presenter"}).Status, 2);
}

TEST(LyrConvertTest, InfoSummarisesEachKindOfFile) {
  const TRunResult result = RunTool({"--info", kData + "/ne_110m_land.shp"});
  ASSERT_EQ(result.Status, 0) << result.Err;
  // World land reaches both sides of the date line and lies between the poles.
  EXPECT_NE(result.Out.find("bounds: longitude -180.000000 to 180.000000, latitude -"), std::string::npos)
      << result.Out;
  EXPECT_NE(result.Out.find("presenters: 0"), std::string::npos);

  auto globe = NewHeadlessGlobe();
  const TMapSummary land = Summarise(OpenMapFile(*globe, kData + "/ne_110m_land.shp"));
  EXPECT_NE(result.Out.find("objects: " + std::to_string(land.Objects) + "\n"), std::string::npos);
  EXPECT_GE(land.Chains, land.Objects);
  EXPECT_GT(land.Points, 3 * land.Chains);  // rings of at least four points
  EXPECT_LT(land.MinLatY, -60 * 5400000);
  EXPECT_GT(land.MaxLatY, 60 * 5400000);
  EXPECT_LT(land.MaxLatY, 90 * 5400000);
}

TEST(LyrConvertTest, ArgumentProblemsNameTheArgument) {
  const std::string land = kData + "/ne_110m_land.shp";
  struct TCase {
    std::vector<std::string> Args;
    std::string FirstLine;
  };
  for (const TCase& c : std::vector<TCase>{
           {{}, "lyrconvert: INPUT is required"},
           {{"a.shp"}, "lyrconvert: OUTPUT (or --info) is required"},
           {{"a.shp", "b.lyr", "c"}, "lyrconvert: The following argument was not expected: c"},
           {{"--info"}, "lyrconvert: INPUT is required"},
           {{"--info", "a.shp", "b.lyr"}, "lyrconvert: --info: takes one file, not an OUTPUT as well"},
           {{"a.shp", "b.lyr", "--title-column"}, "lyrconvert: --title-column: 1 required N missing"},
           {{"a.shp", "b.lyr", "--title-column", "x"}, "lyrconvert: --title-column: Value x not in range -1 to 2147483647"},
           {{"a.shp", "b.lyr", "--title-column", "-2"},
            "lyrconvert: --title-column: Value -2 not in range -1 to 2147483647"},
           {{"a.shp", "b.lyr", "--presenter", "0"}, "lyrconvert: --presenter: Value 0 not in range 1 to 2147483647"},
           {{"a.shp", "b.lyr", "--colour"}, "lyrconvert: The following argument was not expected: --colour"},
           {{land, land}, "lyrconvert: OUTPUT: would overwrite INPUT"}}) {
    const TRunResult result = RunTool(c.Args);
    EXPECT_EQ(result.Status, 2) << c.FirstLine;
    EXPECT_EQ(result.Err.substr(0, result.Err.find('\n')), c.FirstLine);
    EXPECT_EQ(result.Out, "");
  }
}

TEST(LyrConvertTest, HelpAndVersion) {
  const TRunResult help = RunTool({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Out.rfind("Converts an ESRI shapefile", 0), 0u) << help.Out;
  for (const char* option : {"--info", "--title-column", "--presenter", "--allow-damaged", "--version"})
    EXPECT_NE(help.Out.find(option), std::string::npos) << option;
  const TRunResult version = RunTool({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, std::string("lyrconvert ") + CORVALIS_VERSION + "\n");
}

TEST(LyrConvertTest, TitleColumnMustBeInTheFilesTable) {
  TempDir dir;
  // The land shapefile's table has one column; without its table it has none.
  fs::copy_file(kData + "/ne_110m_land.shp", dir.File("land.shp"));
  fs::copy_file(kData + "/ne_110m_countries.mif", dir.File("countries.mif"));
  const std::string land = kData + "/ne_110m_land.shp";
  struct TCase {
    std::vector<std::string> Args;
    std::string Err;
  };
  for (const TCase& c : std::vector<TCase>{
           {{land, dir.File("a.lyr"), "--title-column", "9"},
            "lyrconvert: --title-column 9: the .dbf table of " + land + " has 1 column (0 to 0)\n"},
           {{dir.File("land.shp"), dir.File("b.lyr"), "--title-column", "0"},
            "lyrconvert: --title-column 0: " + dir.File("land.shp") + " has no .dbf table beside it\n"},
           {{dir.File("countries.mif"), dir.File("c.lyr"), "--title-column", "1"},
            "lyrconvert: --title-column 1: " + dir.File("countries.mif") + " has no .mid table beside it\n"},
           {{"--info", kData + "/ne_110m_countries.mif", "--title-column", "200"},
            "lyrconvert: --title-column 200: the .mid table of " + kData + "/ne_110m_countries.mif has "}}) {
    const TRunResult result = RunTool(c.Args);
    EXPECT_EQ(result.Status, 2) << c.Err;
    EXPECT_EQ(result.Err.substr(0, c.Err.size()), c.Err);
    EXPECT_EQ(result.Out, "");
  }
  EXPECT_FALSE(fs::exists(dir.File("a.lyr")));
  // -1 (no titles) needs no table; the last column of the table is fine.
  EXPECT_EQ(RunTool({dir.File("land.shp"), dir.File("d.lyr"), "--title-column", "-1"}).Status, 0);
  EXPECT_EQ(RunTool({land, dir.File("e.lyr"), "--title-column", "0"}).Status, 0);
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
  // The whole file has no damaged record.
  result = RunTool({kData + "/ne_110m_countries.shp", dir.File("whole.lyr")});
  EXPECT_EQ(result.Status, 0);
  EXPECT_EQ(result.Err, "");
}

TEST(LyrConvertTest, InfoPointsAgreeWithWhatAConversionWrites) {
  TempDir dir;
  for (const std::string name : {"ne_110m_land.shp", "ne_110m_countries.mif"}) {
    const TRunResult info = RunTool({"--info", kData + "/" + name});
    const TRunResult converted = RunTool({kData + "/" + name, dir.File(name + ".lyr")});
    ASSERT_EQ(converted.Status, 0) << converted.Err;
    const auto value = [](const std::string& text, const std::string& key) {
      const auto at = text.find("\n" + key + ": ");
      return at == std::string::npos ? std::string() : text.substr(at + key.size() + 3, text.find('\n', at + 1) - at - key.size() - 3);
    };
    EXPECT_NE(value(info.Out, "points written"), "") << info.Out;
    EXPECT_EQ(value(info.Out, "points written"), value(converted.Out, "points")) << name;
    EXPECT_EQ(value(RunTool({"--info", dir.File(name + ".lyr")}).Out, "points written"), value(converted.Out, "points"));
  }
}

TEST(LyrConvertTest, BadFilesAreNamedAndEndWithStatusOne) {
  TempDir dir;
  const auto expectFailure = [](const std::vector<std::string>& args, const std::string& named) {
    const TRunResult result = RunTool(args);
    EXPECT_EQ(result.Status, 1) << named;
    EXPECT_NE(result.Err.find(named), std::string::npos) << result.Err;
  };
  expectFailure({"--info", dir.File("missing.shp")}, "missing.shp");
  expectFailure({"--info", dir.Write("notes.txt", "hello")}, "notes.txt");
  expectFailure({"--info", dir.Write("empty.lyr", "")}, "empty.lyr");
  expectFailure({"--info", dir.Write("short.mif", "Version 300\nCoordSys NonEarth Units \"m\"\nData\n")}, "short.mif");

  // A layer file cut short in its objects.
  const std::string whole = dir.File("whole.lyr");
  ASSERT_EQ(RunTool({kData + "/ne_110m_land.shp", whole}).Status, 0);
  const std::string bytes = globe::testing::ReadWholeFile(whole);
  expectFailure({"--info", dir.Write("cut.lyr", bytes.substr(0, bytes.size() / 2))}, "cut.lyr");

  // An output that cannot be written is named and not left behind.
  const std::string unwritable = dir.File("no/such/dir/out.lyr");
  expectFailure({kData + "/ne_110m_land.shp", unwritable}, "out.lyr");
  EXPECT_FALSE(fs::exists(unwritable));
}

}  // namespace
}  // namespace lyrconvert
