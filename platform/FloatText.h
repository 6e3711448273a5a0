#pragma once

#include <string>

#include "platform/RegionalSettings.h"

namespace platform {

// Fixed-point text of a number with exactly `decimals` decimals and the regional decimal
// separator. The value is first rounded to at most `precision` significant digits, halves
// away from zero on its decimal digits (0.25 with one decimal is "0.3"); a value with more
// than `precision` integer digits is written in scientific form ("1.234567E+10").
// Not-a-number and infinities give "NAN", "INF" and "-INF".
std::string FormatFixed(long double value, int precision, int decimals,
                        const RegionalSettings& settings = RegionalSettings());

}  // namespace platform
