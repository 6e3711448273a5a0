#include "platform/testing/RecordingDrawingSurface.h"

#include <gtest/gtest.h>

namespace platform::testing {
namespace {

TEST(RecordingDrawingSurface, CallsCarryArgumentsAndState) {
  RecordingDrawingSurface surface(100, 50);
  surface.SetPen(Pen{clRed, psDash, 3});
  const TPoint points[] = {{1, 2}, {3, 4}, {5, 6}};
  surface.Polyline(points);
  surface.SetBrush(Brush{BrushKind::Hollow});
  surface.Polygon(points);
  const auto polylines = surface.Calls(DrawOp::Polyline);
  ASSERT_EQ(polylines.size(), 1u);
  EXPECT_EQ(polylines[0].Points, std::vector<TPoint>(std::begin(points), std::end(points)));
  EXPECT_EQ(polylines[0].State.CurrentPen, (Pen{clRed, psDash, 3}));
  EXPECT_EQ(polylines[0].State.CurrentBrush.Kind, BrushKind::Solid);
  const auto polygons = surface.Calls(DrawOp::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].State.CurrentBrush.Kind, BrushKind::Hollow);
  EXPECT_EQ(surface.Count(DrawOp::SetPen), 1u);
  EXPECT_EQ(surface.Log().size(), 4u);
}

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

TEST(RecordingDrawingSurface, TextExtentFollowsFontHeight) {
  RecordingDrawingSurface surface;
  Font font;
  font.Height = 10;
  surface.SetFont(font);
  EXPECT_EQ(surface.TextExtent("abcd"), (TSize{20, 10}));
  font.Height = 1;
  surface.SetFont(font);
  EXPECT_EQ(surface.TextExtent("abc"), (TSize{3, 1}));
}

}  // namespace
}  // namespace platform::testing
