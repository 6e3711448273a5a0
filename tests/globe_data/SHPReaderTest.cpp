#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/DBFReader.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/SHPReader.h"
#include "globe/data/ShapeFile.h"
#include "globe/data/XmlElement.h"
#include "ShapeFileBuilder.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::ShapeFileBuilder;
using testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;

class SHPReaderTest : public ::testing::Test {
protected:
    SHPReaderTest() { globe.SetSaveMetaDataLocation(smdDiscard); }

    TGlobeSHPReader& Open(const std::string& fileName) {
        reader->SetFileName(fileName);
        reader->SetActive(true);
        return *reader;
    }
    TGeoDataObject& Object(int index) {
        auto* object = dynamic_cast<TGeoDataObject*>(reader->Objects(index));
        EXPECT_NE(object, nullptr);
        return *object;
    }
    std::string ActivationError(const std::string& fileName) {
        try {
            Open(fileName);
        } catch (const std::exception& e) {
            return e.what();
        }
        return reader->Active() ? "(active)" : "(inactive)";
    }

    TCustomVoduz4 globe;
    TGlobeSHPReader* reader = globe.NewObjectSource<TGlobeSHPReader>();
    TempDir dir;
};

struct Totals {
    int64_t Chains = 0, Points = 0;
};

Totals Count(TGlobeSHPReader& reader) {
    Totals t;
    for (int32_t i = 0; i < reader.Count(); ++i) {
        auto* object = dynamic_cast<TGeoDataObject*>(reader.Objects(i));
        t.Chains += object->Chains().Count();
        t.Points += object->Chains().PointCount();
    }
    return t;
}

TEST_F(SHPReaderTest, LandPolygonsWithDefaultTitles) {
    Open(kData + "/ne_110m_land.shp");
    ASSERT_TRUE(reader->Active());
    EXPECT_EQ(reader->Name(), "ne_110m_land.shp");
    ASSERT_EQ(reader->Count(), 125);
    const Totals t = Count(*reader);
    EXPECT_EQ(t.Chains, 126);
    EXPECT_EQ(t.Points, 5123);
    EXPECT_TRUE(Object(0).Closed());
    // A table and no title column: "New Object" and the record number.
    EXPECT_EQ(Object(0).Title(), "New Object");
    EXPECT_EQ(Object(0).ID(), 1);
    EXPECT_EQ(Object(124).ID(), 125);
    reader->SetActive(false);
    EXPECT_EQ(reader->Count(), 0);
}

TEST_F(SHPReaderTest, CountryTitlesFromTheNameColumn) {
    reader->SetTitleColumn(1);
    Open(kData + "/ne_110m_countries.shp");
    ASSERT_EQ(reader->Count(), 177);
    EXPECT_EQ(Object(0).Title(), "Fiji");
    EXPECT_EQ(Object(1).Title(), "Tanzania");
    EXPECT_EQ(Object(1).ID(), 2);
    // Fiji's two islands: the second ring touches the 180-degree meridian.
    EXPECT_EQ(Object(0).Chains().Count(), 2);
    // Changing the column takes titles again.
    reader->SetTitleColumn(0);
    EXPECT_EQ(Object(0).Title(), "242");
    reader->SetTitleColumn(7);   // no such field
    EXPECT_EQ(Object(0).Title(), "");
}

TEST_F(SHPReaderTest, DivisorsAndShiftsPlacePoints) {
    const std::string name =
        dir.Write("p.shp", ShapeFileBuilder().Record(ShapeFileBuilder::Point(18000, 4500)).Bytes());
    reader->SetLongXDivisor(100);
    reader->SetLongXShift(-180);
    reader->SetLatYDivisor(100);
    reader->SetLongXDivisor(0);   // ignored
    Open(name);
    ASSERT_EQ(reader->Count(), 1);
    EXPECT_EQ(Object(0).Chains().Count(), 0);
    EXPECT_EQ(Object(0).GetCentroid(), TGeoPoint(0, 45 * 5400000));
    // Without a table the title stays empty and the ID 0.
    EXPECT_EQ(Object(0).Title(), "");
    EXPECT_EQ(Object(0).ID(), 0);
}

