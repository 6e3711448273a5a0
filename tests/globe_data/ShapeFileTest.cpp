#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "globe/data/MemoryMapStream.h"
#include "globe/data/ShapeFile.h"
#include "ShapeFileBuilder.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::Ring;
using testing::ShapeFileBuilder;

const std::string kData = CORVALIS_TEST_DATA_DIR;

const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

struct Totals {
    int Records = 0;   // records walked
    int Shapes = 0;    // records read as shapes
    std::int64_t Parts = 0;
    std::int64_t Points = 0;
};

// Walks every record as the reader's mapping pass does; the quick check of the indexing pass must
// accept exactly the records that parse, with the same shape type.
Totals Walk(const std::uint8_t* data, std::int64_t size) {
    Totals t;
    if (shapefile::CheckHeader(data, size) != shapefile::hcValid)
        return t;
    TShapeRecord record;
    for (std::int64_t at = shapefile::kHeaderSize, next; (next = shapefile::NextRecordOffset(data, size, at)) >= 0; at = next) {
        ++t.Records;
        std::int32_t checkedType = -1;
        const bool readable = shapefile::IsReadableRecord(data, size, at, &checkedType);
        const bool parsed = shapefile::ParseRecord(data, size, at, record);
        EXPECT_EQ(readable, parsed) << "record at " << at;
        EXPECT_EQ(checkedType, record.ShapeType) << "record at " << at;
        if (!parsed)
            continue;
        ++t.Shapes;
        t.Parts += std::int64_t(record.Parts.size());
        for (const auto& part : record.Parts)
            t.Points += std::int64_t(part.size());
    }
    return t;
}

Totals WalkFile(const std::string& name) {
    TMemoryMapStream stream(name);
    return Walk(stream.Memory(), stream.Size());
}

TEST(ShapeFile, RealFilesHaveTheirPublishedCounts) {
    const Totals land = WalkFile(kData + "/ne_110m_land.shp");
    EXPECT_EQ(land.Records, 125);
    EXPECT_EQ(land.Shapes, 125);
    EXPECT_EQ(land.Parts, 126);
    EXPECT_EQ(land.Points, 5123);
    const Totals countries = WalkFile(kData + "/ne_110m_countries.shp");
    EXPECT_EQ(countries.Shapes, 177);
    EXPECT_EQ(countries.Parts, 286);
    EXPECT_EQ(countries.Points, 10587);
}

TEST(ShapeFile, LargeLandFileWhenPresent) {
    const std::string name = std::string(CORVALIS_SOURCE_DIR) + "/../shared/data/naturalearth/ne_10m_land.shp";
    if (!std::filesystem::exists(name))
        GTEST_SKIP() << "shared map data not found beside the source tree";
    const Totals land = WalkFile(name);
    EXPECT_EQ(land.Shapes, 4048);
    EXPECT_EQ(land.Parts, 4049);
    EXPECT_EQ(land.Points, 408901);
}

TEST(ShapeFile, HeaderChecks) {
    const std::string good = ShapeFileBuilder().Bytes();
    EXPECT_EQ(shapefile::CheckHeader(Bytes(good), std::int64_t(good.size())), shapefile::hcValid);
    const std::string code = ShapeFileBuilder().Bytes(9995);
    EXPECT_EQ(shapefile::CheckHeader(Bytes(code), std::int64_t(code.size())), shapefile::hcBadFileCode);
    const std::string version = ShapeFileBuilder().Bytes(9994, 1001);
    EXPECT_EQ(shapefile::CheckHeader(Bytes(version), std::int64_t(version.size())), shapefile::hcBadVersion);
    EXPECT_EQ(shapefile::CheckHeader(Bytes(good), 99), shapefile::hcBadFileCode);
}

