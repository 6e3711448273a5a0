#pragma once

#include <string>
#include <string_view>

#include "platform/RegionalSettings.h"

namespace platform {

// Formats a date-time with a pattern. Letters are case-insensitive:
//   d dd: day; ddd dddd: short/long day name; ddddd: short date; dddddd: long date
//   m mm: month, or minutes right after an hour letter ("hh:mm"); mmm mmmm: month names
//   yy yyyy: year; h hh: hour; n nn: minute; s ss: second; z zzz: millisecond
//   c: short date, then the long time unless the time is exactly midnight
//   t tt: short/long time; am/pm, a/p, ampm: 12-hour clock markers
//   "/" date separator; ":" time separator; '...' and "..." literal text.
// Any other character is copied. Throws EConvertError for an out-of-range date-time.
std::string FormatDateTime(std::string_view pattern, double dateTime,
                           const RegionalSettings& settings = RegionalSettings());

// The default date-time text (pattern "c").
std::string DateTimeToText(double dateTime, const RegionalSettings& settings = RegionalSettings());
// The short date text (pattern "ddddd").
std::string DateToText(double dateTime, const RegionalSettings& settings = RegionalSettings());

}  // namespace platform
