#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "platform/ConvertError.h"
#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"

namespace platform {
namespace {

// 1941-05-24: 1941-01-01 is 2 (for 1900-01-01) + 41 * 365 + 10 leap days (1904..1940) = 14977,
// plus 31 + 28 + 31 + 30 + 23 days.
constexpr double k24May1941 = 15120.0;

TEST(EncodeDate, CountsDaysFrom30December1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1941, 5, 24), k24May1941);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // 2000 is a leap year
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
}

TEST(EncodeDate, RejectsImpossibleDates) {
    EXPECT_THROW(EncodeDate(1941, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);  // century, not a leap year
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_THROW(EncodeDate(1941, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(1941, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(1941, 0, 1), EConvertError);
    EXPECT_THROW(EncodeDate(1941, 5, 0), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(-5, -5, -5), EConvertError);
}

TEST(EncodeTime, AcceptsOnlyTimesOfOneDay) {
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 1.0 - 1.0 / 86400000.0);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DecodeDateTime, RoundsToTheMillisecondAndCarriesIntoTheNextDay) {
    // 14:05 built from hours and minutes is not exact in binary; it must still read 14:05.
    DateTimeParts p = DecodeDateTime(k24May1941 + 14.0 / 24 + 5.0 / 1440);
    EXPECT_EQ(p.year, 1941);
    EXPECT_EQ(p.month, 5);
    EXPECT_EQ(p.day, 24);
    EXPECT_EQ(p.hour, 14);
    EXPECT_EQ(p.minute, 5);
    EXPECT_EQ(p.second, 0);
    EXPECT_EQ(p.dayOfWeek, 7);  // a Saturday

    DateTimeParts carried = DecodeDateTime(k24May1941 + 0.9999999999);
    EXPECT_EQ(carried.day, 25);
    EXPECT_EQ(carried.hour, 0);
    EXPECT_EQ(carried.millisecond, 0);
}

TEST(DecodeDateTime, NegativeValuesKeepTheTimeOfDayInTheFraction) {
    DateTimeParts p = DecodeDateTime(-1.25);
    EXPECT_EQ(p.year, 1899);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    // Combining a negative date with a time keeps that convention.
    EXPECT_EQ(CombineDateTime(-1.0, 0.25), -1.25);
    EXPECT_EQ(CombineDateTime(2.0, 0.25), 2.25);
}

TEST(DecodeDateTime, RejectsValuesOutsideTheCalendar) {
    EXPECT_THROW(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), EConvertError);
    EXPECT_THROW(DecodeDateTime(std::numeric_limits<double>::infinity()), EConvertError);
    EXPECT_THROW(DecodeDateTime(1e300), EConvertError);
    EXPECT_THROW(DecodeDateTime(-1e300), EConvertError);
    EXPECT_THROW(DecodeDateTime(2958466.0), EConvertError);  // 10000-01-01
    EXPECT_NO_THROW(DecodeDateTime(2958465.5));               // 9999-12-31 12:00
}

TEST(DecodeDateTime, RoundTripsEncodedDatesAcrossLeapRules) {
    for (int year : {1, 1600, 1899, 1900, 1904, 2000, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            int day = DaysInMonth(year, month);
            DateTimeParts p = DecodeDateTime(EncodeDate(year, month, day));
            EXPECT_EQ(p.year, year);
            EXPECT_EQ(p.month, month);
            EXPECT_EQ(p.day, day);
        }
    }
}

class FormatDateTimeTest : public ::testing::Test {
protected:
    const double at1405 = k24May1941 + 14.0 / 24 + 5.0 / 1440;
    RegionalSettings settings;
};

TEST_F(FormatDateTimeTest, NumberPatterns) {
    EXPECT_EQ(FormatDateTime("ddhhnn", at1405), "241405");
    EXPECT_EQ(FormatDateTime("ddhhnn", EncodeDate(1941, 6, 1) + EncodeTime(3, 7, 0, 0)), "010307");
    // m right after an hour means minutes, elsewhere the month.
    EXPECT_EQ(FormatDateTime("hh:mm", at1405), "14:05");
    EXPECT_EQ(FormatDateTime("d/m/yy h:n:s", at1405), "24/5/41 14:5:0");
    EXPECT_EQ(FormatDateTime("yyyymmdd", at1405), "19410524");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", at1405 + 0.5 / 86400), "14:05:00.500");
}

TEST_F(FormatDateTimeTest, NamesLiteralsAndTwelveHourClock) {
    EXPECT_EQ(FormatDateTime("ddd d mmm yyyy", at1405), "Sat 24 May 1941");
    EXPECT_EQ(FormatDateTime("dddd mmmm", at1405), "Saturday May");
    EXPECT_EQ(FormatDateTime("\"day\" d 'at' h", at1405), "day 24 at 14");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", at1405), "2:05 pm");
    EXPECT_EQ(FormatDateTime("h AMPM", k24May1941), "12 AM");
    EXPECT_EQ(FormatDateTime("h a/p", k24May1941 + 0.5), "12 p");
    EXPECT_EQ(FormatDateTime("\"unclosed", at1405), "unclosed");
}

TEST_F(FormatDateTimeTest, DefaultTextOmitsTheTimeOnlyAtMidnight) {
    EXPECT_EQ(DateTimeToText(k24May1941), "24/05/1941");
    EXPECT_EQ(DateTimeToText(at1405), "24/05/1941 14:05:00");
    EXPECT_EQ(DateToText(at1405), "24/05/1941");
}

TEST_F(FormatDateTimeTest, UsesTheRegionalSeparatorsAndFormats) {
    settings.dateSeparator = ".";
    settings.timeSeparator = "h";
    settings.longTimeFormat = "hh:nn";
    EXPECT_EQ(DateTimeToText(at1405, settings), "24.05.1941 14h05");
    EXPECT_EQ(FormatDateTime("hh:mm", at1405, settings), "14h05");
    settings.shortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(DateToText(at1405, settings), "1941-05-24");
}

TEST_F(FormatDateTimeTest, SelfReferringFormatsDoNotRecurseForever) {
    settings.shortDateFormat = "c";
    EXPECT_NO_THROW(DateTimeToText(at1405, settings));
}

TEST_F(FormatDateTimeTest, ArbitraryPatternsAreSafe) {
    std::mt19937 random(7);
    const std::string alphabet = "dmyhnsztcaDMYHNSZTCA/:'\" ampAMP";
    for (int i = 0; i < 3000; ++i) {
        std::string pattern(random() % 16, ' ');
        for (char& c : pattern) c = alphabet[random() % alphabet.size()];
        EXPECT_NO_THROW(FormatDateTime(pattern, at1405)) << pattern;
    }
}

}  // namespace
}  // namespace platform
