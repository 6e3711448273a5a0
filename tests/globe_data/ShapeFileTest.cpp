// Shapefiles: the main file's records walked as the mapping pass does, the dBASE III tables
// beside them, and the reader that makes map objects of both.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <tuple>

#include "Points.h"
#include "ShapeFileBuilder.h"
#include "TempFile.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/DBFReader.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/SHPReader.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/ShapeFile.h"
#include "globe/data/XmlElement.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Points = std::vector<TGeoPoint>;
using corvalis::testing::ThrownMessage;
using testing::Deg;
using testing::Le32;
using testing::ShapeFileBuilder;
using testing::TableBytes;

const std::string kData = CORVALIS_TEST_DATA_DIR;

struct Totals {
  int Records = 0, Shapes = 0;  // records walked, records read as shapes
  std::int64_t Parts = 0, Points = 0;
};

// Walks every record as the reader's mapping pass does; the quick check of the indexing pass must
// accept exactly the records that parse, with the same shape type.
Totals Walk(const std::uint8_t* data, std::int64_t size) {
  Totals t;
  if (shapefile::CheckHeader(data, size) != shapefile::hcValid) return t;
  TShapeRecord record;
  for (std::int64_t at = shapefile::kHeaderSize, next; (next = shapefile::NextRecordOffset(data, size, at)) >= 0;
       at = next) {
    ++t.Records;
    std::int32_t checkedType = -1;
    const bool readable = shapefile::IsReadableRecord(data, size, at, &checkedType);
    const bool parsed = shapefile::ParseRecord(data, size, at, record);
    EXPECT_EQ(readable, parsed) << "record at " << at;
    EXPECT_EQ(checkedType, record.ShapeType) << "record at " << at;
    if (!parsed) continue;
    ++t.Shapes;
    t.Parts += std::int64_t(record.Parts.size());
    for (const auto& part : record.Parts) t.Points += std::int64_t(part.size());
  }
  return t;
}

Totals Walk(const std::string& bytes) {
  return Walk(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::int64_t(bytes.size()));
}

TEST(ShapeFile, UnreadableRecordsAreSkippedByTheirLengthAndOverlongOnesEndTheWalk) {
  using testing::LeDouble;
  const std::string pointZ = Le32(11) + LeDouble(1) + LeDouble(2) + LeDouble(3) + LeDouble(4);
  std::string badStarts = ShapeFileBuilder::Poly(5, {{{0, 0}, {1, 1}}, {{2, 2}}});
  badStarts.replace(44, 4, Le32(1));  // first part not starting at point 0
  std::string tooMany = ShapeFileBuilder::Poly(3, {{{0, 0}, {1, 1}}});
  tooMany.replace(40, 4, Le32(0x7FFFFFFF));  // point count far beyond the content
  const Totals t = Walk(ShapeFileBuilder()
                            .Record("")        // content length 0
                            .Record(Le32(0))   // null shape
                            .Record(pointZ)
                            .Record(badStarts)
                            .Record(tooMany)
                            .Record(ShapeFileBuilder::MultiPoint({{1, 2}}).substr(0, 40))  // count cut off
                            .Record(ShapeFileBuilder::Point(7, 8))
                            .Bytes());
  EXPECT_EQ(std::tuple(t.Records, t.Shapes, t.Points), std::tuple(7, 1, 1));
  const std::string point = ShapeFileBuilder::Point(1, 2);
  EXPECT_EQ(Walk(ShapeFileBuilder().Record(point).RawRecord(0x7FFFFFFF, point).Bytes()).Records, 1);
  EXPECT_EQ(Walk(ShapeFileBuilder().RawRecord(0xFFFFFFF0, point).Record(point).Bytes()).Records, 0);
  EXPECT_EQ(shapefile::CheckHeader(reinterpret_cast<const std::uint8_t*>(point.data()), 99), shapefile::hcBadFileCode);
}

