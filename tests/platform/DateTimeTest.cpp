#include <array>
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
const double at1405 = k24May1941 + 14.0 / 24 + 5.0 / 1440;

std::array<int, 8> Parts(double value) {
    const DateTimeParts p = DecodeDateTime(value);
    return {p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond, p.dayOfWeek};
}

TEST(EncodeDate, CountsDaysFrom30December1899AndRejectsImpossibleDates) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1941, 5, 24), k24May1941);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // 2000 is a leap year
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    // 1900 is a century, not a leap year.
    for (const auto [y, m, d] : {std::array{1941, 2, 29}, {1900, 2, 29}, {1941, 4, 31}, {1941, 13, 1}, {1941, 0, 1},
                                  {1941, 5, 0}, {0, 1, 1}, {10000, 1, 1}, {-5, -5, -5}})
        EXPECT_THROW(EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
}

TEST(EncodeTime, AcceptsOnlyTimesOfOneDay) {
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 1.0 - 1.0 / 86400000.0);
    for (const auto [h, m, s, ms] : {std::array{24, 0, 0, 0}, {-1, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}})
        EXPECT_THROW(EncodeTime(h, m, s, ms), EConvertError) << h << ":" << m << ":" << s << "." << ms;
}

// 14:05 built from hours and minutes is not exact in binary; it must still read 14:05. A
// negative value keeps the time of day in its fraction.
TEST(DecodeDateTime, RoundsToTheMillisecondCarriesIntoTheNextDayAndKeepsNegativeFractions) {
    EXPECT_EQ(Parts(at1405), (std::array{1941, 5, 24, 14, 5, 0, 0, 7}));  // a Saturday
    EXPECT_EQ(Parts(k24May1941 + 0.9999999999), (std::array{1941, 5, 25, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Parts(-1.25), (std::array{1899, 12, 29, 6, 0, 0, 0, 6}));
    EXPECT_EQ(CombineDateTime(-1.0, 0.25), -1.25);
    EXPECT_EQ(CombineDateTime(2.0, 0.25), 2.25);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                       -1e300, 2958466.0})  // the last is 10000-01-01
        EXPECT_THROW(DecodeDateTime(bad), EConvertError) << bad;
    EXPECT_NO_THROW(DecodeDateTime(2958465.5));  // 9999-12-31 12:00
    for (int year : {1, 1600, 1899, 1900, 1904, 2000, 2100, 9999})
        for (int month = 1; month <= 12; ++month) {
            const auto parts = Parts(EncodeDate(year, month, DaysInMonth(year, month)));
            EXPECT_EQ((std::array{parts[0], parts[1], parts[2]}), (std::array{year, month, DaysInMonth(year, month)}));
        }
}

// "m" right after an hour means minutes, elsewhere the month.
TEST(FormatDateTime, NumbersNamesLiteralsAndTwelveHourClock) {
    const std::pair<const char*, const char*> table[] = {
        {"ddhhnn", "241405"},        {"hh:mm", "14:05"},          {"d/m/yy h:n:s", "24/5/41 14:5:0"},
        {"yyyymmdd", "19410524"},    {"ddd d mmm yyyy", "Sat 24 May 1941"}, {"dddd mmmm", "Saturday May"},
        {"\"day\" d 'at' h", "day 24 at 14"}, {"h:nn am/pm", "2:05 pm"}, {"\"unclosed", "unclosed"}};
    for (const auto& [pattern, text] : table) EXPECT_EQ(FormatDateTime(pattern, at1405), text) << pattern;
    EXPECT_EQ(FormatDateTime("ddhhnn", EncodeDate(1941, 6, 1) + EncodeTime(3, 7, 0, 0)), "010307");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", at1405 + 0.5 / 86400), "14:05:00.500");
    EXPECT_EQ(FormatDateTime("h AMPM", k24May1941), "12 AM");
    EXPECT_EQ(FormatDateTime("h a/p", k24May1941 + 0.5), "12 p");
}

// The default text omits the time only at midnight.
TEST(FormatDateTime, DefaultTextsUseTheRegionalSeparatorsAndFormats) {
    EXPECT_EQ(DateTimeToText(k24May1941), "24/05/1941");
    EXPECT_EQ(DateTimeToText(at1405), "24/05/1941 14:05:00");
    EXPECT_EQ(DateToText(at1405), "24/05/1941");
    RegionalSettings settings;
    settings.dateSeparator = ".";
    settings.timeSeparator = "h";
    settings.longTimeFormat = "hh:nn";
    EXPECT_EQ(DateTimeToText(at1405, settings), "24.05.1941 14h05");
    EXPECT_EQ(FormatDateTime("hh:mm", at1405, settings), "14h05");
    settings.shortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(DateToText(at1405, settings), "1941-05-24");
    settings.shortDateFormat = "c";  // refers to itself: no endless recursion
    EXPECT_NO_THROW(DateTimeToText(at1405, settings));
}

TEST(FormatDateTime, ArbitraryPatternsAreSafe) {
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
