#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/LocalePattern.h"

namespace platform {
namespace {

class LocalePatternTest : public ::testing::Test {
protected:
    std::string Format(std::string_view localePattern) {
        return FormatDateTime(DateTimePatternFromLocale(localePattern), at1405, settings);
    }
    const double at1405 = EncodeDate(1941, 5, 24) + EncodeTime(14, 5, 0, 0);
    RegionalSettings settings;
};

TEST_F(LocalePatternTest, FormatsExactlyLikeTheLocalePattern) {
    // Separators of a locale pattern are literal, whatever the record's separators say.
    settings.dateSeparator = "-";
    settings.timeSeparator = "#";
    EXPECT_EQ(Format("dd.MM.yyyy"), "24.05.1941");
    EXPECT_EQ(Format("M/d/yy"), "5/24/41");
    EXPECT_EQ(Format("HH:mm:ss"), "14:05:00");
    EXPECT_EQ(Format("d MMM yyyy"), "24 May 1941");
}

TEST_F(LocalePatternTest, TranslatesClockQuotesAndZones) {
    EXPECT_EQ(Format("h:mm:ss AP"), "2:05:00 PM");
    EXPECT_EQ(Format("HH:mm:ss t"), "14:05:00");
    EXPECT_EQ(Format("HH'h'mm"), "14h05");
    EXPECT_EQ(Format("d 'de' MMMM 'de' yyyy"), "24 de May de 1941");
    EXPECT_EQ(Format("HH'' \"x\""), "14' \"x\"");
    EXPECT_EQ(Format("'unclosed"), "unclosed");
}

TEST(FieldSeparatorOf, FindsTheTextBetweenTheFirstTwoFields) {
    EXPECT_EQ(FieldSeparatorOf("dd.MM.yyyy", "/"), ".");
    EXPECT_EQ(FieldSeparatorOf("d. M. yyyy", "/"), ".");
    EXPECT_EQ(FieldSeparatorOf("h:mm AP", "/"), ":");
    EXPECT_EQ(FieldSeparatorOf("yyyy", "/"), "/");
    EXPECT_EQ(FieldSeparatorOf("", ":"), ":");
}

}  // namespace
}  // namespace platform
