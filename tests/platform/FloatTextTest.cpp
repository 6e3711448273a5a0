#include <limits>

#include <gtest/gtest.h>

#include "platform/FloatText.h"

namespace platform {
namespace {

// Halves round away from zero; seven significant digits leave no room for the decimal of
// 1234567.8 and switch to an exponent beyond them.
TEST(FormatFixed, RoundsToTheDigitsAndPrecisionAsked) {
    const struct {
        long double value;
        int digits;
        const char* text;
    } table[] = {{123.456L, 1, "123.5"}, {359.96L, 1, "360.0"},     {0, 1, "0.0"},          {0.04L, 1, "0.0"},
                 {9.96L, 1, "10.0"},     {-2.25L, 1, "-2.3"},       {-0.01L, 1, "0.0"},     {12.0L, 3, "12.000"},
                 {12.6L, 0, "13"},       {0.25L, 1, "0.3"},         {0.75L, 1, "0.8"},      {2.5L, 0, "3"},
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

}  // namespace
}  // namespace platform
