#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/support/ShapeFileWriter.h"
#include "globe/data/DBFReader.h"
#include "globe/data/ShapeFile.h"

namespace fs = std::filesystem;
using bench::TShapeFileWriter;
using globe::TShapePoint;
using globe::TShapeRecord;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Big32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

TShapeRecord Polygon(std::vector<std::vector<TShapePoint>> parts) {
  TShapeRecord record;
  record.ShapeType = globe::stPolygon;
  record.Parts = std::move(parts);
  return record;
}

class ShapeFileWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("shape-writer-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ShapeFileWriterTest, RecordsReadBackThroughTheShapefileParserAndTheIndex) {
  const TShapeRecord square = Polygon({{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}});
  const TShapeRecord twoRings = Polygon({{{-10, -5}, {-10, 5}, {10, 5}, {-10, -5}}, {{1.5, 2.25}, {2, 2}, {1.5, 2.25}}});
  {
    TShapeFileWriter writer((dir_ / "land").string());
    writer.AddPolygon(square, 7);
    writer.AddPolygon(twoRings, 123456789012LL);
    EXPECT_EQ(writer.Records(), 2);
  }
  const auto shp = ReadAll(dir_ / "land.shp");
  ASSERT_EQ(globe::shapefile::CheckHeader(shp.data(), static_cast<int64_t>(shp.size())), globe::shapefile::hcValid);
  EXPECT_EQ(Big32(shp, 24) * 2, shp.size());  // file length in 16-bit words

  const auto shx = ReadAll(dir_ / "land.shx");
  ASSERT_EQ(shx.size(), 100u + 2 * 8);
  EXPECT_EQ(Big32(shx, 24) * 2, shx.size());

  int64_t offset = globe::shapefile::kHeaderSize;
  for (const TShapeRecord* expected : {&square, &twoRings}) {
    const size_t n = static_cast<size_t>(expected - &square == 0 ? 0 : 1);
    SCOPED_TRACE(n);
    EXPECT_EQ(Big32(shx, 100 + 8 * n) * 2, offset);
    TShapeRecord read;
    ASSERT_TRUE(globe::shapefile::ParseRecord(shp.data(), static_cast<int64_t>(shp.size()), offset, read));
    EXPECT_EQ(read.ShapeType, globe::stPolygon);
    ASSERT_EQ(read.Parts.size(), expected->Parts.size());
    for (size_t p = 0; p < read.Parts.size(); ++p) {
      ASSERT_EQ(read.Parts[p].size(), expected->Parts[p].size());
      for (size_t i = 0; i < read.Parts[p].size(); ++i) {
        EXPECT_EQ(read.Parts[p][i].X, expected->Parts[p][i].X);
        EXPECT_EQ(read.Parts[p][i].Y, expected->Parts[p][i].Y);
      }
    }
    EXPECT_EQ(Big32(shx, 100 + 8 * n + 4) * 2 + 8,
              globe::shapefile::NextRecordOffset(shp.data(), static_cast<int64_t>(shp.size()), offset) - offset);
    offset = globe::shapefile::NextRecordOffset(shp.data(), static_cast<int64_t>(shp.size()), offset);
  }
  EXPECT_EQ(offset, static_cast<int64_t>(shp.size()));

  globe::TGlobeDBFReader dbf((dir_ / "land.dbf").string());
  ASSERT_EQ(dbf.RecordCount(), 2);
  ASSERT_EQ(dbf.FieldCount(), 1);
  EXPECT_EQ(dbf.FieldName(0), "id");
  EXPECT_EQ(dbf.FieldType(0), 'N');
  dbf.Seek(1);
  EXPECT_EQ(dbf.Field(0), "7");
  dbf.Seek(2);
  EXPECT_EQ(dbf.Field(0), "123456789012");
}

TEST_F(ShapeFileWriterTest, HeaderBoundsSpanEveryRecord) {
  {
    TShapeFileWriter writer((dir_ / "b").string());
    writer.AddPolygon(Polygon({{{-3, 4}, {5, -6}, {-3, 4}}}), 1);
    writer.AddPolygon(Polygon({{{10, 1}, {11, 2}, {10, 1}}}), 2);
  }
  const auto shp = ReadAll(dir_ / "b.shp");
  double box[4];
  std::memcpy(box, shp.data() + 36, sizeof box);  // little-endian hosts only, as the readers
  EXPECT_EQ(box[0], -3);
  EXPECT_EQ(box[1], -6);
  EXPECT_EQ(box[2], 11);
  EXPECT_EQ(box[3], 4);
}

TEST_F(ShapeFileWriterTest, RefusesEmptyPolygonsAndUncreatableFiles) {
  TShapeFileWriter writer((dir_ / "e").string());
  EXPECT_THROW(writer.AddPolygon(Polygon({}), 1), std::invalid_argument);
  EXPECT_THROW(writer.AddPolygon(Polygon({{}}), 1), std::invalid_argument);
  EXPECT_EQ(writer.Records(), 0);
  EXPECT_THROW(TShapeFileWriter((dir_ / "missing" / "x").string()), std::runtime_error);
}

}  // namespace