TEST_F(SHPReaderTest, ShapesBecomeChains) {
    const std::string name = dir.Write(
        "s.shp", ShapeFileBuilder()
                     .Record(ShapeFileBuilder::Poly(5, {{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}},
                                                        {{5, 5}, {5, 6}, {6, 6}, {5, 5}}}))
                     .Record(ShapeFileBuilder::Poly(3, {{{10, 20}, {-170.5, -20.25}}}))
                     .Record(ShapeFileBuilder::MultiPoint({{1, 2}, {3, 4}, {5, 6}}))
                     .Bytes());
    Open(name);
    ASSERT_EQ(reader->Count(), 3);
    TGeoDataObject& polygon = Object(0);
    EXPECT_TRUE(polygon.Closed());
    ASSERT_EQ(polygon.Chains().Count(), 2);
    EXPECT_EQ(polygon.Chains().Chain(0).Count(), 5);
    EXPECT_EQ(polygon.Chains().Chain(1).Count(), 4);
    EXPECT_EQ(polygon.Chains().Chain(1).Point(2), TGeoPoint(6 * 5400000, 6 * 5400000));
    TGeoDataObject& line = Object(1);
    EXPECT_FALSE(line.Closed());
    ASSERT_EQ(line.Chains().Count(), 1);
    EXPECT_EQ(line.Chains().Chain(0).Point(1), TGeoPoint(-(170 * 5400000 + 30 * 90000), -(20 * 5400000 + 15 * 90000)));
    TGeoDataObject& multi = Object(2);
    ASSERT_EQ(multi.Chains().Count(), 1);
    EXPECT_EQ(multi.Chains().Chain(0).Count(), 3);
}

TEST_F(SHPReaderTest, RecordsNotReadKeepTheTableAligned) {
    using testing::Le32s;
    using testing::LeDouble;
    const std::string pointZ = Le32s(11) + LeDouble(1) + LeDouble(2) + LeDouble(3) + LeDouble(4);
    const std::string name = dir.Write("z.shp", ShapeFileBuilder()
                                                    .Record(pointZ)
                                                    .Record("")
                                                    .Record(ShapeFileBuilder::Point(7, 8))
                                                    .Bytes());
    // Three records of one field "T" (1 byte): a, b, c.
    std::string dbf = std::string(1, '\x03') + "\x7E\x0C\x06" + Le32s(3) + std::string("\x41\x00\x02\x00", 4) + std::string(20, '\0');
    std::string field(32, '\0');
    field[0] = 'T';
    field[11] = 'C';
    field[16] = 1;
    dbf += field + "\r" + " a" + " b" + " c";
    dir.Write("z.dbf", dbf);
    reader->SetTitleColumn(0);
    Open(name);
    ASSERT_EQ(reader->Count(), 1);
    EXPECT_EQ(Object(0).Title(), "c");
    EXPECT_EQ(Object(0).ID(), 3);
    EXPECT_EQ(Object(0).GetCentroid(), TGeoPoint(7 * 5400000, 8 * 5400000));
}

TEST_F(SHPReaderTest, ActivationFailures) {
    const std::string bad = dir.Write("bad.shp", ShapeFileBuilder().Bytes(9995));
    EXPECT_EQ(ActivationError(bad), "Invalid SHP file " + bad);
    EXPECT_FALSE(reader->Active());
    const std::string version = dir.Write("v.shp", ShapeFileBuilder().Bytes(9994, 999));
    EXPECT_EQ(ActivationError(version), "Invalid SHP file version " + version);
    const std::string withTable = dir.Write("t.shp", ShapeFileBuilder().Record(ShapeFileBuilder::Point(1, 1)).Bytes());
    dir.Write("t.dbf", std::string(1, '\x30') + std::string(40, '\0'));
    EXPECT_EQ(ActivationError(withTable), "Unsupported DBase III version in Stream");
    EXPECT_EQ(ActivationError(dir.File("missing.shp")), "(inactive)");
}

TEST_F(SHPReaderTest, EnvironmentKeepsTheSettings) {
    reader->SetLongXDivisor(100);
    reader->SetLatYShift(-90);
    reader->SetTitleColumn(1);
    const std::unique_ptr<TGXML_Element> element = reader->SaveEnvironment();
    TGlobeSHPReader* other = globe.NewObjectSource<TGlobeSHPReader>();
    other->LoadEnvironment(element.get());
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
    reader->SetTitleColumn(1);
    for (int i = 0; i < 24; ++i) {
        std::string s = shp.substr(0, std::uniform_int_distribution<std::size_t>(0, shp.size())(random));
        std::string d = dbf;
        for (int flips = 0; flips < 8 && !s.empty(); ++flips) {
            s[std::uniform_int_distribution<std::size_t>(0, s.size() - 1)(random)] ^= char(1 << (random() % 8));
            d[std::uniform_int_distribution<std::size_t>(0, 200)(random)] ^= char(1 << (random() % 8));
        }
        reader->SetActive(false);
        dir.Write("d.dbf", d);
        const std::string name = dir.Write("d.shp", s);
        try {
            Open(name);
            for (int32_t n = 0; n < reader->Count(); ++n)
                reader->Objects(n);
        } catch (const EGlobeException&) {
        } catch (const EDBFException&) {
        }
    }
}

} // namespace
} // namespace globe

