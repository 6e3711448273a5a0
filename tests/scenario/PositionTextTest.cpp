#include <random>

#include <gtest/gtest.h>

#include "scenario/PositionText.h"

namespace scenario {
namespace {

using globe::TGeoPoint;

// Builds a point by field writes so that no normalisation hides a fault.
TGeoPoint Point(int32_t longX, int32_t latY) {
    TGeoPoint p;
    p.LongX = longX;
    p.LatY = latY;
    return p;
}

TGeoPoint Parsed(std::string_view lat, std::string_view lon) {
    TGeoPoint p = Point(11, 22);
    p.Height = 33;
    EXPECT_TRUE(ParseLatLong(lat, lon, p)) << lat << ' ' << lon;
    EXPECT_EQ(p.Height, 0);
    return p;
}

TEST(ParseLatLong, ReadsMinutesSecondsHemispheresAndOddLengthsWithoutError) {
    const struct {
        const char *lat, *lon;
        TGeoPoint point;
    } cases[] = {
        {"5130N", "00010W", Point(-900000, 278100000)},
        {"513015N", "0001030W", Point(-945000, 278122500)},
        // Two-digit longitude degrees are read as if a "0" stood in front.
        {"5130N", "0010W", Point(-900000, 278100000)},
        {"5130N", "001030W", Point(-945000, 278100000)},
        {"5130S", "15112E", Point(151 * 5400000 + 12 * 90000, -278100000)},
        // Only upper-case "S" and "W" negate.
        {"5130s", "00010w", Point(900000, 278100000)},
        {"5130X", "00010?", Point(900000, 278100000)},
        // Too short: no degrees or minutes.
        {"513N", "010E", Point(0, 0)},
        {"N", "W", Point(0, 0)},
        // Lengths without a seconds field: degrees and minutes only.
        {"5130xN", "00010xxxxW", Point(-900000, 278100000)},
        // 999 degrees 99 minutes = 5,403,510,000 GlobeUnit, minus 2^32 = 1,108,542,704.
        {"0000N", "99999E", Point(1108542704, 0)},
        {"0000N", "99999W", Point(-1108542704, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(Parsed(c.lat, c.lon), c.point) << c.lat << ' ' << c.lon;
}

TEST(ParseLatLong, FailsWithoutTouchingThePoint) {
    for (auto [lat, lon] : {std::pair<const char*, const char*>{"51A0N", "00010W"},
                            {"5130N", "0A010W"},
                            {"5130N", "0001A0W"},
                            {"51301xN", "00010W"},
                            {"", "00010W"},
                            {"5130N", ""},
                            {"", ""},
                            {"5130N", "00010W "}}) {  // trailing blank makes the seconds "0W"
        TGeoPoint p = Point(7, 8);
        EXPECT_FALSE(ParseLatLong(lat, lon, p)) << lat << '|' << lon;
        EXPECT_EQ(p, Point(7, 8));
    }
}

TEST(ParseLatLong, ArbitraryTextsNeverReadOutOfBounds) {
    std::mt19937 random(42);
    const std::string alphabet = "0123456789NSEWnsew $x-+ \t\xFF";
    for (int i = 0; i < 5000; ++i) {
        std::string text(random() % 12, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        auto [lat, lon] = SplitPositionText(text);
        TGeoPoint p = Point(1, 2);
        if (!ParseLatLong(lat, lon, p)) {
            EXPECT_EQ(p, Point(1, 2)) << text;
        }
    }
}

TEST(SplitPositionText, SplitsAtTheFirstBlank) {
    EXPECT_EQ(SplitPositionText("5130N 00010W"), std::make_pair(std::string("5130N"), std::string("00010W")));
    EXPECT_EQ(SplitPositionText("5130N  00010W"), std::make_pair(std::string("5130N"), std::string(" 00010W")));
    EXPECT_EQ(SplitPositionText("5130N00010W"), std::make_pair(std::string(), std::string("5130N00010W")));
    EXPECT_EQ(SplitPositionText(""), std::make_pair(std::string(), std::string()));
}

TEST(FormatPosition, PadsDegreesAndTruncatesToTheShownUnit) {
    EXPECT_EQ(FormatPosition(Point(-900000, 278100000), false), "5130N 00010W");
    EXPECT_EQ(FormatPosition(Point(-900000, 278100000), true), "513000N 0001000W");
    EXPECT_EQ(FormatPosition(Point(0, 90000), false), "0001N 00000E");
    // 51 degrees 30.9 minutes is still 5130N.
    EXPECT_EQ(FormatPosition(Point(0, 278100000 + 81000), false), "5130N 00000E");
    // 33 52' 07" S, 151 12' 30" E.
    EXPECT_EQ(FormatPosition(Point(816525000, -182890500), true), "335207S 1511230E");
}

TEST(FormatPosition, ParsesBackTruncatedToMinutesOrSeconds) {
    for (TGeoPoint p : {Point(-945000 - 1499, 278122500 + 1499), Point(816525000 + 77, -182890500 - 77),
                        Point(-971999999, -485999999), Point(0, 0)}) {
        auto [lat, lon] = SplitPositionText(FormatPosition(p, true));
        TGeoPoint seconds = Parsed(lat, lon);
        EXPECT_EQ(seconds.LatY, p.LatY / 1500 * 1500);
        EXPECT_EQ(seconds.LongX, p.LongX / 1500 * 1500);
        auto [latM, lonM] = SplitPositionText(FormatPosition(p, false));
        TGeoPoint minutes = Parsed(latM, lonM);
        EXPECT_EQ(minutes.LatY, p.LatY / 90000 * 90000);
        EXPECT_EQ(minutes.LongX, p.LongX / 90000 * 90000);
    }
}

TEST(FormatPosition, ExtremeValuesStayWellFormed) {
    // |INT32_MIN| is 397 degrees 40 minutes and a rest.
    EXPECT_EQ(FormatPosition(Point(INT32_MIN, INT32_MIN), false), "39740S 39740W");
}

TEST(PadAngleText, TrimsAndLeftPadsTheDigits) {
    EXPECT_EQ(PadLatitudeText(" 001N ", false), "0001N");
    EXPECT_EQ(PadLatitudeText("5130N", true), "005130N");
    EXPECT_EQ(PadLongitudeText("1W", true), "0000001W");
    EXPECT_EQ(PadLongitudeText("12345678E", false), "12345678E");
    EXPECT_EQ(PadLatitudeText("  ", false), "");
}

}  // namespace
}  // namespace scenario
