// Bitmaps and the pattern bitmaps of the brushes.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <tuple>

#include "platform/Bitmap24.h"
#include "platform/DrawingSurface.h"
#include "platform/PatternResources.h"

namespace platform {
namespace {

// Rows of 3 bytes a pixel, padded to a multiple of 4; pixels stored blue, green, red. Access
// outside the bitmap does nothing and reads black.
TEST(Bitmap24, PaddedRowsOfBlueGreenRedPixelsAndHarmlessOutsideAccess) {
  Bitmap24 bitmap(5, 3, clWhite);
  EXPECT_EQ(bitmap.ScanLine(2) - bitmap.ScanLine(0), 32);
  bitmap.SetPixel(1, 1, MakeColor(0x11, 0x22, 0x33));
  const std::uint8_t* p = bitmap.ScanLine(1) + 3;
  EXPECT_EQ((std::array{p[0], p[1], p[2]}), (std::array<std::uint8_t, 3>{0x33, 0x22, 0x11}));
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x332211u);
  for (const auto& [x, y] : {std::pair{-1, 0}, {5, 1}, {0, 3}}) bitmap.SetPixel(x, y, clRed);
  EXPECT_EQ(bitmap.Pixel(5, 5), clBlack);
  EXPECT_EQ(bitmap.Pixel(4, 1), clWhite);
  EXPECT_EQ(bitmap.Pixel(0, 2), clWhite);
  EXPECT_TRUE(Bitmap24(-4, 10).Empty());
  EXPECT_THROW(Bitmap24(100000, 100000), std::length_error);
}

// "\" runs from the top-left corner, "/" from the bottom-left; the crosses share a corner pixel.
TEST(HatchBits, FirstAndLastRowOfEachHatch) {
  for (const auto& [style, top, bottom] : {std::tuple{HatchStyle::Horizontal, 0xFF, 0x00}, {HatchStyle::FDiagonal, 0x80, 0x01},
       {HatchStyle::BDiagonal, 0x01, 0x80}, {HatchStyle::Cross, 0xFF, 0x80}, {HatchStyle::DiagCross, 0x81, 0x81}})
    EXPECT_EQ((std::pair<int, int>(HatchBits(style)[0], HatchBits(style)[7])), std::pair(top, bottom));
}

// The diagonal bitmap's 0 bit walks from right to left one column per row.
TEST(PatternResources, TheFiftyTwoBrushBitmapsAndNoOtherName) {
  for (int n = 8; n <= 59; ++n) EXPECT_TRUE(FindPatternResource("BRUSH_" + std::to_string(n)).has_value()) << n;
  EXPECT_EQ(FindPatternResource("BRUSH_8")->front(), 0x7F);
  EXPECT_EQ(FindPatternResource("BRUSH_59")->back(), 0xBB);
  const PatternBits diagonal = *FindPatternResource("BRUSH_19");
  for (int row = 0; row < 8; ++row) EXPECT_EQ(diagonal[row], static_cast<uint8_t>(~(1u << row)));
  for (const char* name : {"BRUSH_7", "BRUSH_60", "BRUSH_08", "brush_8", "BRUSH_", "BRUSH_8x", "BRUSH_-8",
                           "BRUSH_999999999999", "", "PATTERN_8"})
    EXPECT_FALSE(FindPatternResource(name).has_value()) << name;
}

}  // namespace
}  // namespace platform