namespace globe {
namespace {

// The index file beside the data spares the mapping pass on the next opening.
class SHPMetaDataTest : public ::testing::Test {
protected:
    SHPMetaDataTest() {
        globe.SetSaveMetaDataLocation(smdWithDataFile);
        globe.OnProgress = [this](TCustomVoduz4&, TProgressMessage kind, const std::string&, bool&) {
            if (kind == pmStart)
                ++mappings;
        };
        for (const char* ext : {".shp", ".dbf"})
            dir.Write(std::string("c") + ext, testing::ReadWholeFile(kData + "/ne_110m_countries" + ext));
    }
    TGlobeSHPReader& OpenNew(int32_t titleColumn) {
        TGlobeSHPReader* reader = globe.NewObjectSource<TGlobeSHPReader>();
        reader->SetTitleColumn(titleColumn);
        reader->SetFileName(dir.File("c.shp"));
        reader->SetActive(true);
        return *reader;
    }

    TCustomVoduz4 globe;
    TempDir dir;
    int mappings = 0;
};

TEST_F(SHPMetaDataTest, SecondOpeningUsesTheIndexFile) {
    TGlobeSHPReader& first = OpenNew(1);
    EXPECT_EQ(mappings, 1);
    ASSERT_TRUE(std::filesystem::exists(dir.File("c.shp.md")));
    const TGeoRect fijiBounds = first.Objects(0)->GetBounds();
    first.SetActive(false);

    TGlobeSHPReader& second = OpenNew(-1);
    EXPECT_EQ(mappings, 1);
    ASSERT_EQ(second.Count(), 177);
    EXPECT_EQ(second.TitleColumn(), 1);   // taken from the index file while unset
    EXPECT_EQ(second.ObjectBounds(0), fijiBounds);
    EXPECT_EQ(second.Objects(0)->Title(), "Fiji");
    EXPECT_EQ(second.Objects(176)->ID(), 177);
    EXPECT_TRUE(second.Objects(3)->Closed());
}

TEST_F(SHPMetaDataTest, StaleOrForeignIndexFilesAreRebuilt) {
    OpenNew(1).SetActive(false);
    const auto later = std::filesystem::last_write_time(dir.File("c.shp.md")) + std::chrono::seconds(10);
    std::filesystem::last_write_time(dir.File("c.shp"), later);
    OpenNew(1).SetActive(false);
    EXPECT_EQ(mappings, 2);

    std::string bytes = testing::ReadWholeFile(dir.File("c.shp.md"));
    bytes[0] = 2;   // not version 259
    dir.Write("c.shp.md", bytes);
    std::filesystem::last_write_time(dir.File("c.shp.md"), later + std::chrono::seconds(10));
    TGlobeSHPReader& reader = OpenNew(1);
    EXPECT_EQ(mappings, 3);
    EXPECT_EQ(reader.Count(), 177);
    EXPECT_EQ(testing::ReadWholeFile(dir.File("c.shp.md"))[0], char(3));   // written anew
}

// Per record the index file holds the record's offset and its table record number: 0 when no
// table was there; a table added later has the index built again.
TEST_F(SHPMetaDataTest, RecordNumbersOnlyWithATable) {
    dir.Write("p.shp", ShapeFileBuilder()
                           .Record(ShapeFileBuilder::Point(1, 2))
                           .Record(ShapeFileBuilder::Point(3, 4))
                           .Bytes());
    const auto openPoints = [&] {
        TGlobeSHPReader* reader = globe.NewObjectSource<TGlobeSHPReader>();
        reader->SetFileName(dir.File("p.shp"));
        reader->SetActive(true);
        reader->SetActive(false);
    };
    openPoints();
    using testing::Le32s;
    // Records of 28 bytes (8 header + 20 content) from offset 100.
    const std::string withoutTable = Le32s(100) + Le32s(0) + Le32s(128) + Le32s(0);
    std::string index = testing::ReadWholeFile(dir.File("p.shp.md"));
    EXPECT_EQ(index.substr(index.size() - 16), withoutTable);

    std::string table = testing::ReadWholeFile(kData + "/ne_110m_countries.dbf");
    dir.Write("p.dbf", table);
    openPoints();
    EXPECT_EQ(mappings, 2);
    index = testing::ReadWholeFile(dir.File("p.shp.md"));
    EXPECT_EQ(index.substr(index.size() - 16), Le32s(100) + Le32s(1) + Le32s(128) + Le32s(2));
}

} // namespace
} // namespace globe
