#pragma once
// Conversions of Extended pixel values to 32-bit device coordinates.

#include <cstdint>

namespace globe {

// Nearest integer, halves to even, clamped into the 32-bit range; NaN gives 0. A coordinate far
// off the window thus stays off the window on the same side instead of wrapping round.
int32_t RoundToDevice(long double value);

// a + b clamped into the 32-bit range.
int32_t AddToDevice(int64_t a, int64_t b);

}  // namespace globe
