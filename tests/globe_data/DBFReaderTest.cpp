#include <gtest/gtest.h>

#include <random>

#include "ShapeFileBuilder.h"
#include "TempFile.h"
#include "globe/data/DBFReader.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::TableBytes;

const std::string kData = CORVALIS_TEST_DATA_DIR;

TEST(DBFReader, ReadsNamesFromTheCountryTable) {
  TGlobeDBFReader dbf(kData + "/ne_110m_countries.dbf");
  ASSERT_EQ(dbf.FieldCount(), 2);
  EXPECT_EQ(dbf.FieldName(1), "name");
  EXPECT_EQ(dbf.FieldType(1), 'C');
  EXPECT_EQ(dbf.RecordCount(), 177);
  // The same rows, in the same order, as the ".MID" file written from the same data.
  dbf.Seek(1);
  EXPECT_EQ(dbf.Field(0), "242");
  EXPECT_EQ(dbf.Field(1), "Fiji");
  dbf.Seek(3);
  EXPECT_EQ(dbf.Field(1), "W. Sahara");
  EXPECT_EQ(dbf.Field(2), "");
  EXPECT_EQ(dbf.Field(-1), "");
}

TEST(DBFReader, FieldOffsetsFollowTheDeletionFlagAndEarlierFields) {
  testing::TempDir dir;
  TGlobeDBFReader dbf(dir.Write("t.dbf", TableBytes({{"A", 3}, {"BB", 5}, {"C", 1}}, {" abc  x  Y", "*12 helloZ"}, 0x83)));
  EXPECT_EQ(dbf.RecordLength(), 10);
  dbf.Seek(2);
  EXPECT_EQ(dbf.CurrentRecord(), 2);
  EXPECT_EQ(dbf.Field(0) + "|" + dbf.Field(1) + "|" + dbf.Field(2), "12|hello|Z");
  dbf.Seek(1);
  dbf.Seek(0);  // ignored: the record stays
  EXPECT_EQ(dbf.Field(0) + "|" + dbf.Field(1) + "|" + dbf.Field(2), "abc|x|Y");
  dbf.Seek(3);  // beyond the file: blank record
  EXPECT_EQ(dbf.Field(1), "");
}

TEST(DBFReader, RejectsOtherVersionsAndHeadersBeyondTheFile) {
  testing::TempDir dir;
  auto messageFor = [&](const std::string& bytes) {
    return ThrownMessage<EDBFException>([&] { TGlobeDBFReader dbf(dir.Write("x.dbf", bytes)); });
  };
  std::string bigHeader = TableBytes({{"A", 3}}, {" abc"});
  bigHeader[8] = char(0xFF);  // header length far past the end of the file
  EXPECT_EQ(messageFor(TableBytes({{"A", 3}}, {" abc"}, 0x30)), "Unsupported DBase III version in Stream");
  EXPECT_EQ(messageFor(""), "Unsupported DBase III version in Stream");
  EXPECT_EQ(messageFor(std::string("\x03\x01", 2)), "Invalid DBase III header in Stream");
  EXPECT_EQ(messageFor(bigHeader), "Invalid DBase III header in Stream");
  EXPECT_EQ(messageFor(TableBytes({{"A", 3}}, {" abc"})), "(nothing thrown)");
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

}  // namespace
}  // namespace globe