// The index file of the real shapefile lists every record's start; one that is cut, changed or
// describes a main file of another length lists nothing.
TEST(ShapeFile, IndexFileListsTheRecordStartsOfItsOwnMainFileOnly) {
  const std::string shp = testing::ReadWholeFile(kData + "/ne_110m_land.shp");
  const std::string shx = testing::ReadWholeFile(kData + "/ne_110m_land.shx");
  auto offsets = [](const std::string& index, std::size_t mainSize) {
    return shapefile::IndexedRecordOffsets(reinterpret_cast<const std::uint8_t*>(index.data()),
                                           std::int64_t(index.size()), std::int64_t(mainSize));
  };
  std::vector<std::int64_t> walked;
  const auto* data = reinterpret_cast<const std::uint8_t*>(shp.data());
  for (std::int64_t at = shapefile::kHeaderSize; at >= 0 && at < std::int64_t(shp.size());
       at = shapefile::NextRecordOffset(data, std::int64_t(shp.size()), at))
    walked.push_back(at);
  ASSERT_EQ(walked.size(), 125u);
  EXPECT_EQ(offsets(shx, shp.size()), walked);
  EXPECT_TRUE(offsets(shx, shp.size() + 2).empty());        // a longer main file
  EXPECT_TRUE(offsets(shx.substr(0, shx.size() - 4), shp.size()).empty());  // cut
  std::string moved = shx;
  moved[100 + 8 * 7 + 3] ^= 1;  // record 7 said to start a word later
  EXPECT_TRUE(offsets(moved, shp.size()).empty());
  std::string foreign = shx;
  foreign[3] = 0;  // not a shapefile's code
  EXPECT_TRUE(offsets(foreign, shp.size()).empty());
}

// The real file has its published counts; cut and bit-flipped copies give fewer records at most,
// never a crash.
TEST(ShapeFile, RealFileHasItsCountsAndDamagedCopiesNeverCrash) {
  const std::string original = testing::ReadWholeFile(kData + "/ne_110m_land.shp");
  const Totals whole = Walk(original);
  EXPECT_EQ(std::tuple(whole.Records, whole.Shapes, whole.Parts, whole.Points), std::tuple(125, 125, 126, 5123));
  std::mt19937 random(11);
  for (int i = 0; i < 340; ++i) {
    // A buffer of exactly the cut size, so that reading past it is caught by sanitizers.
    const std::size_t cut =
        i < 40 ? std::uniform_int_distribution<std::size_t>(0, original.size())(random) : original.size();
    std::vector<std::uint8_t> bytes(original.begin(), original.begin() + std::ptrdiff_t(cut));
    for (int flips = 0; flips < 4 && i >= 40; ++flips)
      bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^=
          std::uint8_t(1u << (random() % 8));
    const Totals t = Walk(bytes.data(), std::int64_t(bytes.size()));
    if (i < 40) {
      EXPECT_LE(t.Shapes, whole.Shapes);
    }
  }
}

TEST(DBFReader, FieldOffsetsFollowTheDeletionFlagAndEarlierFields) {
  testing::TempDir dir;
  TGlobeDBFReader dbf(
      dir.Write("t.dbf", TableBytes({{"A", 3}, {"BB", 5}, {"C", 1}}, {" abc  x  Y", "*12 helloZ"}, 0x83)));
  EXPECT_EQ(dbf.RecordLength(), 10);
  dbf.Seek(2);
  EXPECT_EQ(dbf.CurrentRecord(), 2);
  EXPECT_EQ(dbf.Field(0) + "|" + dbf.Field(1) + "|" + dbf.Field(2), "12|hello|Z");
  dbf.Seek(1);
  dbf.Seek(0);  // ignored: the record stays
  EXPECT_EQ(dbf.Field(0) + "|" + dbf.Field(1) + "|" + dbf.Field(2), "abc|x|Y");
  dbf.Seek(3);  // beyond the file: blank record
  EXPECT_EQ(dbf.Field(1) + dbf.Field(-1) + dbf.Field(3), "");
  EXPECT_EQ(dbf.FieldName(1) + dbf.FieldType(1), "BBC");
}

