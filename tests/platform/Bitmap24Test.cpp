#include "platform/Bitmap24.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/DrawingSurface.h"

namespace platform {
namespace {

TEST(Bitmap24, RowsArePaddedToFourBytes) {
  // 3 bytes per pixel rounded up to a multiple of 4.
  EXPECT_EQ(Bitmap24::RowStride(1), 4);
  EXPECT_EQ(Bitmap24::RowStride(2), 8);
  EXPECT_EQ(Bitmap24::RowStride(3), 12);
  EXPECT_EQ(Bitmap24::RowStride(4), 12);
  EXPECT_EQ(Bitmap24::RowStride(5), 16);
  EXPECT_EQ(Bitmap24::RowStride(0), 0);
  Bitmap24 bitmap(5, 3);
  EXPECT_EQ(bitmap.ScanLine(2) - bitmap.ScanLine(0), 32);
}

TEST(Bitmap24, PixelsAreStoredBlueGreenRed) {
  Bitmap24 bitmap(4, 2, clWhite);
  bitmap.SetPixel(1, 1, MakeColor(0x11, 0x22, 0x33));
  const std::uint8_t* p = bitmap.ScanLine(1) + 3;
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x332211u);
  EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
}

TEST(Bitmap24, OutsideAccessIsHarmless) {
  Bitmap24 bitmap(2, 2, clWhite);
  bitmap.SetPixel(-1, 0, clRed);
  bitmap.SetPixel(2, 1, clRed);
  bitmap.SetPixel(0, 2, clRed);
  EXPECT_EQ(bitmap.Pixel(5, 5), clBlack);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(bitmap.Pixel(x, y), clWhite);
}

TEST(Bitmap24, BadSizes) {
  Bitmap24 negative(-4, 10);
  EXPECT_TRUE(negative.Empty());
  EXPECT_EQ(negative.Width(), 0);
  EXPECT_THROW(Bitmap24(100000, 100000), std::length_error);
}

TEST(HatchBits, LinesOfEachHatch) {
  auto ones = [](const PatternBits& bits) {
    int count = 0;
    for (auto row : bits) count += __builtin_popcount(row);
    return count;
  };
  EXPECT_EQ(HatchBits(HatchStyle::Horizontal)[0], 0xFF);
  EXPECT_EQ(ones(HatchBits(HatchStyle::Horizontal)), 8);
  EXPECT_EQ(ones(HatchBits(HatchStyle::Vertical)), 8);
  EXPECT_EQ(ones(HatchBits(HatchStyle::Cross)), 15);      // shared corner pixel
  EXPECT_EQ(ones(HatchBits(HatchStyle::DiagCross)), 16);  // diagonals cross between pixels
  // "\" runs from the top-left corner down to the bottom-right one, "/" the other way.
  EXPECT_EQ(HatchBits(HatchStyle::FDiagonal)[0], 0x80);
  EXPECT_EQ(HatchBits(HatchStyle::FDiagonal)[7], 0x01);
  EXPECT_EQ(HatchBits(HatchStyle::BDiagonal)[0], 0x01);
  EXPECT_EQ(HatchBits(HatchStyle::BDiagonal)[7], 0x80);
}

}  // namespace
}  // namespace platform
