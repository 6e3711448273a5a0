#include <gtest/gtest.h>

#include <random>

#include "globe/data/GlobeException.h"
#include "globe/data/MIFFile.h"
#include "platform/ConvertError.h"
#include "TempFile.h"

namespace globe {
namespace {

using testing::TempDir;

const std::string kData = CORVALIS_TEST_DATA_DIR;
const std::string kHeader = "Version 300\nDelimiter \",\"\nCoordSys Earth Projection 1, 104\nColumns 1\n  name Char(10)\nData\n\n";

TGeoPoint Deg(long double lon, long double lat) { return TGeoPoint::FromDegrees(lon, lat); }

// Opens a MIF (and MID when given), reads the header and indexes every object.
std::unique_ptr<TMIFFile> Open(TempDir& dir, const std::string& mif, const std::string* mid = nullptr) {
    const std::string name = dir.Write("t.mif", mif);
    if (mid)
        dir.Write("t.mid", *mid);
    auto file = std::make_unique<TMIFFile>(name);
    file->ReadHeader();
    while (file->ReadObject()) {
    }
    return file;
}

TEST(MIFFile, ReadsTheCountryFile) {
    TMIFFile file(kData + "/ne_110m_countries.mif");
    file.ReadHeader();
    EXPECT_EQ(file.Version, 300);
    EXPECT_EQ(file.Delimiter, ',');
    EXPECT_EQ(file.CoordSys, "CoordSys Earth Projection 1, 104");
    EXPECT_EQ(file.ColumnNames, (std::vector<std::string>{"id=Char(80)", "name=Char(80)"}));
    ASSERT_TRUE(file.HasMID());
    while (file.ReadObject()) {
    }
    ASSERT_EQ(file.Count(), 177);
    // The same polygons as the shapefile written from the same data: 286 rings, 10,587 points.
    std::size_t chains = 0, points = 0;
    for (int i = 0; i < file.Count(); ++i) {
        const TMIFObject object = file.GetObject(i, false);
        EXPECT_TRUE(object.Closed);
        chains += object.Chains.size();
        for (const auto& chain : object.Chains)
            points += chain.size();
    }
    EXPECT_EQ(chains, 286u);
    EXPECT_EQ(points, 10587u);

    TMIFObject fiji = file.GetObject(0, true);
    EXPECT_EQ(fiji.Title, "242");   // column 0 by default
    ASSERT_EQ(fiji.Chains.size(), 2u);
    EXPECT_EQ(fiji.Chains[0].size(), 9u);
    EXPECT_EQ(fiji.Chains[1].size(), 11u);
    EXPECT_EQ(fiji.Chains[0][0], Deg(178.124381243812L, -17.5055572523276L));
    EXPECT_EQ(fiji.Chains[1][1].LongX, 972000000);   // 180 degrees east, not wrapped
    file.TitleColumn = 1;
    EXPECT_EQ(file.GetObject(1, false).Title, "Tanzania");
    EXPECT_EQ(file.GetObject(0, false).Title, "Fiji");
}

TEST(MIFFile, AcceptsOnlyLongitudeLatitude) {
    TempDir dir;
    auto headerWith = [](const std::string& coordSys) { return "Version 300\n" + coordSys + "\nData\n"; };
    auto message = [&](const std::string& mif) -> std::string {
        try {
            Open(dir, mif);
        } catch (const EGlobeException& e) {
            return e.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(message(headerWith("CoordSys NonEarth Units \"m\"")), "MIF Import only supports Lat/Long tables.");
    EXPECT_EQ(message(headerWith("CoordSys Earth Projection 8, 104, \"m\", 9, 0, 0.9996, 500000, 0")),
              "MIF Import only supports Lat/Long tables.");
    EXPECT_EQ(message(headerWith("coordsys earth PROJECTION 1, 0")), "(accepted)");
    EXPECT_EQ(message(headerWith("CoordSys Earth Projection 1,104")), "(accepted)");
    EXPECT_EQ(message(headerWith("")), "(accepted)");   // no CoordSys: longitude/latitude
}

TEST(MIFFile, PlineForms) {
    TempDir dir;
    const std::string body =
        "Pline Multiple 2\n  3\n0 0\n1 1\n2 2\n  2\n10 10\n11 11\n"
        "PLINE 3\n1 2\n3 4\n5 6\n    Pen (2,2,0)\n"
        "Pline\n2\n7 8\n9 10\n"
        "Line 1 2 3 4\n";
    auto file = Open(dir, kHeader + body);
    ASSERT_EQ(file->Count(), 4);
    const TMIFObject multiple = file->GetObject(0, true);
    ASSERT_EQ(multiple.Chains.size(), 2u);
    EXPECT_EQ(multiple.Chains[0].size(), 3u);
    EXPECT_EQ(multiple.Chains[1].size(), 2u);
    EXPECT_EQ(multiple.Chains[1][1], Deg(11, 11));
    EXPECT_FALSE(multiple.Closed);
    EXPECT_EQ(multiple.Title, "New Polyline");
    const TMIFObject single = file->GetObject(1, true);
    ASSERT_EQ(single.Chains.size(), 1u);
    EXPECT_EQ(single.Chains[0].size(), 3u);
    EXPECT_EQ(single.Style.PenWidth, 2);
    const TMIFObject countBelow = file->GetObject(2, false);
    ASSERT_EQ(countBelow.Chains.size(), 1u);
    EXPECT_EQ(countBelow.Chains[0], (std::vector<TGeoPoint>{Deg(7, 8), Deg(9, 10)}));
    const TMIFObject line = file->GetObject(3, false);
    EXPECT_EQ(line.Chains, (std::vector<std::vector<TGeoPoint>>{{Deg(1, 2), Deg(3, 4)}}));
}

TEST(MIFFile, StyleClauses) {
    TempDir dir;
    const std::string body =
        "Region 1\n  4\n0 0\n0 1\n1 1\n0 0\n"
        "    Pen (3,5,65280)\n    Brush (2,16711680)\n    Center 0.5 0.5\n"
        "Region 1\n  3\n0 0\n0 1\n1 1\n    BRUSH (10,255,16777215)\n    pen (1,1,0)\n"
        "Text\n    \"Two\\nlines\"\n    20.5 -10.25 21 -10\n    Font (\"Times\",0,12,16711935)\n    Angle 45.4\n"
        "Point 5 6\n    Symbol (35,0,12)\n";
    auto file = Open(dir, kHeader + body);
    ASSERT_EQ(file->Count(), 4);
    const TMIFObject first = file->GetObject(0, true);
    EXPECT_TRUE(first.Closed);
    EXPECT_EQ(first.Title, "New Polygon");   // no ".MID" file
    EXPECT_EQ(first.Style.PenWidth, 3);
    EXPECT_EQ(first.Style.PenStyle, 1);       // pattern 5: dash
    EXPECT_EQ(first.Style.PenColor, 0x00FF00u);
    EXPECT_EQ(first.Style.BrushStyle, 0);     // pattern 2: solid
    EXPECT_EQ(first.Style.BrushColor, 255u);  // pure red in the platform order
    const TMIFObject second = file->GetObject(1, true);
    EXPECT_EQ(second.Style.BrushStyle, 39);
    EXPECT_EQ(second.Style.BrushColor, 0xFF0000u);
    EXPECT_EQ(second.Style.BrushBkColor, 0xFFFFFFu);
    EXPECT_EQ(second.Style.PenStyle, 5);      // pattern 1: clear
    const TMIFObject text = file->GetObject(2, true);
    EXPECT_EQ(text.Title, "Two lines");
    EXPECT_TRUE(text.Chains.empty());
    EXPECT_EQ(text.Centre, Deg(20.5, -10.25));
    EXPECT_EQ(text.Style.FontName, "Times");
    EXPECT_EQ(text.Style.FontSize, 12);
    EXPECT_EQ(text.Style.FontColor, 0xFF00FFu);
    EXPECT_EQ(text.Style.FontAngle, 450);
    const TMIFObject point = file->GetObject(3, true);
    EXPECT_EQ(point.Centre, Deg(5, 6));
    EXPECT_TRUE(point.Chains.empty());
}

TEST(MIFFile, PatternTables) {
    EXPECT_EQ(mif::PenStyleOf(2), 0);
    EXPECT_EQ(mif::PenStyleOf(9), 1);
    EXPECT_EQ(mif::PenStyleOf(13), 2);
    EXPECT_EQ(mif::PenStyleOf(16), 3);
    EXPECT_EQ(mif::PenStyleOf(25), 4);
    EXPECT_EQ(mif::PenStyleOf(77), 6);
    EXPECT_EQ(mif::PenStyleOf(78), 0);
    EXPECT_EQ(mif::BrushStyleOf(1), 1);
    EXPECT_EQ(mif::BrushStyleOf(3), 2);
    EXPECT_EQ(mif::BrushStyleOf(68), 57);
    EXPECT_EQ(mif::BrushStyleOf(69), 0);
    EXPECT_EQ(mif::BrushStyleOf(-3), 0);
}

TEST(MIFFile, AttributeLinesStayWithTheirObjects) {
    TempDir dir;
    // The Rect and MultiPoint objects are not read but own the second and third ".MID" lines.
    const std::string body = "Point 1 1\nRect 0 0 1 1\nMultipoint 2\n3 3\n4 4\nRegion 1\n 3\n0 0\n1 0\n0 0\nPoint 2 2\n";
    const std::string mid = "\"a\",\"first\"\n\"b\",\"rect\"\n\"c\",\"multi\"\n\"d\",\"region, with comma\"\n\"e\",\"\"\"q\"\"\"\n";
    auto file = Open(dir, kHeader + body, &mid);
    ASSERT_EQ(file->Count(), 3);
    file->TitleColumn = 1;
    EXPECT_EQ(file->GetObject(0, false).Title, "first");
    EXPECT_EQ(file->GetObject(1, false).Title, "region, with comma");
    EXPECT_EQ(file->GetObject(2, false).Title, "\"q\"");
    file->TitleColumn = 5;   // no such field: the whole line
    EXPECT_EQ(file->GetObject(0, false).Title, "\"a\",\"first\"");
}

// The Pline and Region parts of a Collection are objects of their own, titled by the
// Collection's ".MID" line; its Multipoint part is not read. Later objects keep their own lines.
TEST(MIFFile, CollectionPartsAreObjects) {
    TempDir dir;
    const std::string body = "Point 1 1\nCollection 3\n  Multipoint 2\n  3 3\n  4 4\n  Pline 2\n  5 5\n  6 6\n"
                             "    Pen (1,2,0)\n  Region 1\n    4\n  0 0\n  1 0\n  1 1\n  0 0\n    Brush (2,255)\n"
                             "Point 2 2\n";
    const std::string mid = "\"a\",\"first\"\n\"b\",\"group\"\n\"c\",\"last\"\n";
    auto file = Open(dir, kHeader + body, &mid);
    ASSERT_EQ(file->Count(), 4);
    file->TitleColumn = 1;
    EXPECT_EQ(file->GetObject(0, false).Title, "first");
    const TMIFObject pline = file->GetObject(1, true);
    EXPECT_EQ(pline.Statement, msPline);
    EXPECT_EQ(pline.Title, "New Polyline");
    EXPECT_EQ(pline.Chains, (std::vector<std::vector<TGeoPoint>>{{Deg(5, 5), Deg(6, 6)}}));
    const TMIFObject region = file->GetObject(2, true);
    EXPECT_EQ(region.Statement, msRegion);
    EXPECT_TRUE(region.Closed);
    EXPECT_EQ(region.Title, "group");
    EXPECT_EQ(region.Style.BrushColor, 0xFF0000u);
    EXPECT_EQ(region.Chains, (std::vector<std::vector<TGeoPoint>>{{Deg(0, 0), Deg(1, 0), Deg(1, 1), Deg(0, 0)}}));
    const TMIFObject point = file->GetObject(3, false);
    EXPECT_EQ(point.Centre, Deg(2, 2));
    EXPECT_EQ(point.Title, "last");
}

// Every line from Columns up to Data is a column, whatever number the statement announces.
TEST(MIFFile, ColumnsRunUpToData) {
    TempDir dir;
    auto file = Open(dir, "Version 300\nCoordSys Earth Projection 1, 0\nColumns 1\n  id Integer\n  name Char(10)\n"
                          "Data\nPoint 1 1\n");
    EXPECT_EQ(file->ColumnNames, (std::vector<std::string>{"id=Integer", "name=Char(10)"}));
    EXPECT_EQ(file->Count(), 1);
}

TEST(MIFFile, BadNumbersRaiseConversionErrors) {
    TempDir dir;
    auto file = Open(dir, kHeader + "Region 1\n  2\nabc 1\n1 1\nPline x\n");
    ASSERT_EQ(file->Count(), 2);
    try {
        file->GetObject(0, false);
        FAIL() << "accepted a bad coordinate";
    } catch (const EGlobeException& e) {
        EXPECT_STREQ(e.what(), "StrToExtended: Conversion failed for abc");
    }
    EXPECT_THROW(file->GetObject(1, false), platform::EConvertError);
}

TEST(MIFFile, CountsBeyondTheEndStopAtTheEnd) {
    TempDir dir;
    auto file = Open(dir, kHeader + "Region 2000000000\n  2000000000\n1 1\n2 2");
    ASSERT_EQ(file->Count(), 1);
    const TMIFObject region = file->GetObject(0, true);
    ASSERT_EQ(region.Chains.size(), 1u);
    EXPECT_EQ(region.Chains[0].size(), 2u);
}

// Cut and corrupted copies of the real file: data errors at most, never a crash or a hang.
TEST(MIFFile, DamagedFilesNeverCrash) {
    TempDir dir;
    const std::string original = testing::ReadWholeFile(kData + "/ne_110m_countries.mif");
    std::mt19937 random(5);
    for (int i = 0; i < 30; ++i) {
        std::string bytes = original.substr(0, std::uniform_int_distribution<std::size_t>(0, 20000)(random));
        for (int flips = 0; flips < 3 && !bytes.empty(); ++flips)
            bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^= char(1 << (random() % 7));
        try {
            auto file = Open(dir, bytes);
            for (int n = 0; n < file->Count(); ++n)
                file->GetObject(n, true);
        } catch (const EGlobeException&) {
        } catch (const platform::EConvertError&) {
        }
    }
}

} // namespace
} // namespace globe
