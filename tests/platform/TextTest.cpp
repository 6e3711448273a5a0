// Texts of lines, numbers, dates and times.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <utility>

#include "platform/ConvertError.h"
#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/FloatText.h"
#include "platform/IntegerText.h"
#include "platform/LocalePattern.h"
#include "platform/TextLines.h"
#include "tests/support/ThrownMessage.h"

namespace platform {
namespace {

TEST(SplitLines, EveryLineEndKindEndsOneLineTheLastMakesNoExtraLineJoinWritesCrLf) {
    const struct {
        std::string text;
        TextLines lines;
    } table[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
        {"", {}},
        {"a\r\n\r\n", {"a", ""}},
        {std::string("  x = 1 \t\r\n\xE4\xF6\x00\x1A\xFF", 16), {"  x = 1 \t", std::string("\xE4\xF6\x00\x1A\xFF", 5)}},
    };
    for (const auto& row : table) EXPECT_EQ(SplitLines(row.text), row.lines) << row.text;
    const TextLines lines = SplitLines("A=1\nB=2\rC=3\r\n\r\nD=4");
    EXPECT_EQ(JoinLinesCrLf(lines), "A=1\r\nB=2\r\nC=3\r\n\r\nD=4\r\n");
}

using corvalis::testing::ThrownMessage;

TEST(StrToInt, AcceptsBlanksOneSignHexPrefixesAndTheFull32BitRange) {
    const std::pair<const char*, int32_t> table[] = {
        {"   -12", -12}, {"+7", 7}, {"$1F", 31}, {"0X10", 16}, {" -$10", -16}, {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1}, {"$000000000000007F", 127}};
    for (const auto& [text, value] : table) EXPECT_EQ(StrToInt(text), value) << '"' << text << '"';
}

TEST(StrToInt, RejectsEverythingElse) {
    for (const char* bad : {"", "-", "0x", "12 ", "--5", "\t5", "1.0", "2147483648", "-2147483649", "$100000000",
                            "99999999999999999999", "$G", " - 5"}) {
        EXPECT_FALSE(TryStrToInt(bad).has_value()) << '"' << bad << '"';
    }
    EXPECT_FALSE(TryStrToInt(std::string_view("1\0", 2)).has_value());
    EXPECT_EQ(ThrownMessage<EConvertError>([&] { StrToInt("12x"); }), "'12x' is not a valid integer value");
    EXPECT_EQ(StrToIntDef("", 5), 5);
    EXPECT_EQ(WrapToInt32(-2147483649LL), INT32_MAX);  // wraps like two's complement
}

// Halves round away from zero; past seven integer digits comes an exponent.
TEST(FormatFixed, RoundsToTheDigitsAndPrecisionAsked) {
    const struct {
        long double value;
        int digits;
        const char* text;
    } table[] = {{359.96L, 1, "360.0"}, {-2.25L, 1, "-2.3"}, {-0.01L, 1, "0.0"}, {12.0L, 3, "12.000"}, {2.5L, 0, "3"},
                 {1234567.8L, 1, "1234568.0"}, {123456.78L, 1, "123456.8"}, {12345678.0L, 1, "1.234568E+07"},
                 {9999999.96L, 1, "1E+07"},
                 {std::numeric_limits<long double>::quiet_NaN(), 1, "NAN"},
                 {-std::numeric_limits<long double>::infinity(), 1, "-INF"}};
    for (const auto& row : table) EXPECT_EQ(FormatFixed(row.value, 7, row.digits), row.text) << row.text;
    EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::max(), 7, 1).substr(0, 2), "1.");
    RegionalSettings german;
    german.decimalSeparator = ",";
    EXPECT_EQ(FormatFixed(5400.05L, 7, 1, german), "5400,1");
}

// 1941-05-24: 1941-01-01 is 2 (for 1900-01-01) + 41 * 365 + 10 leap days (1904..1940) = 14977,
// plus 31 + 28 + 31 + 30 + 23 days.
constexpr double k24May1941 = 15120.0;
const double at1405 = k24May1941 + 14.0 / 24 + 5.0 / 1440;

std::array<int, 8> Parts(double value) {
    const DateTimeParts p = DecodeDateTime(value);
    return {p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond, p.dayOfWeek};
}

TEST(EncodeDateTime, CountsDaysFrom30December1899AndRejectsImpossibleDatesAndTimes) {
    EXPECT_EQ(EncodeDate(1941, 5, 24), k24May1941);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // 2000 is a leap year
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    // 1900 is a century, not a leap year.
    for (const auto& [y, m, d] : {std::array{1900, 2, 29}, {1941, 4, 31}, {1941, 13, 1}, {1941, 5, 0}, {0, 1, 1},
                                  {10000, 1, 1}})
        EXPECT_THROW(EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 1.0 - 1.0 / 86400000.0);
    for (const auto& [h, m, s, ms] : {std::array{24, 0, 0, 0}, {-1, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 0, 1000}})
        EXPECT_THROW(EncodeTime(h, m, s, ms), EConvertError) << h << ":" << m << ":" << s << "." << ms;
}

