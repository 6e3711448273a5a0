#include "globe/view/DeviceRound.h"

#include <cmath>
#include <limits>

namespace globe {

namespace {
constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
}  // namespace

int32_t RoundToDevice(long double value) {
  if (std::isnan(value)) return 0;
  // rint rounds as nearbyint does in the default mode (halves to even) but compiles to one
  // instruction, without saving and restoring the floating-point environment.
  const long double r = std::rint(value);
  if (r <= static_cast<long double>(kMin32)) return static_cast<int32_t>(kMin32);
  if (r >= static_cast<long double>(kMax32)) return static_cast<int32_t>(kMax32);
  return static_cast<int32_t>(r);
}

int32_t AddToDevice(int64_t a, int64_t b) {
  const int64_t sum = a + b;  // both operands come from 32-bit values: no overflow
  if (sum < kMin32) return static_cast<int32_t>(kMin32);
  if (sum > kMax32) return static_cast<int32_t>(kMax32);
  return static_cast<int32_t>(sum);
}

}  // namespace globe
