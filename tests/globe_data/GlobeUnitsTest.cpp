// Globe units: longitudes, the unit table and its codes, degrees as map files store them, numbers
// in text and latitudes and longitudes written out.

#include "globe/data/GlobeUnits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeException.h"
#include "globe/data/LatLongText.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using U = TGlobeUnitTypes;
using corvalis::testing::ThrownMessage;

constexpr int32_t Deg = GlobeUnitsPerDegree;

TEST(GlobeUnits, LongitudesWrapOnceBeyondThresholdsAndSpansTakeTheShortWay) {
  // One step only, and no signed overflow at the extremes; 190 E is 170 W.
  for (auto [longitude, normal] : {std::pair{972'000'001, 972'000'001}, {972'000'002, -971'999'998},
                                   {-972'000'001, -972'000'001}, {-972'000'002, 971'999'998},
                                   {INT32_MAX, INT32_MAX - 1'944'000'000}, {INT32_MIN, INT32_MIN + 1'944'000'000}})
    EXPECT_EQ(NormaliseLongitude(longitude), normal) << longitude;
  // In pairs, whole runs at a time: longitudes as one by one, latitudes untouched.
  std::vector<int32_t> pairs;
  for (const int32_t word : {972'000'001, 972'000'002, -972'000'001, -972'000'002, INT32_MAX, INT32_MIN, 0, -1})
    for (const int32_t other : {972'000'002, INT32_MIN, 5}) pairs.insert(pairs.end(), {word, other, other, word});
  std::vector<int32_t> expected = pairs;
  for (std::size_t i = 0; i < expected.size(); i += 2) expected[i] = NormaliseLongitude(expected[i]);
  NormaliseLongitudes(pairs.data(), static_cast<int32_t>(pairs.size() / 2));
  EXPECT_EQ(pairs, expected);
  EXPECT_EQ(TGeoPoint(190 * Deg, 0).LongX, -170 * Deg);
  // Never zero; 170 E to 170 W across the 180-degree meridian is 20 degrees either way round.
  EXPECT_EQ(std::tuple(LongitudeSpan(5, 5), LongitudeSpan(-10 * Deg, 20 * Deg), LongitudeSpan(170 * Deg, -170 * Deg),
                       LongitudeSpan(-170 * Deg, 170 * Deg), LongitudeSpan(-GU_180_DEGREES, GU_180_DEGREES)),
            std::tuple(1, 30 * Deg, 20 * Deg, 20 * Deg, 1));
}

