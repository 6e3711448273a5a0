#include "globe/data/GlobeUnits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>
#include <limits>
#include <random>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeException.h"

namespace globe {
namespace {

TEST(GlobeUnits, NormaliseLongitudeWrapsOnceBeyondThresholds) {
  EXPECT_EQ(NormaliseLongitude(972'000'001), 972'000'001);
  EXPECT_EQ(NormaliseLongitude(972'000'002), -971'999'998);
  EXPECT_EQ(NormaliseLongitude(-972'000'001), -972'000'001);
  EXPECT_EQ(NormaliseLongitude(-972'000'002), 971'999'998);
  EXPECT_EQ(NormaliseLongitude(972'000'000), 972'000'000);
  // One step only, and no signed overflow at the extremes.
  EXPECT_EQ(NormaliseLongitude(INT32_MAX), INT32_MAX - 1'944'000'000);
  EXPECT_EQ(NormaliseLongitude(INT32_MIN), INT32_MIN + 1'944'000'000);
  // The point constructor normalises; 190 E is 170 W.
  EXPECT_EQ(TGeoPoint(190 * GlobeUnitsPerDegree, 0).LongX, -170 * GlobeUnitsPerDegree);
}

TEST(GlobeUnits, LongitudeSpanTakesTheShortWayAndIsNeverZero) {
  EXPECT_EQ(LongitudeSpan(5, 5), 1);
  EXPECT_EQ(LongitudeSpan(-10 * GlobeUnitsPerDegree, 20 * GlobeUnitsPerDegree), 30 * GlobeUnitsPerDegree);
  // 170 E to 170 W across the 180-degree meridian is 20 degrees, either way round.
  EXPECT_EQ(LongitudeSpan(170 * GlobeUnitsPerDegree, -170 * GlobeUnitsPerDegree), 20 * GlobeUnitsPerDegree);
  EXPECT_EQ(LongitudeSpan(-170 * GlobeUnitsPerDegree, 170 * GlobeUnitsPerDegree), 20 * GlobeUnitsPerDegree);
  EXPECT_EQ(LongitudeSpan(-GU_180_DEGREES, GU_180_DEGREES), 1);  // the same meridian
}

TEST(GlobeUnits, TableConvertsLengthsAndAngles) {
  EXPECT_EQ(UnitsToGU(1, TGlobeUnitTypes::Degree), 5'400'000);
  EXPECT_EQ(UnitsToGU(1, TGlobeUnitTypes::Minute), UnitsToGU(1, TGlobeUnitTypes::NauticalMile));
  EXPECT_EQ(UnitsToGU(1.852L, TGlobeUnitTypes::Kilometer), 90'000);
  EXPECT_EQ(UnitsToGU(1852, TGlobeUnitTypes::Meter), 90'000);
  EXPECT_EQ(UnitsToGU(185'200, TGlobeUnitTypes::CentiMeter), 90'000);
  // 6080 feet make a nautical mile; 5280 a statute mile; 3 feet a yard, 6 a fathom, 12 inches a foot.
  EXPECT_EQ(UnitsToGU(6080, TGlobeUnitTypes::Foot), 90'000);
  EXPECT_EQ(UnitsToGU(5280, TGlobeUnitTypes::Foot), UnitsToGU(1, TGlobeUnitTypes::Mile));
  EXPECT_NEAR(GlobeUnitFactor(TGlobeUnitTypes::Yard), 3 * GlobeUnitFactor(TGlobeUnitTypes::Foot), 1e-9);
  EXPECT_NEAR(GlobeUnitFactor(TGlobeUnitTypes::Fathom), 6 * GlobeUnitFactor(TGlobeUnitTypes::Foot), 1e-9);
  EXPECT_NEAR(GlobeUnitFactor(TGlobeUnitTypes::Foot), 12 * GlobeUnitFactor(TGlobeUnitTypes::Inch), 1e-9);
  // Seconds, thirds (1/60 s), hundredths (of a second) and thousandths (1 GU).
  EXPECT_EQ(UnitsToGU(60, TGlobeUnitTypes::Second), 90'000);
  EXPECT_EQ(UnitsToGU(6, TGlobeUnitTypes::Third), 1'500);
  EXPECT_EQ(UnitsToGU(100, TGlobeUnitTypes::Hundreth), 1'500);
  EXPECT_EQ(UnitsToGU(7, TGlobeUnitTypes::Thousanth), 7);
  EXPECT_EQ(UnitsToGU(7, TGlobeUnitTypes::GlobeUnit), 7);
  EXPECT_DOUBLE_EQ(static_cast<double>(GUToUnits(9'000'000, TGlobeUnitTypes::NauticalMile)), 100.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(GUToUnits(-2'700'000, TGlobeUnitTypes::Degree)), -0.5);
  // Rounding is halves to even.
  EXPECT_EQ(UnitsToGU(2.5L, TGlobeUnitTypes::GlobeUnit), 2);
  EXPECT_EQ(UnitsToGU(3.5L, TGlobeUnitTypes::GlobeUnit), 4);
  // Pixel has no factor: nothing converts through the table (and no division by zero).
  EXPECT_EQ(UnitsToGU(5, TGlobeUnitTypes::Pixel), 0);
  EXPECT_EQ(GUToUnits(5, TGlobeUnitTypes::Pixel), 0);
}

TEST(GlobeUnits, UnitCodesLookupInTableOrderIgnoringCase) {
  EXPECT_EQ(StrToUnits("t"), TGlobeUnitTypes::Third);  // shared with Thousanth
  EXPECT_EQ(StrToUnits("T"), TGlobeUnitTypes::Third);
  EXPECT_EQ(StrToUnits("nm"), TGlobeUnitTypes::NauticalMile);
  EXPECT_EQ(StrToUnits("Km"), TGlobeUnitTypes::Kilometer);
  EXPECT_EQ(StrToUnits("M"), TGlobeUnitTypes::Meter);
  EXPECT_EQ(StrToUnits("MN"), TGlobeUnitTypes::Minute);
  EXPECT_EQ(StrToUnits("pi"), TGlobeUnitTypes::Pixel);
  EXPECT_EQ(UnitsToStr(TGlobeUnitTypes::Thousanth), "T");
  EXPECT_EQ(UnitsToStr(TGlobeUnitTypes::Fathom), "F");
  // Every code but the shared "T" maps back to its own unit.
  for (int i = 0; i < GlobeUnitTypeCount; ++i) {
    const auto unit = static_cast<TGlobeUnitTypes>(i);
    if (unit == TGlobeUnitTypes::Thousanth) continue;
    EXPECT_EQ(StrToUnits(UnitsToStr(unit)), unit) << i;
  }
  try {
    StrToUnits("XY");
    FAIL() << "no exception";
  } catch (const EGlobeException& e) {
    EXPECT_STREQ(e.what(), "StrToUnits: Unknown Unit XY");
  }
  EXPECT_THROW(StrToUnits(""), EGlobeException);
  EXPECT_THROW(StrToUnits("NM "), EGlobeException);
}

// The split into whole degrees, minutes and seconds in Extended, the remainder of a second
// rounded halves to even: the conversion as map files need it, written out step by step.
int32_t SplitDegreesToGU(long double degrees) {
  const long double d = std::trunc(degrees);
  const long double minutes = (degrees - d) * 60;
  const long double m = std::trunc(minutes);
  const long double seconds = (minutes - m) * 60;
  const long double s = std::trunc(seconds);
  const long double total = d * 5'400'000 + m * 90'000 + s * 1'500 + std::nearbyint((seconds - s) * 1'500);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(total)));
}

TEST(GlobeUnits, DegToGUOfMapFileDoublesMatchesTheSplit) {
  // Exact ties of the sub-second remainder: 129/128 degrees is 1 deg 0 min 28.125 s, whose
  // 187.5 units round to 188; 131/128 degrees is 1 deg 1 min 24.375 s, 562.5 units to 562.
  EXPECT_EQ(DegToGU(129.0L / 128), 5'400'000 + 28 * 1'500 + 188);
  EXPECT_EQ(DegToGU(131.0L / 128), 5'400'000 + 90'000 + 24 * 1'500 + 562);
  EXPECT_EQ(DegToGU(-131.0L / 128), -(5'400'000 + 90'000 + 24 * 1'500 + 562));
  // Coordinates as shapefiles hold them, across magnitudes and signs, against the split.
  std::mt19937_64 random(12345);
  std::uniform_real_distribution<double> coordinate(-200.0, 200.0), exponent(-3.0, 12.0);
  for (int i = 0; i < 20'000; ++i) {
    const double v = i % 2 ? coordinate(random) : std::copysign(std::pow(10.0, exponent(random)), coordinate(random));
    ASSERT_EQ(DegToGU(v), SplitDegreesToGU(v)) << std::hexfloat << v;
  }
  for (double v : {1.0, -1.0, 180.0, -180.0, 2147483647.0, -2147483647.5, 0.99999999999999989, 1.0000000000000002})
    EXPECT_EQ(DegToGU(v), SplitDegreesToGU(v)) << std::hexfloat << v;
}

TEST(GlobeUnits, DegToGUSplitsIntoDegreesMinutesSeconds) {
  EXPECT_EQ(DegToGU(1.5L), 8'100'000);
  EXPECT_EQ(DegToGU(-0.5L), -2'700'000);
  // 12.345 degrees = 12 deg 20 min 42 s.
  EXPECT_EQ(DegToGU(12.345L), 12 * 5'400'000 + 20 * 90'000 + 42 * 1'500);
  EXPECT_EQ(DegToGU(-12.345L), -(12 * 5'400'000 + 20 * 90'000 + 42 * 1'500));
  EXPECT_EQ(DegToGU(180), GU_180_DEGREES);
  // Whole parts are cut toward zero also where the nearest integer lies away from zero.
  EXPECT_EQ(DegToGU(3.5L), 3 * 5'400'000 + 30 * 90'000);
  EXPECT_EQ(DegToGU(-3.5L), -(3 * 5'400'000 + 30 * 90'000));
  EXPECT_EQ(DegToGU(2.75L), 2 * 5'400'000 + 45 * 90'000);
  EXPECT_EQ(DegToGU(-2.75L), -(2 * 5'400'000 + 45 * 90'000));
  EXPECT_EQ(DegToGU(0.999L), 59 * 90'000 + 56 * 1'500 + 600);  // 59 min 56.4 s
  // Hostile values do not trap.
  EXPECT_EQ(DegToGU(std::numeric_limits<long double>::quiet_NaN()), 0);
  EXPECT_NO_THROW(DegToGU(1e30L));
}

TEST(GlobeUnits, StrToExtendedParsesDecimalsAndReportsFailures) {
  EXPECT_EQ(StrToExtended("1.5"), 1.5L);
  EXPECT_EQ(StrToExtended(" -2.25 "), -2.25L);
  EXPECT_EQ(StrToExtended("+3"), 3.0L);
  EXPECT_EQ(StrToExtended("1e3"), 1000.0L);
  EXPECT_EQ(StrToExtended(".5"), 0.5L);
  for (const char* bad : {"abc", "", "1,5", "1.5x", "--1", "inf", "nan"}) {
    try {
      StrToExtended(bad);
      FAIL() << bad;
    } catch (const EGlobeException& e) {
      EXPECT_EQ(std::string(e.what()), std::string("StrToExtended: Conversion failed for ") + bad);
    }
  }
}

}  // namespace
}  // namespace globe

namespace globe {
namespace {

// The bulk conversion gives DegToGU's result for every double: halfway products (odd multiples
// of 1/128 degree), both sides of its fast range, tiny, huge and non-finite values, read from an
// unaligned buffer.
TEST(GlobeUnits, BulkDoubleConversionMatchesDegToGU) {
  std::vector<double> values = {0.0, -0.0, 0.5, -0.999999, 1.0, -1.0, 396.9999999, -396.9999999, 397.0, 397.5,
                                -397.0, 1e-300, 2e9, -1e20, std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  for (int m = -46'000; m <= 46'000; m += 7) values.push_back(m / 128.0);  // x.5 products among them
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> world(-400.0, 400.0);
  for (int i = 0; i < 200'000; ++i) values.push_back(world(random));
  for (int i = 0; i < 1'000; ++i) values.push_back(std::nextafter(std::round(world(random)), 1000.0));

  std::vector<std::byte> bytes(values.size() * sizeof(double) + 4);
  std::memcpy(bytes.data() + 4, values.data(), values.size() * sizeof(double));
  std::vector<int32_t> converted(values.size());
  DoubleDegToGUs(bytes.data() + 4, values.size(), converted.data());
  int failures = 0;
  for (size_t i = 0; i < values.size() && failures < 10; ++i) {
    const int32_t expected = DegToGU(static_cast<long double>(values[i]));
    if (converted[i] != expected) {
      ++failures;
      ADD_FAILURE() << std::hexfloat << values[i] << ": " << converted[i] << " instead of " << expected;
    }
  }
}

}  // namespace
}  // namespace globe
