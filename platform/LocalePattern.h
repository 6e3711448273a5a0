#pragma once

#include <string>
#include <string_view>

namespace platform {

// Turns a locale date or time pattern in the Qt/Unicode style (d dd ddd dddd M MM MMM MMMM
// yy yyyy h hh H HH m mm s ss z zzz AP ap, quoted text in '...') into this system's
// date-time pattern (see FormatDateTime). Every other character is kept as literal text, so
// the result formats exactly like the locale; a time-zone letter "t" is dropped.
std::string DateTimePatternFromLocale(std::string_view localePattern);

// The first run of characters between two fields of a locale pattern ("dd.MM.yyyy" gives
// "."); fallback when there is none.
std::string FieldSeparatorOf(std::string_view localePattern, std::string_view fallback);

}  // namespace platform
