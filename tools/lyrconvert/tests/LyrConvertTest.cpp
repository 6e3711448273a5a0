#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/LYRChainStream.h"
#include "globe/data/LYRReader.h"
#include "platform/Version.h"
#include "tests/globe_data/TempFile.h"
#include "tests/support/WriteTraps.h"
#include "tools/lyrconvert/LyrConvert.h"
#include "tools/lyrconvert/OpeningSummary.h"

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

// A layer that cannot be written whole (a full disk) leaves an old layer of that name as it was,
// and nothing beside it.
TEST(LyrConvertTest, AFailedWriteKeepsTheOldLayer) {
  TempDir dir;
  const fs::path small = dir.Path / "small";
  corvalis::testing::SmallFileSystem disk(small, 64 * 1024);
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here";
  const std::string old(40 * 1024, 'o');
  const std::string output = (small / "countries.lyr").string();
  std::ofstream(output, std::ios::binary) << old;
  const TRunResult result = RunTool({kData + "/ne_110m_countries.mif", output});
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Err.find(output), std::string::npos) << result.Err;
  EXPECT_NE(result.Err.find("No space left on device"), std::string::npos) << result.Err;
  EXPECT_TRUE(globe::testing::ReadWholeFile(output) == old);
  EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 1);
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

TEST(LyrConvertTest, InfoCountsThePointsTheWriterKeeps) {
  // Inside a chain a point equal to the next one is written once (the first two points and the
  // last stay): what the written file holds, with heights and without.
  auto globe = NewHeadlessGlobe();
  globe::TGlobeObjectSource& source = *globe->NewObjectSource<globe::TGlobeObjectSource>();
  for (const bool heights : {false, true}) {
    auto* object = source.NewObject<globe::TGeoDataObject>();
    globe::TPointStore& chain = object->Chains().Chain(0);
    chain.SetStoreHeight(heights);
    for (const int32_t x : {1, 2, 2, 3, 3, 3, 4, 4}) chain.Add(globe::TGeoPoint(x * 90000, 0));
  }
  const TMapSummary summary = Summarise(source);
  TempDir dir;
  globe::SaveLYRFile(source, dir.File("runs.lyr"));
  const TMapSummary written = Summarise(OpenMapFile(*globe, dir.File("runs.lyr")));
  EXPECT_EQ(summary.Points, 16);
  EXPECT_EQ(written.Points, 10);
  EXPECT_EQ(summary.WrittenPoints, written.Points);
}

TEST(LyrConvertTest, ChainSweepFindsTheExtremesAndTheWrittenPointsAtEveryLength) {
  // Lengths across the blocks of four points a vector sweep takes, repeats at the chain's ends
  // (kept by the writer) and inside it, with heights and without.
  uint32_t seed = 7;
  auto next = [&seed] { return static_cast<int32_t>((seed = seed * 1664525u + 1013904223u) >> 3) - (1 << 28); };
  for (const bool heights : {false, true})
    for (int32_t n = 1; n <= 23; ++n)
      for (const int32_t repeatAt : {1, 2, 3, 5, n / 2, n - 2, n - 1}) {
        globe::TPointStore chain(heights);
        for (int32_t p = 0; p < n; ++p) {
          const bool repeat = p > 0 && (p == repeatAt || (p > 8 && p % 7 == 0));
          chain.Add(repeat ? chain.Point(p - 1) : globe::TGeoPoint(next() / 2, next() / 3, p));
        }
        const TChainSweep sweep = SweepChain(chain);
        int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
        for (int32_t p = 0; p < n; ++p) {
          minX = std::min(minX, chain.Point(p).LongX), maxX = std::max(maxX, chain.Point(p).LongX);
          minY = std::min(minY, chain.Point(p).LatY), maxY = std::max(maxY, chain.Point(p).LatY);
        }
        SCOPED_TRACE(testing::Message() << "heights " << heights << ", length " << n << ", repeat at " << repeatAt);
        EXPECT_EQ(sweep.WrittenPoints, globe::WrittenPointCount(chain));
        EXPECT_EQ(std::vector<int32_t>({sweep.Bounds.MinLongX, sweep.Bounds.MaxLongX, sweep.Bounds.MinLatY,
                                        sweep.Bounds.MaxLatY}),
                  std::vector<int32_t>({minX, maxX, minY, maxY}));
      }
}

TEST(LyrConvertTest, SummaryWhileOpeningIsTheSummaryOfTheOpenFile) {
  // With room for no object in the cache, objects are let go as they are built and built again
  // for the summary's end when the opening summarised them before.
  TempDir dir;
  ASSERT_EQ(RunTool({kLand, dir.File("land.lyr")}).Status, 0);
  for (const std::string& file : {kLand, kData + "/ne_110m_countries.mif", dir.File("land.lyr")})
    for (const int32_t cacheKilobytes : {TOpeningSummary::kCacheKilobytes, 1}) {
      auto globe = NewHeadlessGlobe();
      std::optional<TOpeningSummary> opening(std::in_place, *globe, cacheKilobytes);
      const TMapSummary whileOpening = opening->Finish(OpenMapFile(*globe, file));
      opening.reset();
      const TMapSummary open = Summarise(OpenMapFile(*NewHeadlessGlobe(), file));
      SCOPED_TRACE(file + ", cache " + std::to_string(cacheKilobytes) + " KB");
      EXPECT_EQ(std::vector<int64_t>({whileOpening.Objects, whileOpening.Chains, whileOpening.Points,
                                      whileOpening.WrittenPoints, whileOpening.Bounds.MinLongX,
                                      whileOpening.Bounds.MaxLongX, whileOpening.Bounds.MinLatY,
                                      whileOpening.Bounds.MaxLatY}),
                std::vector<int64_t>({open.Objects, open.Chains, open.Points, open.WrittenPoints,
                                      open.Bounds.MinLongX, open.Bounds.MaxLongX, open.Bounds.MinLatY,
                                      open.Bounds.MaxLatY}));
      EXPECT_EQ(whileOpening.Presenters, open.Presenters);
      EXPECT_GT(open.Points, 0);
    }
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
