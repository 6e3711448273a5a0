#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "platform/FloatText.h"

namespace platform {
namespace {

TEST(FormatFixed, OneDecimalWithTheRegionalSeparator) {
    EXPECT_EQ(FormatFixed(123.456L, 7, 1), "123.5");
    EXPECT_EQ(FormatFixed(359.96L, 7, 1), "360.0");
    EXPECT_EQ(FormatFixed(0, 7, 1), "0.0");
    EXPECT_EQ(FormatFixed(0.04L, 7, 1), "0.0");
    EXPECT_EQ(FormatFixed(9.96L, 7, 1), "10.0");
    EXPECT_EQ(FormatFixed(-2.25L, 7, 1), "-2.3");
    EXPECT_EQ(FormatFixed(-0.01L, 7, 1), "0.0");
    EXPECT_EQ(FormatFixed(12.0L, 7, 3), "12.000");
    EXPECT_EQ(FormatFixed(12.6L, 7, 0), "13");
    RegionalSettings german;
    german.decimalSeparator = ",";
    EXPECT_EQ(FormatFixed(5400.05L, 7, 1, german), "5400,1");
}

TEST(FormatFixed, HalvesRoundAwayFromZero) {
    EXPECT_EQ(FormatFixed(0.25L, 7, 1), "0.3");
    EXPECT_EQ(FormatFixed(0.75L, 7, 1), "0.8");
    EXPECT_EQ(FormatFixed(2.5L, 7, 0), "3");
}

TEST(FormatFixed, PrecisionLimitsSignificantDigits) {
    // Seven significant digits leave no room for the decimal of 1234567.8.
    EXPECT_EQ(FormatFixed(1234567.8L, 7, 1), "1234568.0");
    EXPECT_EQ(FormatFixed(123456.78L, 7, 1), "123456.8");
    EXPECT_EQ(FormatFixed(12345678.0L, 7, 1), "1.234568E+07");
    EXPECT_EQ(FormatFixed(9999999.96L, 7, 1), "1E+07");
}

TEST(FormatFixed, NonFiniteValues) {
    EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::quiet_NaN(), 7, 1), "NAN");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<long double>::infinity(), 7, 1), "-INF");
    EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::max(), 7, 1).substr(0, 2), "1.");
}

}  // namespace
}  // namespace platform