TEST(DBFReader, RejectsOtherVersionsAndHeadersBeyondTheFile) {
  testing::TempDir dir;
  auto messageFor = [&](const std::string& bytes) {
    return ThrownMessage<EDBFException>([&] { TGlobeDBFReader dbf(dir.Write("x.dbf", bytes)); });
  };
  std::string bigHeader = TableBytes({{"A", 3}}, {" abc"});
  bigHeader[8] = char(0xFF);  // header length far past the end of the file
  for (const auto& [bytes, message] : std::vector<std::pair<std::string, std::string>>{
           {TableBytes({{"A", 3}}, {" abc"}, 0x30), "Unsupported DBase III version in Stream"},
           {"", "Unsupported DBase III version in Stream"},
           {std::string("\x03\x01", 2), "Invalid DBase III header in Stream"},
           {bigHeader, "Invalid DBase III header in Stream"}})
    EXPECT_EQ(messageFor(bytes), message);
}

// Cut and corrupted copies of a real table: any outcome but a crash or a read out of bounds.
TEST(DBFReader, DamagedTablesNeverCrash) {
  testing::TempDir dir;
  const std::string original = testing::ReadWholeFile(kData + "/ne_110m_countries.dbf");
  std::mt19937 random(7);
  auto exercise = [&](const std::string& bytes) {
    try {
      TGlobeDBFReader dbf(dir.Write("d.dbf", bytes));
      for (std::int64_t r = 1; r <= std::min<std::int64_t>(dbf.RecordCount(), 300); ++r) {
        dbf.Seek(r);
        for (int f = 0; f < dbf.FieldCount(); ++f) dbf.Field(f);
      }
    } catch (const EDBFException&) {
    }
  };
  for (std::size_t cut : {0, 1, 31, 32, 33, 64, 95, 96, 97, 200, 5000}) exercise(original.substr(0, cut));
  for (int i = 0; i < 200; ++i) {
    std::string damaged = original;
    damaged[std::uniform_int_distribution<std::size_t>(0, 127)(random)] ^= char(1 << (random() % 8));  // header, fields
    exercise(damaged);
  }
}

class SHPReaderTest : public ::testing::Test {
 protected:
  SHPReaderTest() {
    globe.SetSaveMetaDataLocation(smdDiscard);
    globe.OnProgress = [this](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) {
      mappings += kind == pmStart;
    };
  }
  TGlobeSHPReader& Open(const std::string& fileName, int32_t titleColumn = -1, TGlobeSHPReader* into = nullptr) {
    TGlobeSHPReader& r = into ? *into : *globe.NewObjectSource<TGlobeSHPReader>();
    r.SetTitleColumn(titleColumn);
    r.SetFileName(fileName);
    r.SetActive(true);
    return r;
  }
  static TGeoDataObject& Object(TGlobeSHPReader& r, int index) {
    return dynamic_cast<TGeoDataObject&>(*r.Objects(index));
  }
  TCustomVoduz4 globe;
  testing::TempDir dir;
  int mappings = 0;
};

TEST_F(SHPReaderTest, LandPolygonsWithDefaultTitles) {
  TGlobeSHPReader& land = Open(kData + "/ne_110m_land.shp");
  EXPECT_EQ(std::tuple(land.Name(), land.Count()), std::tuple("ne_110m_land.shp", 125));
  // A table and no title column: "New Object" and the record number.
  EXPECT_EQ(std::tuple(Object(land, 0).Closed(), Object(land, 0).Title(), Object(land, 124).ID()),
            std::tuple(true, "New Object", 125));
  land.SetActive(false);
  EXPECT_EQ(land.Count(), 0);
}