// 14:05 built from hours and minutes is not exact in binary; it must still read 14:05. A
// negative value keeps the time of day in its fraction.
TEST(DecodeDateTime, RoundsToTheMillisecondCarriesIntoTheNextDayAndKeepsNegativeFractions) {
    EXPECT_EQ(Parts(at1405), (std::array{1941, 5, 24, 14, 5, 0, 0, 7}));  // a Saturday
    EXPECT_EQ(Parts(k24May1941 + 0.9999999999), (std::array{1941, 5, 25, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Parts(-1.25), (std::array{1899, 12, 29, 6, 0, 0, 0, 6}));
    EXPECT_EQ(CombineDateTime(-1.0, 0.25), -1.25);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                       -1e300, 2958466.0})  // the last is 10000-01-01
        EXPECT_THROW(DecodeDateTime(bad), EConvertError) << bad;
    EXPECT_NO_THROW(DecodeDateTime(2958465.5));  // 9999-12-31 12:00
    for (int year : {1, 1900, 2000, 9999})
        for (int month = 1; month <= 12; ++month) {
            const auto parts = Parts(EncodeDate(year, month, DaysInMonth(year, month)));
            EXPECT_EQ((std::array{parts[0], parts[1], parts[2]}), (std::array{year, month, DaysInMonth(year, month)}));
        }
}

// "m" right after an hour means minutes, elsewhere the month.
TEST(FormatDateTime, NumbersNamesLiteralsAndTwelveHourClock) {
    const std::pair<const char*, const char*> table[] = {
        {"hh:mm", "14:05"}, {"d/m/yy h:n:s", "24/5/41 14:5:0"}, {"ddd d mmm yyyy", "Sat 24 May 1941"},
        {"dddd mmmm", "Saturday May"}, {"\"day\" d 'at' h", "day 24 at 14"}, {"h:nn am/pm", "2:05 pm"},
        {"\"unclosed", "unclosed"}};
    for (const auto& [pattern, text] : table) EXPECT_EQ(FormatDateTime(pattern, at1405), text) << pattern;
    EXPECT_EQ(FormatDateTime("ddhhnn", EncodeDate(1941, 6, 1) + EncodeTime(3, 7, 0, 0)), "010307");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", at1405 + 0.5 / 86400), "14:05:00.500");
    EXPECT_EQ(FormatDateTime("h a/p", k24May1941 + 0.5), "12 p");
}

TEST(FormatDateTime, DefaultTextsUseTheRegionalSeparatorsAndFormats) {
    EXPECT_EQ(DateTimeToText(k24May1941), "24/05/1941");
    EXPECT_EQ(DateTimeToText(at1405), "24/05/1941 14:05:00");
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
    for (int i = 0; i < 1000; ++i) {
        std::string pattern(random() % 16, ' ');
        for (char& c : pattern) c = alphabet[random() % alphabet.size()];
        EXPECT_NO_THROW(FormatDateTime(pattern, at1405)) << pattern;
    }
}

// Separators of a locale pattern are literal, whatever the record's separators say.
TEST(DateTimePatternFromLocale, FormatsExactlyLikeTheLocalePatternWithItsSeparators) {
    RegionalSettings settings;
    settings.dateSeparator = "-";
    settings.timeSeparator = "#";
    const double at1405 = EncodeDate(1941, 5, 24) + EncodeTime(14, 5, 0, 0);
    const std::pair<const char*, const char*> table[] = {
        {"dd.MM.yyyy", "24.05.1941"}, {"M/d/yy", "5/24/41"}, {"h:mm:ss AP", "2:05:00 PM"},
        {"HH:mm:ss t", "14:05:00"}, {"d 'de' MMMM 'de' yyyy", "24 de May de 1941"},
        {"HH'' \"x\"", "14' \"x\""}, {"'unclosed", "unclosed"}};
    for (const auto& [pattern, text] : table)
        EXPECT_EQ(FormatDateTime(DateTimePatternFromLocale(pattern), at1405, settings), text) << pattern;
    EXPECT_EQ(FieldSeparatorOf("d. M. yyyy", "/"), ".");
    EXPECT_EQ(FieldSeparatorOf("yyyy", "/"), "/");
    EXPECT_EQ(FieldSeparatorOf("", ":"), ":");
}

}  // namespace
}  // namespace platform
