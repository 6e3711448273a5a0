#pragma once
// The two sides of a scenario: side 0 the Axis (drawn red), side 1 the Allied side (drawn blue).

#include <cstdint>
#include <string>

#include "globe/data/GlobeColor.h"

namespace scenario {

inline constexpr globe::TColor kAxisColor = 0x0000FF;    // red in 0x00BBGGRR
inline constexpr globe::TColor kAlliedColor = 0xFF0000;  // blue
inline constexpr globe::TColor kTrackColor = 0x808080;   // grey
inline constexpr globe::TColor kRouteColor = 0x000000;   // black

inline globe::TColor SideColor(std::int32_t side) { return side == 0 ? kAxisColor : kAlliedColor; }
// "Axis" for side 0, "Allied" otherwise; the prefix of the side's file names.
inline std::string SideName(std::int32_t side) { return side == 0 ? "Axis" : "Allied"; }

}  // namespace scenario