TEST(ShapeFile, ReadsEachShapeType) {
    const std::string file = ShapeFileBuilder()
                                 .Record(ShapeFileBuilder::Point(1.5, -2.5))
                                 .Record(ShapeFileBuilder::Poly(5, {{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}},
                                                                    {{5, 5}, {5, 6}, {6, 6}, {5, 5}}}))
                                 .Record(ShapeFileBuilder::Poly(3, {{{0, 0}, {2, 3}}}))
                                 .Record(ShapeFileBuilder::MultiPoint({{1, 2}, {3, 4}, {5, 6}}))
                                 .Bytes();
    const auto* data = Bytes(file);
    const auto size = std::int64_t(file.size());
    TShapeRecord r;
    std::int64_t at = shapefile::kHeaderSize;

    ASSERT_TRUE(shapefile::ParseRecord(data, size, at, r));
    EXPECT_EQ(r.ShapeType, stPoint);
    ASSERT_EQ(r.Parts.size(), 1u);
    EXPECT_EQ(r.Parts[0][0].X, 1.5);
    EXPECT_EQ(r.Parts[0][0].Y, -2.5);

    at = shapefile::NextRecordOffset(data, size, at);
    EXPECT_EQ(at, 100 + 8 + 20);
    ASSERT_TRUE(shapefile::ParseRecord(data, size, at, r));
    EXPECT_EQ(r.ShapeType, stPolygon);
    ASSERT_EQ(r.Parts.size(), 2u);
    EXPECT_EQ(r.Parts[0].size(), 5u);
    EXPECT_EQ(r.Parts[1].size(), 4u);
    EXPECT_EQ(r.Parts[1][2].X, 6);

    at = shapefile::NextRecordOffset(data, size, at);
    ASSERT_TRUE(shapefile::ParseRecord(data, size, at, r));
    EXPECT_EQ(r.ShapeType, stPolyLine);
    EXPECT_EQ(r.Parts[0][1].Y, 3);

    at = shapefile::NextRecordOffset(data, size, at);
    ASSERT_TRUE(shapefile::ParseRecord(data, size, at, r));
    EXPECT_EQ(r.ShapeType, stMultiPoint);
    ASSERT_EQ(r.Parts[0].size(), 3u);
    EXPECT_EQ(r.Parts[0][2].Y, 6);

    EXPECT_EQ(shapefile::NextRecordOffset(data, size, shapefile::NextRecordOffset(data, size, at)), -1);
}

TEST(ShapeFile, UnreadableRecordsAreSkippedByTheirLength) {
    using testing::Le32s;
    using testing::LeDouble;
    const std::string pointZ = Le32s(11) + LeDouble(1) + LeDouble(2) + LeDouble(3) + LeDouble(4);
    std::string badStarts = ShapeFileBuilder::Poly(5, {{{0, 0}, {1, 1}}, {{2, 2}}});
    badStarts.replace(44, 4, Le32s(1));   // first part not starting at point 0
    std::string tooMany = ShapeFileBuilder::Poly(3, {{{0, 0}, {1, 1}}});
    tooMany.replace(40, 4, Le32s(0x7FFFFFFF));   // point count far beyond the content
    const std::string file = ShapeFileBuilder()
                                 .Record("")                 // content length 0
                                 .Record(Le32s(0))           // null shape
                                 .Record(pointZ)
                                 .Record(badStarts)
                                 .Record(tooMany)
                                 .Record(ShapeFileBuilder::MultiPoint({{1, 2}}).substr(0, 40))  // count cut off
                                 .Record(ShapeFileBuilder::Point(7, 8))
                                 .Bytes();
    const Totals t = Walk(Bytes(file), std::int64_t(file.size()));
    EXPECT_EQ(t.Records, 7);
    EXPECT_EQ(t.Shapes, 1);
    EXPECT_EQ(t.Points, 1);
}

TEST(ShapeFile, RecordsRunningPastTheEndEndTheWalk) {
    const std::string point = ShapeFileBuilder::Point(1, 2);
    const std::string file = ShapeFileBuilder().Record(point).RawRecord(0x7FFFFFFF, point).Bytes();
    const Totals t = Walk(Bytes(file), std::int64_t(file.size()));
    EXPECT_EQ(t.Records, 1);
    const std::string negative = ShapeFileBuilder().RawRecord(0xFFFFFFF0, point).Record(point).Bytes();
    EXPECT_EQ(Walk(Bytes(negative), std::int64_t(negative.size())).Records, 0);
}

// Cut and bit-flipped copies of a real file: fewer records at most, never a crash.
TEST(ShapeFile, DamagedFilesNeverCrash) {
    const std::string original = testing::ReadWholeFile(kData + "/ne_110m_land.shp");
    const Totals whole = Walk(Bytes(original), std::int64_t(original.size()));
    std::mt19937 random(11);
    for (int i = 0; i < 40; ++i) {
        const std::size_t cut = std::uniform_int_distribution<std::size_t>(0, original.size())(random);
        // Copy into a buffer of exactly the cut size so that reading past it is caught by sanitizers.
        std::vector<std::uint8_t> bytes(original.begin(), original.begin() + std::ptrdiff_t(cut));
        const Totals t = Walk(bytes.data(), std::int64_t(bytes.size()));
        EXPECT_LE(t.Shapes, whole.Shapes);
    }
    for (int i = 0; i < 300; ++i) {
        std::vector<std::uint8_t> bytes(original.begin(), original.end());
        for (int flips = 0; flips < 4; ++flips) {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
            bytes[at] ^= std::uint8_t(1u << (random() % 8));
        }
        Walk(bytes.data(), std::int64_t(bytes.size()));
    }
}

} // namespace
} // namespace globe
