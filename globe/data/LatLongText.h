#pragma once
// Text of a GlobeUnit angle through a format of %-codes:
// %D degrees, %M minutes (2 digits), %I thousandths of a minute (3), %S seconds (2),
// %T thirds (2), %U remaining GlobeUnit (2), %N "N"/"S", %E "E"/"W"; "%" + any other character
// gives that character. A negative value formatted without %N and %E gets a "-" before the
// first code.

#include <cstdint>
#include <string>
#include <string_view>

namespace globe {

std::string FormatLatLong(int32_t value, std::string_view format);

}  // namespace globe
