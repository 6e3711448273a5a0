#pragma once
// The program's monochrome 8 x 8 brush bitmaps, found by resource name ("BRUSH_8" to
// "BRUSH_59"). Rows run top to bottom, the most significant bit is the leftmost pixel; a 0 bit
// is drawn in the brush colour, a 1 bit in the background.
#include <optional>
#include <string_view>

#include "platform/DrawingSurface.h"

namespace platform {

inline constexpr int FirstPatternResource = 8;
inline constexpr int LastPatternResource = 59;

// The bitmap of the named resource; nothing for an unknown name (names are case-sensitive).
std::optional<PatternBits> FindPatternResource(std::string_view name);

}  // namespace platform