TEST_F(SHPReaderTest, ShapesBecomeChainsPlacedByDivisorsAndShifts) {
  dir.Write("p.shp", ShapeFileBuilder().Record(ShapeFileBuilder::Point(18000, 4500)).Bytes());
  TGlobeSHPReader* shifted = globe.NewObjectSource<TGlobeSHPReader>();
  shifted->SetLongXDivisor(100);
  shifted->SetLongXShift(-180);
  shifted->SetLatYDivisor(100);
  shifted->SetLongXDivisor(0);  // ignored
  Open(dir.File("p.shp"), -1, shifted);
  EXPECT_EQ(
      std::tuple(Object(*shifted, 0).Chains().Count(), Object(*shifted, 0).GetCentroid(), Object(*shifted, 0).ID()),
      std::tuple(0, TGeoPoint(0, 45 * Deg), 0));  // ID 0 without a table
  const std::string name = dir.Write(
      "s.shp", ShapeFileBuilder()
                   .Record(ShapeFileBuilder::Poly(5, {{{0, 0}, {0, 1}, {1, 0}, {0, 0}}, {{5, 5}, {5, 6}, {5, 5}}}))
                   .Record(ShapeFileBuilder::Poly(3, {{{10, 20}, {-170.5, -20.25}}}))
                   .Record(ShapeFileBuilder::MultiPoint({{1, 2}, {3, 4}}))
                   .Bytes());
  TGlobeSHPReader& r = Open(name);
  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(std::tuple(Object(r, 0).Closed(), Object(r, 0).Chains().Count(), Object(r, 1).Closed()),
            std::tuple(true, 2, false));
  EXPECT_EQ(testing::PointsOf(Object(r, 0).Chains().Chain(1)),
            (Points{{5 * Deg, 5 * Deg}, {5 * Deg, 6 * Deg}, {5 * Deg, 5 * Deg}}));
  EXPECT_EQ(Object(r, 1).Chains().Chain(0).Point(1), TGeoPoint(-(170 * Deg + 30 * 90000), -(20 * Deg + 15 * 90000)));
  EXPECT_EQ(testing::PointsOf(Object(r, 2).Chains().Chain(0)), (Points{{1 * Deg, 2 * Deg}, {3 * Deg, 4 * Deg}}));
}

TEST_F(SHPReaderTest, RecordsNotReadKeepTheTableAligned) {
  using testing::LeDouble;
  const std::string pointZ = Le32(11) + LeDouble(1) + LeDouble(2) + LeDouble(3) + LeDouble(4);
  dir.Write("z.shp", ShapeFileBuilder().Record(pointZ).Record("").Record(ShapeFileBuilder::Point(7, 8)).Bytes());
  dir.Write("z.dbf", testing::TableBytes({{"T", 1}}, {" a", " b", " c"}));
  TGlobeSHPReader& r = Open(dir.File("z.shp"), 0);
  ASSERT_EQ(r.Count(), 1);
  EXPECT_EQ(std::tuple(Object(r, 0).Title(), Object(r, 0).ID(), Object(r, 0).GetCentroid()),
            std::tuple("c", 3, TGeoPoint(7 * Deg, 8 * Deg)));
}

