#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/LocalePattern.h"

namespace platform {
namespace {

// Separators of a locale pattern are literal, whatever the record's separators say.
TEST(DateTimePatternFromLocale, FormatsExactlyLikeTheLocalePattern) {
    RegionalSettings settings;
    settings.dateSeparator = "-";
    settings.timeSeparator = "#";
    const double at1405 = EncodeDate(1941, 5, 24) + EncodeTime(14, 5, 0, 0);
    const std::pair<const char*, const char*> table[] = {
        {"dd.MM.yyyy", "24.05.1941"}, {"M/d/yy", "5/24/41"},        {"HH:mm:ss", "14:05:00"},
        {"d MMM yyyy", "24 May 1941"}, {"h:mm:ss AP", "2:05:00 PM"}, {"HH:mm:ss t", "14:05:00"},
        {"HH'h'mm", "14h05"},         {"d 'de' MMMM 'de' yyyy", "24 de May de 1941"},
        {"HH'' \"x\"", "14' \"x\""},  {"'unclosed", "unclosed"}};
    for (const auto& [pattern, text] : table)
        EXPECT_EQ(FormatDateTime(DateTimePatternFromLocale(pattern), at1405, settings), text) << pattern;
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
