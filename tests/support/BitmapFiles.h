#pragma once
// Windows bitmap file bytes for the picture, texture and drawing tests.

#include <cstdint>
#include <string>

namespace corvalis::testing {

inline std::string Le16(uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
inline std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

// A palette entry as the file stores it: blue, green, red, 0.
inline std::string PaletteEntry(uint8_t red, uint8_t green, uint8_t blue) {
  return {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red), '\0'};
}

// A bitmap file of a 40-byte info header with the given size, depth, palette (4 bytes an entry,
// its entry count written as the colours used) and pixel rows as stored, padding included.
// `imageSize` -1 writes the size of `pixels`.
inline std::string BitmapFile(int32_t width, int32_t height, int bits, const std::string& palette,
                              const std::string& pixels, uint32_t compression = 0,
                              int64_t imageSize = -1) {
  const uint32_t offset = 54 + static_cast<uint32_t>(palette.size());
  const uint32_t size = imageSize < 0 ? static_cast<uint32_t>(pixels.size()) : static_cast<uint32_t>(imageSize);
  return "BM" + Le32(offset + static_cast<uint32_t>(pixels.size())) + Le32(0) + Le32(offset) +
         Le32(40) + Le32(static_cast<uint32_t>(width)) + Le32(static_cast<uint32_t>(height)) +
         Le16(1) + Le16(static_cast<uint32_t>(bits)) + Le32(compression) + Le32(size) + Le32(0) +
         Le32(0) + Le32(static_cast<uint32_t>(palette.size() / 4)) + Le32(0) + palette + pixels;
}

}  // namespace corvalis::testing
