#pragma once
// Conversions of Extended pixel values to 32-bit device coordinates. Inline: every projected
// point goes through them.

#include <cmath>
#include <cstdint>
#include <limits>

#include "globe/data/GeoMath.h"

namespace globe {

// Nearest integer, halves to even, clamped into the 32-bit range; NaN gives 0. A coordinate far
// off the window thus stays off the window on the same side instead of wrapping round.
inline int32_t RoundToDevice(long double value) {
  constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
  if (std::isnan(value)) return 0;
  if (!(std::fabs(value) < RoundHalfEvenLimit)) return static_cast<int32_t>(value > 0 ? kMax32 : kMin32);
  const int64_t r = RoundHalfEvenSmall(value);
  if (r <= kMin32) return static_cast<int32_t>(kMin32);
  if (r >= kMax32) return static_cast<int32_t>(kMax32);
  return static_cast<int32_t>(r);
}

// a + b clamped into the 32-bit range.
inline int32_t AddToDevice(int64_t a, int64_t b) {
  constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
  const int64_t sum = a + b;  // both operands come from 32-bit values: no overflow
  if (sum < kMin32) return static_cast<int32_t>(kMin32);
  if (sum > kMax32) return static_cast<int32_t>(kMax32);
  return static_cast<int32_t>(sum);
}

}  // namespace globe
