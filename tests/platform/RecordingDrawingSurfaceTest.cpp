#include "platform/testing/RecordingDrawingSurface.h"

#include <gtest/gtest.h>

namespace platform::testing {
namespace {

// (Calls with their arguments, state and text sizes are read by the map tests of the editor.)
TEST(RecordingDrawingSurface, BitmapSurfacesShareTheLog) {
  RecordingDrawingSurface window(100, 50);
  Font font;
  font.Name = "Courier";
  window.SetFont(font);
  Bitmap24 bitmap(20, 10);
  auto buffer = window.CreateBitmapSurface(bitmap);
  EXPECT_EQ(buffer->Width(), 20);
  EXPECT_EQ(buffer->State().CurrentFont.Name, "Courier");
  buffer->SetPixel(3, 4, clBlue);
  window.DrawBitmap(0, 0, bitmap, TRect{0, 0, 20, 10});
  const auto pixels = window.Calls(DrawOp::SetPixel);
  ASSERT_EQ(pixels.size(), 1u);
  EXPECT_EQ(pixels[0].Target, "bitmap1");
  EXPECT_EQ(pixels[0].Points[0], (TPoint{3, 4}));
  EXPECT_EQ(pixels[0].Color, clBlue);
  const auto copies = window.Calls(DrawOp::DrawBitmap);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].Target, "window");
  EXPECT_EQ(copies[0].BitmapSize, (TSize{20, 10}));
}

}  // namespace
}  // namespace platform::testing