TEST(GlobeUnits, TableConvertsLengthsAndAngles) {
  // 6080 feet make a nautical mile, 5280 a statute mile; seconds, thirds (1/60 s), hundredths (of a
  // second) and thousandths (1 GU); rounding is halves to even; Pixel has no factor (and no
  // division by zero).
  using Case = std::tuple<long double, U, int32_t>;
  for (auto [value, unit, gu] : {Case{1, U::Degree, 5'400'000}, {1, U::Minute, 90'000}, {1, U::NauticalMile, 90'000},
                                 {1.852L, U::Kilometer, 90'000}, {1852, U::Meter, 90'000}, {6080, U::Foot, 90'000},
                                 {185'200, U::CentiMeter, 90'000}, {60, U::Second, 90'000}, {6, U::Third, 1'500},
                                 {100, U::Hundreth, 1'500}, {7, U::Thousanth, 7}, {7, U::GlobeUnit, 7},
                                 {2.5L, U::GlobeUnit, 2}, {3.5L, U::GlobeUnit, 4}, {5, U::Pixel, 0}})
    EXPECT_EQ(UnitsToGU(value, unit), gu) << static_cast<int>(unit);
  EXPECT_EQ(UnitsToGU(5280, U::Foot), UnitsToGU(1, U::Mile));
  EXPECT_EQ(std::tuple(GUToUnits(9'000'000, U::NauticalMile), GUToUnits(-2'700'000, U::Degree), GUToUnits(5, U::Pixel)),
            std::tuple(100.0L, -0.5L, 0.0L));
}

TEST(GlobeUnits, UnitCodesLookupInTableOrderIgnoringCase) {
  for (auto [code, unit] : {std::pair{"t", U::Third}, {"T", U::Third},  // shared with Thousanth
                            {"nm", U::NauticalMile}, {"Km", U::Kilometer}, {"M", U::Meter}, {"MN", U::Minute},
                            {"pi", U::Pixel}})
    EXPECT_EQ(StrToUnits(code), unit) << code;
  for (int i = 0; i < GlobeUnitTypeCount; ++i)  // every code but the shared "T" maps back to its unit
    if (const auto unit = static_cast<U>(i); unit != U::Thousanth) {
      EXPECT_EQ(StrToUnits(UnitsToStr(unit)), unit) << i;
    }
  EXPECT_EQ(ThrownMessage<EGlobeException>([] { StrToUnits("XY"); }), "StrToUnits: Unknown Unit XY");
  EXPECT_THROW(StrToUnits("NM "), EGlobeException);
}

TEST(GlobeUnits, DegToGUSplitsIntoDegreesMinutesSeconds) {
  // 12.345 degrees = 12 deg 20 min 42 s; 0.999 = 59 min 56.4 s; whole parts are cut toward zero
  // also where the nearest integer lies away from zero. Exact ties of the sub-second remainder:
  // 129/128 degrees is 1 deg 0 min 28.125 s, whose 187.5 units round to 188; 131/128 degrees is
  // 1 deg 1 min 24.375 s, 562.5 units to 562.
  for (auto [degrees, gu] : {std::pair{1.5L, 8'100'000}, {12.345L, 12 * Deg + 20 * 90'000 + 42 * 1'500},
                             {180.0L, GU_180_DEGREES}, {3.5L, 3 * Deg + 30 * 90'000}, {2.75L, 2 * Deg + 45 * 90'000},
                             {0.999L, 59 * 90'000 + 56 * 1'500 + 600}, {129.0L / 128, Deg + 28 * 1'500 + 188},
                             {131.0L / 128, Deg + 90'000 + 24 * 1'500 + 562}}) {
    EXPECT_EQ(DegToGU(degrees), gu) << static_cast<double>(degrees);
    EXPECT_EQ(DegToGU(-degrees), -gu) << static_cast<double>(degrees);
  }
  EXPECT_EQ(DegToGU(std::numeric_limits<long double>::quiet_NaN()), 0);  // hostile values do not trap
  EXPECT_NO_THROW(DegToGU(1e30L));
}

// Degrees, minutes and seconds cut toward zero in Extended, the sub-second units rounded halves to
// even: the conversion's definition, step by step, for the quicker roads to be held against.
int32_t SplitInExtended(long double degrees) {
  const long double wholeDegrees = std::trunc(degrees), minutes = (degrees - wholeDegrees) * 60;
  const long double wholeMinutes = std::trunc(minutes), seconds = (minutes - wholeMinutes) * 60;
  const long double wholeSeconds = std::trunc(seconds);
  return static_cast<int32_t>(wholeDegrees * Deg + wholeMinutes * 90'000 + wholeSeconds * 1'500 +
                              std::nearbyint((seconds - wholeSeconds) * 1'500));
}

// The bulk conversion (with and without AVX2) and DegToGU give the split's result for every double: halfway
// products (odd multiples of 1/128 degree), both sides of the fast range, tiny, huge and
// non-finite values, read from an unaligned buffer; below one degree, where the split rounds,
// products near a half (k + 1/2) / 5,400,000 and the doubles next to them.
TEST(GlobeUnits, BulkDoubleConversionMatchesTheSplit) {
  std::vector<double> values = {-0.0, -0.999999, 396.9999999, -396.9999999, 397.0, 397.5, 1e-300, 2e9, -1e20,
                                std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> world(-400.0, 400.0), belowOne(-1.0, 1.0);
  for (int m = -46'000; m <= 46'000; m += 7) values.push_back(m / 128.0);  // x.5 products among them
  for (int i = 0; i < 100'000; ++i) values.push_back(std::nextafter(std::round(world(random)), i % 2 ? 1e3 : -1e3));
  for (int i = 0; i < 100'000; ++i) values.push_back(belowOne(random));
  for (int k = -2'700'000; k < 2'700'000; k += 97) {
    const double nearHalf = (k + 0.5) / 5.4e6;
    for (double v : {nearHalf, std::nextafter(nearHalf, 2.0), std::nextafter(nearHalf, -2.0)}) values.push_back(v);
  }
  auto expected = [](double v) {
    return std::fabs(v) < 397 ? SplitInExtended(v) : DegToGU(static_cast<long double>(v));
  };
  std::vector<std::byte> bytes(values.size() * sizeof(double) + 4);
  std::memcpy(bytes.data() + 4, values.data(), values.size() * sizeof(double));
  for (auto* convert : {&DoubleDegToGUs, &DoubleDegToGUsWithoutAvx}) {
    std::vector<int32_t> converted(values.size());
    convert(bytes.data() + 4, values.size(), converted.data());
    for (size_t i = 0, failures = 0; i < values.size() && failures < 10; ++i)
      if (converted[i] != expected(values[i])) {
        ++failures;
        ADD_FAILURE() << std::hexfloat << values[i] << ": " << converted[i] << " instead of " << expected(values[i])
                      << (convert == &DoubleDegToGUs ? "" : " without AVX");
      }
  }
  for (size_t i = 0, failures = 0; i < values.size() && failures < 10; ++i)
    if (DegToGU(values[i]) != expected(values[i])) {
      ++failures;
      ADD_FAILURE() << std::hexfloat << values[i] << ": DegToGU " << DegToGU(values[i]);
    }
  // As longitude, latitude pairs (a reader's points): the longitudes also wrapped once.
  std::vector<int32_t> pairs(values.size() / 2 * 2);
  DoubleDegPairsToGUs(bytes.data() + 4, pairs.size() / 2, pairs.data());
  for (size_t i = 0, failures = 0; i < pairs.size() && failures < 10; ++i)
    if (const int32_t units = expected(values[i]); pairs[i] != (i % 2 ? units : NormaliseLongitude(units))) {
      ++failures;
      ADD_FAILURE() << std::hexfloat << values[i] << " in a pair: " << pairs[i];
    }
}

TEST(GlobeUnits, StrToExtendedParsesDecimalsAndReportsFailures) {
  for (auto [text, value] : {std::pair{"1.5", 1.5L}, {" -2.25 ", -2.25L}, {"+3", 3.0L}, {"1e3", 1000.0L}, {".5", 0.5L}})
    EXPECT_EQ(StrToExtended(text), value) << text;
  for (const char* bad : {"abc", "", "1,5", "1.5x", "--1", "inf", "nan"})
    EXPECT_EQ(ThrownMessage<EGlobeException>([&] { StrToExtended(bad); }),
              std::string("StrToExtended: Conversion failed for ") + bad);
}

TEST(FormatLatLong, HemispheresSignsFieldsAndPadding) {
  constexpr int32_t twelveThirty = 12 * Deg + 30 * 90'000;
  // 51 deg 5 min 7 s, 2 thirds and 13 GU; thousandths of a minute: (7*1,500 + 2*250 + 13) / 90 = 122.
  constexpr int32_t fields = 51 * Deg + 5 * 90'000 + 7 * 1'500 + 2 * 250 + 13;
  // The minus sign goes before the first code without a hemisphere; "%" with another character
  // gives that character, a trailing "%" stays; |INT32_MIN| / 5,400,000 = 397.
  using Case = std::tuple<int32_t, const char*, const char*>;
  for (auto [value, format, text] : {Case{-twelveThirty, "%D %M %N", "12 30 S"}, {twelveThirty, "%D %M %N", "12 30 N"},
                                     {-twelveThirty, "%D%M%E", "1230W"}, {twelveThirty, "%d%m%e", "1230E"},
                                     {-twelveThirty, "%D %M", "-12 30"}, {-twelveThirty, "at %D deg", "at -12 deg"},
                                     {twelveThirty, "%D %M", "12 30"}, {fields, "%D:%M:%S:%T:%U", "51:05:07:02:13"},
                                     {fields, "%D %M.%I", "51 05.122"}, {0, "%D%M%S%N", "00000N"},
                                     {Deg, "%D%% %x%", "1% x%"}, {INT32_MIN, "%D%N", "397S"}})
    EXPECT_EQ(FormatLatLong(value, format), text) << format;
}

}  // namespace
}  // namespace globe
