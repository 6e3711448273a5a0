#pragma once
// The engine's integer angle unit and the table of length and angle units expressed in it.
// 1 degree = 5,400,000 GlobeUnit; 1 minute of arc = 1 nautical mile = 90,000.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace globe {

inline constexpr int32_t GlobeUnitsPerDegree = 5'400'000;
inline constexpr int32_t GlobeUnitsPerMinute = 90'000;
inline constexpr int32_t GlobeUnitsPerSecond = 1'500;
inline constexpr int32_t GU_90_DEGREES = 486'000'000;
inline constexpr int32_t GU_180_DEGREES = 972'000'000;
inline constexpr int32_t GU_360_DEGREES = 1'944'000'000;
// Sphere radius used for 3-D points (deliberately not the 309,397,209.37 of one radian).
inline constexpr int32_t EarthRadiusGU = 309'397'230;
inline constexpr long double GUPi = 3.141592653589793238462643383279502884L;
// Radians per GlobeUnit and GlobeUnit per radian.
inline constexpr long double GUToRadians = GUPi / 972'000'000.0L;
inline constexpr long double RadiansToGU = 309'397'209.3706445L;

enum class TGlobeUnitTypes : uint8_t {
  Degree,
  Minute,
  NauticalMile,
  Kilometer,
  Mile,
  Second,
  Third,
  Hundreth,
  Thousanth,
  Meter,
  CentiMeter,
  Fathom,
  Yard,
  Foot,
  Inch,
  GlobeUnit,
  Pixel,
};
inline constexpr int GlobeUnitTypeCount = 17;

// GlobeUnit in one unit (0 for Pixel, which is never converted through the table).
long double GlobeUnitFactor(TGlobeUnitTypes unit);

// value / factor; a Pixel value (no factor) converts to 0.
long double GUToUnits(long double value, TGlobeUnitTypes unit);
// round(value × factor), halves to even; 32-bit wrap for values beyond the integer range.
int32_t UnitsToGU(long double value, TGlobeUnitTypes unit);

// Unit code lookup, case-insensitive, in table order ("T" finds Third before Thousanth).
// Raises EGlobeException "StrToUnits: Unknown Unit %s".
TGlobeUnitTypes StrToUnits(std::string_view text);
std::string UnitsToStr(TGlobeUnitTypes unit);

// Decimal degrees to GlobeUnit through degrees, minutes and seconds (see DegToGU.cpp).
int32_t DegToGU(long double degrees);
// DegToGU of a double (as map files store coordinates), the same result by a quicker road.
int32_t DoubleDegToGU(double degrees);
// DoubleDegToGU of `count` doubles stored little-endian at `doubles` (any alignment, as in a
// mapped file) into out[0..count-1]: a bulk conversion in plain double arithmetic, without the
// 128-bit products of the single conversion (four values at a time where the processor has
// AVX2, else two).
void DoubleDegToGUs(const std::byte* doubles, std::size_t count, int32_t* out);
// The same without the AVX2 road: what processors without it take.
void DoubleDegToGUsWithoutAvx(const std::byte* doubles, std::size_t count, int32_t* out);
// DoubleDegToGUs of `points` longitude, latitude pairs, every longitude wrapped (NormaliseLongitude):
// a file's points as readers store them.
void DoubleDegPairsToGUs(const std::byte* doubles, std::size_t points, int32_t* out);

// Decimal number with a point; raises EGlobeException "StrToExtended: Conversion failed for %s".
long double StrToExtended(std::string_view text);

// Wraps a longitude once into the range; the thresholds are +-972,000,001.
constexpr int32_t NormaliseLongitude(int32_t longX) {
  if (longX > 972'000'001) return static_cast<int32_t>(int64_t{longX} - GU_360_DEGREES);
  if (longX < -972'000'001) return static_cast<int32_t>(int64_t{longX} + GU_360_DEGREES);
  return longX;
}

// NormaliseLongitude of the longitudes of `points` longitude, latitude pairs (latitudes as they
// are), in place: a loop over whole words without branches, which compilers make vector
// operations of.
inline void NormaliseLongitudes(int32_t* longLat, int32_t points) {
  for (int32_t i = 0; i < 2 * points; ++i) {
    const int32_t word = longLat[i], longitude = -static_cast<int32_t>(i % 2 == 0);  // all ones or none
    // No overflow: a wrapped longitude lies within +-GU_360_DEGREES of the word.
    longLat[i] = word - (GU_360_DEGREES & longitude & -static_cast<int32_t>(word > 972'000'001)) +
                 (GU_360_DEGREES & longitude & -static_cast<int32_t>(word < -972'000'001));
  }
}

// Angular distance between two longitudes the short way round; never 0 (0 gives 1).
int32_t LongitudeSpan(int32_t a, int32_t b);

}  // namespace globe
