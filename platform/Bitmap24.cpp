#include "platform/Bitmap24.h"

#include <stdexcept>

namespace platform {

Bitmap24::Bitmap24(int width, int height, TColor fill) { Resize(width, height, fill); }

int Bitmap24::RowStride(int width) {
  if (width <= 0) return 0;
  return static_cast<int>((std::int64_t{width} * 24 + 31) / 32 * 4);
}

void Bitmap24::Resize(int width, int height, TColor fill) {
  width = width < 0 ? 0 : width;
  height = height < 0 ? 0 : height;
  const std::int64_t bytes = (std::int64_t{width} * 24 + 31) / 32 * 4 * std::int64_t{height};
  if (bytes > MaxBytes) throw std::length_error("Bitmap too large");
  width_ = width;
  height_ = height;
  bits_.assign(static_cast<std::size_t>(bytes), 0);
  if (fill != clBlack) Fill(fill);
}

void Bitmap24::Fill(TColor color) {
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* p = ScanLine(y);
    for (int x = 0; x < width_; ++x, p += 3) {
      p[0] = static_cast<std::uint8_t>(ColorBlue(color));
      p[1] = static_cast<std::uint8_t>(ColorGreen(color));
      p[2] = static_cast<std::uint8_t>(ColorRed(color));
    }
  }
}

TColor Bitmap24::Pixel(int x, int y) const {
  if (!Contains(x, y)) return clBlack;
  const std::uint8_t* p = ScanLine(y) + std::size_t{3} * x;
  return MakeColor(p[2], p[1], p[0]);
}

void Bitmap24::SetPixel(int x, int y, TColor color) {
  if (!Contains(x, y)) return;
  std::uint8_t* p = ScanLine(y) + std::size_t{3} * x;
  p[0] = static_cast<std::uint8_t>(ColorBlue(color));
  p[1] = static_cast<std::uint8_t>(ColorGreen(color));
  p[2] = static_cast<std::uint8_t>(ColorRed(color));
}

}  // namespace platform