TEST_F(SHPReaderTest, ActivationFailuresAndSettingsInTheEnvironment) {
  TGlobeSHPReader* reader = globe.NewObjectSource<TGlobeSHPReader>();
  auto error = [&](const std::string& name) {
    try {
      Open(name, -1, reader);
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string(reader->Active() ? "(active)" : "(inactive)");
  };
  const std::string bad = dir.Write("bad.shp", ShapeFileBuilder().Bytes(9995));
  EXPECT_EQ(error(bad), "Invalid SHP file " + bad);
  const std::string version = dir.Write("v.shp", ShapeFileBuilder().Bytes(9994, 999));
  EXPECT_EQ(error(version), "Invalid SHP file version " + version);
  dir.Write("t.dbf", std::string(1, '\x30') + std::string(40, '\0'));
  EXPECT_EQ(error(dir.Write("t.shp", ShapeFileBuilder().Record(ShapeFileBuilder::Point(1, 1)).Bytes())),
            "Unsupported DBase III version in Stream");
  EXPECT_EQ(error(dir.File("missing.shp")), "(inactive)");
  reader->SetLongXDivisor(100);
  reader->SetLatYShift(-90);
  reader->SetTitleColumn(1);
  TGlobeSHPReader* other = globe.NewObjectSource<TGlobeSHPReader>();
  other->LoadEnvironment(reader->SaveEnvironment().get());
  EXPECT_EQ(std::tuple(other->LongXDivisor(), other->LatYDivisor(), other->LatYShift(), other->TitleColumn()),
            std::tuple(100, 1, -90, 1));
}

// Cut and bit-flipped copies of the real files: an error or fewer objects, never a crash.
TEST_F(SHPReaderTest, DamagedFilesNeverCrash) {
  const std::string shp = testing::ReadWholeFile(kData + "/ne_110m_countries.shp");
  const std::string dbf = testing::ReadWholeFile(kData + "/ne_110m_countries.dbf");
  std::mt19937 random(3);
  TGlobeSHPReader* reader = globe.NewObjectSource<TGlobeSHPReader>();
  for (int i = 0; i < 24; ++i) {
    std::string s = shp.substr(0, std::uniform_int_distribution<std::size_t>(0, shp.size())(random)), d = dbf;
    for (int flips = 0; flips < 8 && !s.empty(); ++flips) {
      s[std::uniform_int_distribution<std::size_t>(0, s.size() - 1)(random)] ^= char(1 << (random() % 8));
      d[std::uniform_int_distribution<std::size_t>(0, 200)(random)] ^= char(1 << (random() % 8));
    }
    reader->SetActive(false);
    dir.Write("d.dbf", d);
    try {
      Open(dir.Write("d.shp", s), 1, reader);
      for (int32_t n = 0; n < reader->Count(); ++n) reader->Objects(n);
    } catch (const EGlobeException&) {
    } catch (const EDBFException&) {
    }
  }
}

// A shapefile and its table cut short by another program while open: the objects past the cut are
// reported damaged, naming the file, instead of the program ending on SIGBUS.
TEST_F(SHPReaderTest, FilesCutShortWhileOpenAreReportedDamaged) {
  for (const char* ext : {".shp", ".shx", ".dbf"})
    dir.Write(std::string("c") + ext, testing::ReadWholeFile(kData + "/ne_110m_countries" + ext));
  for (const std::string cut : {"c.shp", "c.dbf"}) {
    SCOPED_TRACE(cut);
    TGlobeSHPReader& reader = Open(dir.File("c.shp"), 1);
    std::filesystem::resize_file(dir.File(cut), 4096);
    reader.Flush();
    int damaged = 0;
    for (int32_t n = 0; n < reader.Count(); ++n) {
      try {
        reader.Objects(n);
      } catch (const EGlobeException& e) {
        EXPECT_EQ(std::string(e.what()), "File " + dir.File(cut) + " is damaged: another program cut it short while it was in use");
        ++damaged;
      }
    }
    EXPECT_GE(damaged, reader.Count() / 2);
    reader.SetActive(false);
    dir.Write(cut, testing::ReadWholeFile(kData + "/ne_110m_countries" + cut.substr(1)));
  }
}

// Countries with their names; the index file beside the data spares the mapping pass on the next
// opening; a stale or foreign one is built again.
TEST_F(SHPReaderTest, SecondOpeningUsesTheIndexFileUnlessStale) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  for (const char* ext : {".shp", ".dbf"})
    dir.Write(std::string("c") + ext, testing::ReadWholeFile(kData + "/ne_110m_countries" + ext));
  TGlobeSHPReader& first = Open(dir.File("c.shp"), 1);
  ASSERT_EQ(first.Count(), 177);
  EXPECT_EQ(std::tuple(Object(first, 1).Title(), Object(first, 0).Chains().Count()),
            std::tuple("Tanzania", 2));  // Fiji's two islands
  const TGeoRect fijiBounds = first.Objects(0)->GetBounds();
  first.SetTitleColumn(0);  // changing the column takes titles again
  EXPECT_EQ(Object(first, 0).Title(), "242");
  first.SetTitleColumn(7);  // no such field
  EXPECT_EQ(Object(first, 0).Title(), "");
  first.SetTitleColumn(1);
  first.SetActive(false);
  ASSERT_TRUE(std::filesystem::exists(dir.File("c.shp.md")));
  TGlobeSHPReader& second = Open(dir.File("c.shp"));
  EXPECT_EQ(std::tuple(mappings, second.Count(), second.TitleColumn()),
            std::tuple(1, 177, 1));  // the column from the index
  EXPECT_EQ(std::tuple(second.ObjectBounds(0), second.Objects(0)->Title(), second.Objects(176)->ID(),
                       second.Objects(3)->Closed()),
            std::tuple(fijiBounds, "Fiji", 177, true));
  second.SetActive(false);
  const auto later = std::filesystem::last_write_time(dir.File("c.shp.md")) + std::chrono::seconds(10);
  std::filesystem::last_write_time(dir.File("c.shp"), later);
  Open(dir.File("c.shp"), 1).SetActive(false);
  EXPECT_EQ(mappings, 2);
  std::string bytes = testing::ReadWholeFile(dir.File("c.shp.md"));
  bytes[0] = 2;  // not version 259
  dir.Write("c.shp.md", bytes);
  std::filesystem::last_write_time(dir.File("c.shp.md"), later + std::chrono::seconds(10));
  EXPECT_EQ(Open(dir.File("c.shp"), 1).Count(), 177);
  EXPECT_EQ(mappings, 3);
  EXPECT_EQ(testing::ReadWholeFile(dir.File("c.shp.md"))[0], char(3));  // written anew
}

