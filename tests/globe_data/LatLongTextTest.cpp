#include "globe/data/LatLongText.h"

#include <gtest/gtest.h>

#include "globe/data/GlobeUnits.h"

namespace globe {
namespace {

constexpr int32_t TwelveThirty = 12 * 5'400'000 + 30 * 90'000;

TEST(FormatLatLong, HemisphereLetterReplacesTheMinusSign) {
  EXPECT_EQ(FormatLatLong(-TwelveThirty, "%D %M %N"), "12 30 S");
  EXPECT_EQ(FormatLatLong(TwelveThirty, "%D %M %N"), "12 30 N");
  EXPECT_EQ(FormatLatLong(-TwelveThirty, "%D%M%E"), "1230W");
  EXPECT_EQ(FormatLatLong(TwelveThirty, "%d%m%e"), "1230E");  // codes in either case
}

TEST(FormatLatLong, MinusSignBeforeTheFirstCodeWithoutHemisphere) {
  EXPECT_EQ(FormatLatLong(-TwelveThirty, "%D %M"), "-12 30");
  EXPECT_EQ(FormatLatLong(-TwelveThirty, "at %D deg"), "at -12 deg");
  EXPECT_EQ(FormatLatLong(TwelveThirty, "%D %M"), "12 30");
}

TEST(FormatLatLong, FieldsAndPadding) {
  // 51 deg 5 min 7 s, 2 thirds and 13 GU: 51*5,400,000 + 5*90,000 + 7*1,500 + 2*250 + 13.
  const int32_t value = 51 * 5'400'000 + 5 * 90'000 + 7 * 1'500 + 2 * 250 + 13;
  EXPECT_EQ(FormatLatLong(value, "%D:%M:%S:%T:%U"), "51:05:07:02:13");
  // Thousandths of a minute: (7*1,500 + 2*250 + 13) / 90 = 122.
  EXPECT_EQ(FormatLatLong(value, "%D %M.%I"), "51 05.122");
  EXPECT_EQ(FormatLatLong(0, "%D%M%S%N"), "00000N");
  // "%" with another character gives that character; a trailing "%" stays.
  EXPECT_EQ(FormatLatLong(GlobeUnitsPerDegree, "%D%% %x%"), "1% x%");
  EXPECT_EQ(FormatLatLong(INT32_MIN, "%D%N"), "397S");  // |INT32_MIN| / 5,400,000 = 397
}

}  // namespace
}  // namespace globe
