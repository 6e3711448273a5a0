// Bitmaps, hatches and the pattern bitmaps of the brushes.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "platform/Bitmap24.h"
#include "platform/DrawingSurface.h"
#include "platform/PatternResources.h"

namespace platform {
namespace {

// Rows of 3 bytes a pixel, padded to a multiple of 4; pixels stored blue, green, red.
TEST(Bitmap24, PaddedRowsOfBlueGreenRedPixels) {
  for (const auto& [width, stride] : {std::pair{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {0, 0}})
    EXPECT_EQ(Bitmap24::RowStride(width), stride) << width;
  Bitmap24 bitmap(5, 3, clWhite);
  EXPECT_EQ(bitmap.ScanLine(2) - bitmap.ScanLine(0), 32);
  bitmap.SetPixel(1, 1, MakeColor(0x11, 0x22, 0x33));
  const std::uint8_t* p = bitmap.ScanLine(1) + 3;
  EXPECT_EQ((std::array{p[0], p[1], p[2]}), (std::array<std::uint8_t, 3>{0x33, 0x22, 0x11}));
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x332211u);
  EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
}

TEST(Bitmap24, OutsideAccessAndBadSizesAreHarmless) {
  Bitmap24 bitmap(2, 2, clWhite);
  bitmap.SetPixel(-1, 0, clRed);
  bitmap.SetPixel(2, 1, clRed);
  bitmap.SetPixel(0, 2, clRed);
  EXPECT_EQ(bitmap.Pixel(5, 5), clBlack);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(bitmap.Pixel(x, y), clWhite);
  Bitmap24 negative(-4, 10);
  EXPECT_TRUE(negative.Empty());
  EXPECT_EQ(negative.Width(), 0);
  EXPECT_THROW(Bitmap24(100000, 100000), std::length_error);
}

// "\" runs from the top-left corner down to the bottom-right one, "/" the other way; the cross
// shares a corner pixel, the diagonals cross between pixels.
TEST(HatchBits, LinesOfEachHatch) {
  auto ones = [](const PatternBits& bits) {
    int count = 0;
    for (auto row : bits) count += __builtin_popcount(row);
    return count;
  };
  EXPECT_EQ(HatchBits(HatchStyle::Horizontal)[0], 0xFF);
  for (const auto& [style, count] : {std::pair{HatchStyle::Horizontal, 8}, {HatchStyle::Vertical, 8},
                                    {HatchStyle::Cross, 15}, {HatchStyle::DiagCross, 16}})
    EXPECT_EQ(ones(HatchBits(style)), count) << count;
  EXPECT_EQ(HatchBits(HatchStyle::FDiagonal)[0], 0x80);
  EXPECT_EQ(HatchBits(HatchStyle::FDiagonal)[7], 0x01);
  EXPECT_EQ(HatchBits(HatchStyle::BDiagonal)[0], 0x01);
  EXPECT_EQ(HatchBits(HatchStyle::BDiagonal)[7], 0x80);
}

TEST(PatternResources, AllFiftyTwoBitmapsAreFound) {
  for (int n = 8; n <= 59; ++n) {
    EXPECT_TRUE(FindPatternResource("BRUSH_" + std::to_string(n)).has_value()) << n;
  }
  // First and last rows of the first and last bitmaps.
  EXPECT_EQ(FindPatternResource("BRUSH_8")->front(), 0x7F);
  EXPECT_EQ(FindPatternResource("BRUSH_59")->back(), 0xBB);
  // Diagonal bitmap: the 0 bit walks from right to left one column per row.
  const PatternBits diagonal = *FindPatternResource("BRUSH_19");
  for (int row = 0; row < 8; ++row) EXPECT_EQ(diagonal[row], static_cast<uint8_t>(~(1u << row)));
}

TEST(PatternResources, OtherNamesAreMissing) {
  for (const char* name : {"BRUSH_7", "BRUSH_60", "BRUSH_08", "brush_8", "BRUSH_", "BRUSH_8x",
                           "BRUSH_-8", "BRUSH_+8", "BRUSH_999999999999", "", "PATTERN_8"}) {
    EXPECT_FALSE(FindPatternResource(name).has_value()) << name;
  }
}

}  // namespace
}  // namespace platform
