#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "ShapeFileBuilder.h"
#include "TempFile.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/ShapeFile.h"

namespace globe {
namespace {

using testing::Le32;
using testing::ShapeFileBuilder;

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
  for (std::int64_t at = shapefile::kHeaderSize, next; (next = shapefile::NextRecordOffset(data, size, at)) >= 0; at = next) {
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

Totals Walk(const std::string& bytes) { return Walk(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::int64_t(bytes.size())); }

TEST(ShapeFile, RealFilesHaveTheirPublishedCounts) {
  const struct {
    std::string Name;
    int Shapes;
    std::int64_t Parts, Points;
  } files[] = {{kData + "/ne_110m_land.shp", 125, 126, 5123},
               {kData + "/ne_110m_countries.shp", 177, 286, 10587},
               // The large file of the shared map data, when it is there beside the source tree.
               {std::string(CORVALIS_SOURCE_DIR) + "/../shared/data/naturalearth/ne_10m_land.shp", 4048, 4049, 408901}};
  for (const auto& f : files) {
    if (!std::filesystem::exists(f.Name)) continue;
    TMemoryMapStream stream(f.Name);
    const Totals t = Walk(stream.Memory(), stream.Size());
    EXPECT_EQ(t.Records, f.Shapes) << f.Name;
    EXPECT_EQ(t.Shapes, f.Shapes) << f.Name;
    EXPECT_EQ(t.Parts, f.Parts) << f.Name;
    EXPECT_EQ(t.Points, f.Points) << f.Name;
  }
}

TEST(ShapeFile, HeaderChecks) {
  auto check = [](const std::string& bytes, std::int64_t size) {
    return shapefile::CheckHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), size);
  };
  const std::string good = ShapeFileBuilder().Bytes();
  EXPECT_EQ(check(good, std::int64_t(good.size())), shapefile::hcValid);
  EXPECT_EQ(check(ShapeFileBuilder().Bytes(9995), 100), shapefile::hcBadFileCode);
  EXPECT_EQ(check(ShapeFileBuilder().Bytes(9994, 1001), 100), shapefile::hcBadVersion);
  EXPECT_EQ(check(good, 99), shapefile::hcBadFileCode);
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
  EXPECT_EQ(t.Records, 7);
  EXPECT_EQ(t.Shapes, 1);
  EXPECT_EQ(t.Points, 1);
  const std::string point = ShapeFileBuilder::Point(1, 2);
  EXPECT_EQ(Walk(ShapeFileBuilder().Record(point).RawRecord(0x7FFFFFFF, point).Bytes()).Records, 1);
  EXPECT_EQ(Walk(ShapeFileBuilder().RawRecord(0xFFFFFFF0, point).Record(point).Bytes()).Records, 0);
}

// Cut and bit-flipped copies of a real file: fewer records at most, never a crash.
TEST(ShapeFile, DamagedFilesNeverCrash) {
  const std::string original = testing::ReadWholeFile(kData + "/ne_110m_land.shp");
  const Totals whole = Walk(original);
  std::mt19937 random(11);
  for (int i = 0; i < 340; ++i) {
    // A buffer of exactly the cut size, so that reading past it is caught by sanitizers.
    const std::size_t cut = i < 40 ? std::uniform_int_distribution<std::size_t>(0, original.size())(random) : original.size();
    std::vector<std::uint8_t> bytes(original.begin(), original.begin() + std::ptrdiff_t(cut));
    for (int flips = 0; flips < 4 && i >= 40; ++flips)
      bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^= std::uint8_t(1u << (random() % 8));
    const Totals t = Walk(bytes.data(), std::int64_t(bytes.size()));
    if (i < 40) EXPECT_LE(t.Shapes, whole.Shapes);
  }
}

}  // namespace
}  // namespace globe