// With the shapefile's own index (".shx") beside it, every meta-data offset must be a record
// start it lists; without it (or with one of another main file) a whole record header there is
// enough. An offset inside a null record (whose zero content reads as a header of length 0)
// tells the two apart.
TEST_F(SHPReaderTest, MetaDataOffsetsAreCheckedAgainstTheShapefileIndex) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  const ShapeFileBuilder shapes =
      ShapeFileBuilder().Record(ShapeFileBuilder::Point(1, 2)).Record(Le32(0)).Record(ShapeFileBuilder::Point(3, 4));
  dir.Write("p.shp", shapes.Bytes());
  dir.Write("p.shx", shapes.IndexBytes());
  auto open = [&] {
    TGlobeSHPReader& reader = Open(dir.File("p.shp"));
    const int32_t count = reader.Count();
    reader.SetActive(false);
    return count;
  };
  EXPECT_EQ(open(), 2);
  EXPECT_EQ(open(), 2);
  EXPECT_EQ(mappings, 1);  // the meta-data fits
  const std::string good = testing::ReadWholeFile(dir.File("p.shp.md"));
  ASSERT_EQ(good.substr(good.size() - 16), Le32(100) + Le32(0) + Le32(140) + Le32(0));  // points at 100 and 140
  std::string inside = good;
  inside.replace(inside.size() - 8, 4, Le32(132));  // the null record's content, from byte 128 + 4
  dir.Write("p.shp.md", inside);
  EXPECT_EQ(open(), 2);
  EXPECT_EQ(mappings, 2);
  EXPECT_EQ(testing::ReadWholeFile(dir.File("p.shp.md")), good);  // built again
  dir.Write("p.shx", ShapeFileBuilder().Record(ShapeFileBuilder::Point(1, 2)).IndexBytes());  // another file's
  dir.Write("p.shp.md", inside);
  EXPECT_EQ(open(), 2);
  EXPECT_EQ(mappings, 2);  // the header walk takes the offset
  dir.Write("p.shp.md", good);
  std::filesystem::remove(dir.File("p.shx"));
  EXPECT_EQ(open(), 2);
  EXPECT_EQ(mappings, 2);
}

// Per record the index file holds the record's offset and its table record number: 0 when no
// table was there; a table added later has the index built again.
TEST_F(SHPReaderTest, IndexRecordNumbersOnlyWithATable) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  dir.Write("p.shp",
            ShapeFileBuilder().Record(ShapeFileBuilder::Point(1, 2)).Record(ShapeFileBuilder::Point(3, 4)).Bytes());
  auto indexTail = [&] {
    Open(dir.File("p.shp")).SetActive(false);
    const std::string index = testing::ReadWholeFile(dir.File("p.shp.md"));
    return index.substr(index.size() - 16);
  };
  // Records of 28 bytes (8 header + 20 content) from offset 100.
  EXPECT_EQ(indexTail(), Le32(100) + Le32(0) + Le32(128) + Le32(0));
  dir.Write("p.dbf", testing::ReadWholeFile(kData + "/ne_110m_countries.dbf"));
  EXPECT_EQ(indexTail(), Le32(100) + Le32(1) + Le32(128) + Le32(2));
  EXPECT_EQ(mappings, 2);
}

}  // namespace
}  // namespace globe
