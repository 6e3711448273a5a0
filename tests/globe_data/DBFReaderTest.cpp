#include <gtest/gtest.h>

#include <random>

#include "globe/data/DBFReader.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;

std::string Le16(int v) { return {char(v & 0xFF), char((v >> 8) & 0xFF)}; }
std::string Le32(std::uint32_t v) { return Le16(int(v & 0xFFFF)) + Le16(int(v >> 16)); }

// A dBASE III table with the given character fields (name, length) and records.
std::string MakeDBF(const std::vector<std::pair<std::string, int>>& fields,
                    const std::vector<std::string>& records, int version = 3) {
    int recordLength = 1;
    for (const auto& f : fields)
        recordLength += f.second;
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    std::string out;
    out += char(version);
    out += std::string("\x7E\x0C\x06", 3);
    out += Le32(std::uint32_t(records.size())) + Le16(headerLength) + Le16(recordLength);
    out += std::string(20, '\0');
    for (const auto& f : fields) {
        std::string d(32, '\0');
        d.replace(0, f.first.size(), f.first);
        d[11] = 'C';
        d[16] = char(f.second);
        out += d;
    }
    out += '\r';
    for (const auto& r : records)
        out += r;
    return out;
}

TEST(DBFReader, ReadsNamesFromTheCountryTable) {
    TGlobeDBFReader dbf(kData + "/ne_110m_countries.dbf");
    ASSERT_EQ(dbf.FieldCount(), 2);
    EXPECT_EQ(dbf.FieldName(0), "id");
    EXPECT_EQ(dbf.FieldName(1), "name");
    EXPECT_EQ(dbf.FieldType(1), 'C');
    EXPECT_EQ(dbf.RecordCount(), 177);
    // The same rows, in the same order, as the ".MID" file written from the same data.
    dbf.Seek(1);
    EXPECT_EQ(dbf.Field(0), "242");
    EXPECT_EQ(dbf.Field(1), "Fiji");
    dbf.Seek(2);
    EXPECT_EQ(dbf.Field(1), "Tanzania");
    dbf.Seek(3);
    EXPECT_EQ(dbf.Field(1), "W. Sahara");
    EXPECT_EQ(dbf.Field(2), "");
    EXPECT_EQ(dbf.Field(-1), "");
}

TEST(DBFReader, FieldOffsetsFollowTheDeletionFlagAndEarlierFields) {
    TempDir dir;
    const std::string name = dir.Write("t.dbf", MakeDBF({{"A", 3}, {"BB", 5}, {"C", 1}},
                                                        {" abc  x  Y", "*12 helloZ"}, 0x83));
    TGlobeDBFReader dbf(name);
    EXPECT_EQ(dbf.RecordLength(), 10);
    dbf.Seek(2);
    EXPECT_EQ(dbf.CurrentRecord(), 2);
    EXPECT_EQ(dbf.Field(0), "12");
    EXPECT_EQ(dbf.Field(1), "hello");
    EXPECT_EQ(dbf.Field(2), "Z");
    dbf.Seek(1);
    EXPECT_EQ(dbf.Field(0), "abc");
    EXPECT_EQ(dbf.Field(1), "x");
    dbf.Seek(0);                     // ignored: the record stays
    EXPECT_EQ(dbf.Field(2), "Y");
    dbf.Seek(3);                     // beyond the file: blank record
    EXPECT_EQ(dbf.Field(1), "");
}

TEST(DBFReader, RejectsOtherVersionsAndHeadersBeyondTheFile) {
    TempDir dir;
    auto messageFor = [&](const std::string& bytes) -> std::string {
        try {
            TGlobeDBFReader dbf(dir.Write("x.dbf", bytes));
        } catch (const EDBFException& e) {
            return e.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(messageFor(MakeDBF({{"A", 3}}, {" abc"}, 0x30)), "Unsupported DBase III version in Stream");
    EXPECT_EQ(messageFor(""), "Unsupported DBase III version in Stream");
    EXPECT_EQ(messageFor(std::string("\x03\x01", 2)), "Invalid DBase III header in Stream");
    std::string bigHeader = MakeDBF({{"A", 3}}, {" abc"});
    bigHeader[8] = char(0xFF);       // header length far past the end of the file
    EXPECT_EQ(messageFor(bigHeader), "Invalid DBase III header in Stream");
    EXPECT_EQ(messageFor(MakeDBF({{"A", 3}}, {" abc"})), "(accepted)");
}

// Cut and corrupted copies of a real table: any outcome but a crash or a read out of bounds.
TEST(DBFReader, DamagedTablesNeverCrash) {
    TempDir dir;
    const std::string original = testing::ReadWholeFile(kData + "/ne_110m_countries.dbf");
    ASSERT_GT(original.size(), 1000u);
    std::mt19937 random(7);
    auto exercise = [&](const std::string& bytes) {
        try {
            TGlobeDBFReader dbf(dir.Write("d.dbf", bytes));
            for (std::int64_t r = 1; r <= std::min<std::int64_t>(dbf.RecordCount(), 300); ++r) {
                dbf.Seek(r);
                for (int f = 0; f < dbf.FieldCount(); ++f)
                    dbf.Field(f);
            }
        } catch (const EDBFException&) {
        }
    };
    for (std::size_t cut : {0, 1, 31, 32, 33, 64, 95, 96, 97, 200, 5000})
        exercise(original.substr(0, cut));
    for (int i = 0; i < 200; ++i) {
        std::string damaged = original;
        std::uniform_int_distribution<std::size_t> at(0, 127);   // the header and first fields
        damaged[at(random)] ^= char(1 << (random() % 8));
        exercise(damaged);
    }
}

} // namespace
} // namespace globe
