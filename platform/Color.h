#pragma once
// Colours as the drawing layer and the map files use them: 0x00BBGGRR.
#include <algorithm>
#include <cstdint>

namespace platform {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;

constexpr int ColorRed(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// Builds a colour from components; each is clamped into 0..255.
constexpr TColor MakeColor(int red, int green, int blue) {
  auto clamp = [](int v) { return static_cast<TColor>(std::clamp(v, 0, 255)); };
  return clamp(red) | (clamp(green) << 8) | (clamp(blue) << 16);
}

}  // namespace platform
