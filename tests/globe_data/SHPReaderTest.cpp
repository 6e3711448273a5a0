#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "Points.h"
#include "ShapeFileBuilder.h"
#include "TempFile.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/DBFReader.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/SHPReader.h"
#include "globe/data/XmlElement.h"

namespace globe {
namespace {

using testing::Deg;
using testing::Le32;
using testing::ShapeFileBuilder;
using Points = std::vector<TGeoPoint>;

const std::string kData = CORVALIS_TEST_DATA_DIR;

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
  static TGeoDataObject& Object(TGlobeSHPReader& r, int index) { return dynamic_cast<TGeoDataObject&>(*r.Objects(index)); }

  TCustomVoduz4 globe;
  testing::TempDir dir;
  int mappings = 0;
};

TEST_F(SHPReaderTest, LandPolygonsWithDefaultTitlesAndCountriesWithTheirNames) {
  TGlobeSHPReader& land = Open(kData + "/ne_110m_land.shp");
  EXPECT_EQ(land.Name(), "ne_110m_land.shp");
  ASSERT_EQ(land.Count(), 125);
  int64_t chains = 0, points = 0;
  for (int32_t i = 0; i < land.Count(); ++i) {
    chains += Object(land, i).Chains().Count();
    points += Object(land, i).Chains().PointCount();
  }
  EXPECT_EQ(chains, 126);
  EXPECT_EQ(points, 5123);
  EXPECT_TRUE(Object(land, 0).Closed());
  EXPECT_EQ(Object(land, 0).Title(), "New Object");  // a table and no title column
  EXPECT_EQ(Object(land, 124).ID(), 125);
  land.SetActive(false);
  EXPECT_EQ(land.Count(), 0);

  TGlobeSHPReader& countries = Open(kData + "/ne_110m_countries.shp", 1);
  ASSERT_EQ(countries.Count(), 177);
  EXPECT_EQ(Object(countries, 1).Title(), "Tanzania");
  EXPECT_EQ(Object(countries, 0).Chains().Count(), 2);  // Fiji's two islands, one at the meridian
  countries.SetTitleColumn(0);                           // changing the column takes titles again
  EXPECT_EQ(Object(countries, 0).Title(), "242");
  countries.SetTitleColumn(7);  // no such field
  EXPECT_EQ(Object(countries, 0).Title(), "");
}

TEST_F(SHPReaderTest, ShapesBecomeChainsPlacedByDivisorsAndShifts) {
  dir.Write("p.shp", ShapeFileBuilder().Record(ShapeFileBuilder::Point(18000, 4500)).Bytes());
  TGlobeSHPReader* shifted = globe.NewObjectSource<TGlobeSHPReader>();
  shifted->SetLongXDivisor(100);
  shifted->SetLongXShift(-180);
  shifted->SetLatYDivisor(100);
  shifted->SetLongXDivisor(0);  // ignored
  Open(dir.File("p.shp"), -1, shifted);
  EXPECT_EQ(Object(*shifted, 0).Chains().Count(), 0);
  EXPECT_EQ(Object(*shifted, 0).GetCentroid(), TGeoPoint(0, 45 * Deg));
  EXPECT_EQ(Object(*shifted, 0).ID(), 0);  // without a table

  const std::string name = dir.Write(
      "s.shp", ShapeFileBuilder()
                   .Record(ShapeFileBuilder::Poly(5, {{{0, 0}, {0, 1}, {1, 0}, {0, 0}}, {{5, 5}, {5, 6}, {5, 5}}}))
                   .Record(ShapeFileBuilder::Poly(3, {{{10, 20}, {-170.5, -20.25}}}))
                   .Record(ShapeFileBuilder::MultiPoint({{1, 2}, {3, 4}}))
                   .Bytes());
  TGlobeSHPReader& r = Open(name);
  ASSERT_EQ(r.Count(), 3);
  EXPECT_TRUE(Object(r, 0).Closed());
  EXPECT_EQ(Object(r, 0).Chains().Count(), 2);
  EXPECT_EQ(testing::PointsOf(Object(r, 0).Chains().Chain(1)), (Points{{5 * Deg, 5 * Deg}, {5 * Deg, 6 * Deg}, {5 * Deg, 5 * Deg}}));
  EXPECT_FALSE(Object(r, 1).Closed());
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
  EXPECT_EQ(Object(r, 0).Title(), "c");
  EXPECT_EQ(Object(r, 0).ID(), 3);
  EXPECT_EQ(Object(r, 0).GetCentroid(), TGeoPoint(7 * Deg, 8 * Deg));
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
  EXPECT_EQ(other->LongXDivisor(), 100);
  EXPECT_EQ(other->LatYDivisor(), 1);
  EXPECT_EQ(other->LatYShift(), -90);
  EXPECT_EQ(other->TitleColumn(), 1);
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

// The index file beside the data spares the mapping pass on the next opening; a stale or
// foreign one is built again.
TEST_F(SHPReaderTest, SecondOpeningUsesTheIndexFileUnlessStale) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  for (const char* ext : {".shp", ".dbf"})
    dir.Write(std::string("c") + ext, testing::ReadWholeFile(kData + "/ne_110m_countries" + ext));
  TGlobeSHPReader& first = Open(dir.File("c.shp"), 1);
  ASSERT_TRUE(std::filesystem::exists(dir.File("c.shp.md")));
  const TGeoRect fijiBounds = first.Objects(0)->GetBounds();
  first.SetActive(false);
  TGlobeSHPReader& second = Open(dir.File("c.shp"));
  EXPECT_EQ(mappings, 1);
  ASSERT_EQ(second.Count(), 177);
  EXPECT_EQ(second.TitleColumn(), 1);  // taken from the index file while unset
  EXPECT_EQ(second.ObjectBounds(0), fijiBounds);
  EXPECT_EQ(second.Objects(0)->Title(), "Fiji");
  EXPECT_EQ(second.Objects(176)->ID(), 177);
  EXPECT_TRUE(second.Objects(3)->Closed());
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

// Per record the index file holds the record's offset and its table record number: 0 when no
// table was there; a table added later has the index built again.
TEST_F(SHPReaderTest, IndexRecordNumbersOnlyWithATable) {
  globe.SetSaveMetaDataLocation(smdWithDataFile);
  dir.Write("p.shp", ShapeFileBuilder().Record(ShapeFileBuilder::Point(1, 2)).Record(ShapeFileBuilder::Point(3, 4)).Bytes());
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
