#include "platform/qt/QtDrawingSurface.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "platform/qt/QtBitmapImage.h"

namespace platform {
namespace {

constexpr TColor kPaper = clWhite;

// Counts the pixels of `color` inside [left, right) x [top, bottom).
int CountColor(const Bitmap24& b, TColor color, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += b.Pixel(x, y) == color;
  return count;
}

// Counts pixels that are clearly not the paper colour.
int CountInk(const Bitmap24& b, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += ColorRed(b.Pixel(x, y)) < 128;
  return count;
}

// A bitmap of `paper` after `draw` has drawn on a surface of it.
template <class Draw>
Bitmap24 Drawn(int width, int height, TColor paper, Draw draw) {
  Bitmap24 bitmap(width, height, paper);
  {
    QtDrawingSurface surface(bitmap);  // finishes its painting when it goes
    draw(surface);
  }
  return bitmap;
}

// A fill leaves out the right and bottom edges; a rectangle's outline is drawn inside its box.
TEST(QtDrawingSurface, FillsExcludeRightAndBottomEdgesOutlinesInsideEllipsesAndPolygonsFilled) {
  const Bitmap24 bitmap = Drawn(60, 20, kPaper, [&](QtDrawingSurface& surface) {
    EXPECT_EQ(surface.Width(), 60);
    surface.SetBrush(Brush{BrushKind::Solid, clRed});
    surface.FillRect(TRect{12, 3, 16, 8});
    surface.SetPen(Pen{clBlue, psSolid, 1});
    surface.Rectangle(TRect{2, 2, 8, 8});
    surface.SetPen(Pen{clBlack, psClear, 1});
    surface.Ellipse(TRect{20, 0, 40, 20});
    surface.SetBrush(Brush{BrushKind::Solid, clBlue});
    const TPoint triangle[] = {{40, 0}, {59, 0}, {40, 19}};
    surface.Polygon(triangle);
  });
  EXPECT_EQ(CountColor(bitmap, clRed, 12, 0, 20, 20), 4 * 5);
  EXPECT_EQ(bitmap.Pixel(12, 3), clRed);
  EXPECT_EQ(bitmap.Pixel(15, 7), clRed);
  EXPECT_EQ(bitmap.Pixel(16, 7), kPaper);
  EXPECT_EQ(bitmap.Pixel(15, 8), kPaper);
  // Outline on columns/rows 2 and 7, the inside 3..6 filled.
  EXPECT_EQ(bitmap.Pixel(2, 2), clBlue);
  EXPECT_EQ(bitmap.Pixel(7, 7), clBlue);
  EXPECT_EQ(bitmap.Pixel(7, 4), clBlue);
  EXPECT_EQ(bitmap.Pixel(8, 8), kPaper);
  EXPECT_EQ(CountColor(bitmap, clRed, 0, 0, 12, 20), 16);
  EXPECT_EQ(bitmap.Pixel(30, 10), clRed);
  EXPECT_EQ(bitmap.Pixel(20, 0), kPaper);  // corner of the box lies outside the ellipse
  EXPECT_EQ(bitmap.Pixel(42, 2), clBlue);
  EXPECT_EQ(bitmap.Pixel(57, 17), kPaper);  // beyond the hypotenuse
}

TEST(QtDrawingSurface, PolylinesOfEachStyleAndWidth) {
  const Bitmap24 bitmap = Drawn(40, 10, kPaper, [&](QtDrawingSurface& surface) {
    surface.SetPen(Pen{clBlue, psSolid, 1});
    const TPoint solid[] = {{2, 2}, {30, 2}};
    surface.Polyline(solid);
    surface.SetPen(Pen{clBlue, psClear, 1});
    const TPoint clear[] = {{2, 5}, {30, 5}};
    surface.Polyline(clear);
    surface.SetPen(Pen{clBlue, psDot, 1});
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    const TPoint dotted[] = {{2, 8}, {30, 8}};
    surface.Polyline(dotted);
  });
  EXPECT_EQ(CountColor(bitmap, clBlue, 3, 2, 29, 3), 26);
  EXPECT_EQ(CountColor(bitmap, clBlue, 0, 1, 40, 2), 0);  // one pixel wide
  EXPECT_EQ(CountColor(bitmap, clBlue, 0, 5, 40, 6), 0);
  const int dots = CountColor(bitmap, clBlue, 2, 8, 30, 9);
  EXPECT_GT(dots, 5);
  EXPECT_LT(dots, 25);
  EXPECT_EQ(CountColor(bitmap, kPaper, 2, 8, 30, 9), 28 - dots);  // gaps left transparent
  Bitmap24 wide(40, 20, kPaper);
  {
    QtDrawingSurface surface(wide);
    surface.SetPen(Pen{clRed, psSolid, 5});
    const TPoint line[] = {{5, 10}, {35, 10}};
    surface.Polyline(line);
  }
  EXPECT_EQ(CountColor(wide, clRed, 20, 0, 21, 20), 5);
  // A pen far wider than the window (a map-unit width at a close zoom) covers it.
  {
    QtDrawingSurface surface(wide);
    surface.SetPen(Pen{clBlue, psSolid, 1000000});
    const TPoint line[] = {{-5000, 10}, {5000, 10}};
    surface.Polyline(line);
  }
  EXPECT_EQ(CountColor(wide, clBlue, 0, 0, 40, 20), 800);
}

// The 8 x 8 pattern: rows alternate between all ones (background) and all zeros (text colour).
const PatternBits kStripes = {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF};

// The most significant bit is the left column.
TEST(QtDrawingSurface, PatternBrushUsesTextColourAndBackgroundInBitOrderHatchesTheirColour) {
  const Bitmap24 bitmap = Drawn(16, 40, clBlue, [&](QtDrawingSurface& surface) {
    surface.SetTextColor(clRed);
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    surface.SetBrush(Brush{BrushKind::Pattern, clBlack, HatchStyle::Horizontal, kStripes});
    surface.FillRect(TRect{0, 0, 16, 8});
    PatternBits leftColumnOnly;
    leftColumnOnly.fill(0x7F);
    surface.SetBrush(Brush{BrushKind::Pattern, clBlack, HatchStyle::Horizontal, leftColumnOnly});
    surface.FillRect(TRect{0, 16, 16, 24});
    surface.SetBrush(Brush{BrushKind::Pattern, clBlack, HatchStyle::Horizontal, kStripes});
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    surface.SetBackgroundColor(clYellow);
    surface.FillRect(TRect{0, 8, 16, 16});
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    surface.SetBrush(Brush{BrushKind::Hatched, clRed, HatchStyle::Vertical});
    surface.FillRect(TRect{0, 24, 16, 40});
  });
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(bitmap.Pixel(x, 0), clRed) << x;
    EXPECT_EQ(bitmap.Pixel(x, 1), clBlue) << x;      // transparent: untouched
    EXPECT_EQ(bitmap.Pixel(x, 10), clRed) << x;      // pattern aligned to the device origin
    EXPECT_EQ(bitmap.Pixel(x, 11), clYellow) << x;   // opaque: background colour
  }
  EXPECT_EQ(CountColor(bitmap, clRed, 0, 16, 1, 24), 8);
  EXPECT_EQ(CountColor(bitmap, clRed, 8, 16, 9, 24), 8);
  EXPECT_EQ(CountColor(bitmap, clRed, 0, 16, 16, 24), 16);
  EXPECT_EQ(CountColor(bitmap, clRed, 0, 24, 16, 40), 32);  // a hatch brush in its own colour
  EXPECT_EQ(CountColor(bitmap, clRed, 8, 24, 9, 40), 16);
}

TEST(QtDrawingSurface, ClipRectAndPolygon) {
  const Bitmap24 bitmap = Drawn(20, 20, kPaper, [&](QtDrawingSurface& surface) {
    surface.SetBrush(Brush{BrushKind::Solid, clRed});
    surface.SetClipRect(TRect{0, 0, 10, 20});
    surface.FillRect(TRect{0, 0, 20, 20});
    surface.ClearClip();
    surface.SetBrush(Brush{BrushKind::Solid, clBlue});
    const TPoint corner[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    surface.SetClipPolygon(corner, PolyFillMode::Alternate);
    surface.FillRect(TRect{0, 0, 20, 20});
  });
  EXPECT_EQ(CountColor(bitmap, clRed, 0, 0, 20, 20), 200);
  EXPECT_EQ(CountColor(bitmap, clBlue, 0, 0, 20, 20), 100);
  EXPECT_EQ(bitmap.Pixel(15, 5), kPaper);
}

TEST(QtDrawingSurface, FocusRectDrawnTwiceRestores) {
  Bitmap24 bitmap(20, 20, MakeColor(10, 200, 30));
  {
    QtDrawingSurface surface(bitmap);
    surface.DrawFocusRect(TRect{2, 2, 15, 15});
    surface.Painter().end();
    EXPECT_GT(CountColor(bitmap, MakeColor(245, 55, 225), 0, 0, 20, 20), 8);
  }
  {
    QtDrawingSurface surface(bitmap);
    surface.DrawFocusRect(TRect{2, 2, 15, 15});
  }
  EXPECT_EQ(CountColor(bitmap, MakeColor(10, 200, 30), 0, 0, 20, 20), 400);
}

TEST(QtDrawingSurface, TextAlignmentEscapementAndBackground) {
  Bitmap24 bitmap(200, 200, kPaper);
  Font font;
  font.Name = "DejaVu Sans";
  font.Height = 16;
  {
    QtDrawingSurface surface(bitmap);
    surface.SetFont(font);
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    const TSize extent = surface.TextExtent("HHHH");
    EXPECT_GT(extent.Width, 20);
    EXPECT_GE(extent.Height, 16);
    // Right/bottom aligned: the text ends left of and above the reference point.
    surface.SetTextAlign({HorizontalAlign::Right, VerticalAlign::Bottom});
    surface.TextOut(100, 40, "HHHH");
  }
  EXPECT_GT(CountInk(bitmap, 60, 20, 100, 40), 30);
  EXPECT_EQ(CountInk(bitmap, 100, 0, 200, 200), 0);
  EXPECT_EQ(CountInk(bitmap, 0, 41, 200, 200), 0);
  bitmap.Fill(kPaper);
  font.Escapement = 900;  // reads upwards
  {
    QtDrawingSurface surface(bitmap);
    surface.SetFont(font);
    surface.SetTextAlign({HorizontalAlign::Left, VerticalAlign::Top});
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    surface.TextOut(100, 150, "HHHH");
  }
  EXPECT_GT(CountInk(bitmap, 100, 100, 125, 150), 30);
  EXPECT_EQ(CountInk(bitmap, 0, 0, 99, 200), 0);
  EXPECT_EQ(CountInk(bitmap, 0, 152, 200, 200), 0);
  // Opaque text fills its box and nothing outside it; a font of no height writes nothing.
  bitmap.Fill(kPaper);
  TSize extent;
  {
    QtDrawingSurface surface(bitmap);
    surface.SetFont(Font{});
    surface.SetBackgroundColor(clYellow);
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    extent = surface.TextExtent("i i");
    surface.TextOut(10, 10, "i i");
    Font none;
    none.Height = 0;
    surface.SetFont(none);
    EXPECT_EQ(surface.TextExtent("Hello"), (TSize{0, 0}));
    surface.TextOut(10, 100, "Hello");
  }
  const int yellow = CountColor(bitmap, clYellow, 10, 10, 10 + extent.Width, 10 + extent.Height);
  EXPECT_GT(yellow, extent.Width * extent.Height / 2);
  EXPECT_EQ(CountColor(bitmap, clYellow, 0, 0, 200, 200), yellow);
  EXPECT_EQ(CountColor(bitmap, kPaper, 0, 60, 200, 200), 200 * 140);
}

// An empty bitmap draws nothing.
TEST(QtDrawingSurface, EmptyBitmapDrawsNothing) {
  Bitmap24 empty;
  QtDrawingSurface surface(empty);
  EXPECT_EQ(surface.Width(), 0);
  const TPoint line[] = {{0, 0}, {10, 10}};
  surface.Polyline(line);
  surface.TextOut(0, 0, "x");
  surface.FillRect(TRect{0, 0, 5, 5});
}

TEST(QtDrawingSurface, BitmapCopyAndStretch) {
  Bitmap24 source(2, 2);
  source.SetPixel(0, 0, clRed);
  source.SetPixel(1, 0, clBlue);
  source.SetPixel(0, 1, clYellow);
  source.SetPixel(1, 1, clWhite);
  const Bitmap24 target = Drawn(20, 20, clBlack, [&](QtDrawingSurface& surface) {
    surface.DrawBitmap(5, 6, source, TRect{1, 0, 2, 2});  // the right column only
    surface.StretchDraw(TRect{10, 10, 18, 18}, source);
  });
  EXPECT_EQ(target.Pixel(5, 6), clBlue);
  EXPECT_EQ(target.Pixel(5, 7), clWhite);
  EXPECT_EQ(target.Pixel(6, 6), clBlack);
  EXPECT_EQ(CountColor(target, clRed, 10, 10, 14, 14), 16);
  EXPECT_EQ(CountColor(target, clBlue, 14, 10, 18, 14), 16);
  EXPECT_EQ(CountColor(target, clYellow, 10, 14, 14, 18), 16);
  EXPECT_EQ(target.Pixel(18, 18), clBlack);
}

TEST(QtDrawingSurface, BitmapSurfaceFromImageSurface) {
  QImage image(30, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  Bitmap24 buffer(10, 10, kPaper);
  {
    QtDrawingSurface window(image);
    Font font;
    font.Name = "Courier";
    window.SetFont(font);
    auto offscreen = window.CreateBitmapSurface(buffer);
    EXPECT_EQ(offscreen->State().CurrentFont.Name, "Courier");
    offscreen->SetPixel(4, 4, clRed);
    offscreen.reset();
    window.DrawBitmap(10, 10, buffer, TRect{0, 0, 10, 10});
  }
  EXPECT_EQ(buffer.Pixel(4, 4), clRed);
  EXPECT_EQ(image.pixelColor(14, 14), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(13, 14), QColor(255, 255, 255));
}

TEST(QtBitmapImage, PngRoundTrip) {
  Bitmap24 bitmap(7, 3, clWhite);
  bitmap.SetPixel(6, 2, MakeColor(1, 2, 3));
  const auto path = (std::filesystem::temp_directory_path() / "corvalis_png_round_trip.png").string();
  ASSERT_TRUE(WritePng(bitmap, path));
  const Bitmap24 back = BitmapFromImage(QImage(QString::fromStdString(path)));
  std::filesystem::remove(path);
  ASSERT_EQ(back.Width(), 7);
  ASSERT_EQ(back.Height(), 3);
  EXPECT_EQ(back.Pixel(6, 2), MakeColor(1, 2, 3));
  EXPECT_EQ(back.Pixel(0, 0), clWhite);
  EXPECT_FALSE(WritePng(Bitmap24(), path));
}

}  // namespace
}  // namespace platform
