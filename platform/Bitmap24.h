#pragma once
// A 24-bit off-screen bitmap: rows top-down, each row padded to a multiple of 4 bytes
// ((width * 24 + 31) / 32 * 4), pixels stored as blue, green, red bytes.
// Drawing surfaces can be opened on it (DrawingSurface::CreateBitmapSurface) and code may
// also write its pixels directly (texture mapping).
#include <cstdint>
#include <vector>

#include "platform/Color.h"

namespace platform {

class Bitmap24 {
 public:
  Bitmap24() = default;
  // Negative sizes count as 0; a bitmap above MaxBytes throws std::length_error.
  Bitmap24(int width, int height, TColor fill = clBlack);

  static constexpr std::int64_t MaxBytes = std::int64_t{1} << 30;
  static int RowStride(int width);

  // Re-creates the pixel memory (old contents are lost) filled with `fill`.
  void Resize(int width, int height, TColor fill = clBlack);
  void Fill(TColor color);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return RowStride(width_); }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Raw rows; y must be in 0..Height-1.
  std::uint8_t* ScanLine(int y) { return bits_.data() + static_cast<std::size_t>(y) * Stride(); }
  const std::uint8_t* ScanLine(int y) const {
    return bits_.data() + static_cast<std::size_t>(y) * Stride();
  }
  std::uint8_t* Bits() { return bits_.data(); }
  const std::uint8_t* Bits() const { return bits_.data(); }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Outside the bitmap: Pixel gives black, SetPixel does nothing.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bits_;
};

}  // namespace platform
