#include "platform/qt/QtDrawingSurface.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>

#include "platform/qt/QtBitmapImage.h"

namespace platform {
namespace {

constexpr TColor kPaper = clWhite;

int CountColor(const Bitmap24& b, TColor color, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += b.Pixel(x, y) == color;
  return count;
}

int CountInk(const Bitmap24& b, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += ColorRed(b.Pixel(x, y)) < 128;
  return count;
}

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
  // Outline on columns/rows 2 and 7, the inside 3..6 filled.
  EXPECT_EQ(CountColor(bitmap, clBlue, 0, 0, 12, 20), 20);
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
  EXPECT_EQ(CountColor(bitmap, clBlue, 0, 0, 40, 5), 28);  // one pixel wide
  EXPECT_EQ(CountColor(bitmap, clBlue, 0, 5, 40, 6), 0);
  const int dots = CountColor(bitmap, clBlue, 2, 8, 30, 9);
  EXPECT_GT(dots, 5);
  EXPECT_EQ(CountColor(bitmap, kPaper, 2, 8, 30, 9), 28 - dots);  // gaps left transparent
  // A pen far wider than the window (a map-unit width at a close zoom) covers it.
  const Bitmap24 wide = Drawn(40, 20, kPaper, [&](QtDrawingSurface& surface) {
    surface.SetPen(Pen{clBlue, psSolid, 1000000});
    const TPoint line[] = {{-5000, 10}, {5000, 10}};
    surface.Polyline(line);
  });
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
  EXPECT_EQ(CountColor(bitmap, clRed, 0, 16, 1, 24) + CountColor(bitmap, clRed, 8, 16, 9, 24), 16);
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
  EXPECT_EQ(CountColor(bitmap, clBlue, 10, 10, 20, 20), 100);
}

TEST(QtDrawingSurface, FocusRectDrawnTwiceRestores) {
  Bitmap24 bitmap = Drawn(20, 20, MakeColor(10, 200, 30), [](QtDrawingSurface& s) { s.DrawFocusRect({2, 2, 15, 15}); });
  EXPECT_GT(CountColor(bitmap, MakeColor(245, 55, 225), 0, 0, 20, 20), 8);  // inverted
  QtDrawingSurface(bitmap).DrawFocusRect(TRect{2, 2, 15, 15});
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
    EXPECT_GT(surface.TextExtent("HHHH").Width, 20);
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
  EXPECT_EQ(CountInk(bitmap, 0, 0, 200, 200), CountInk(bitmap, 99, 0, 200, 152));
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

// The editor's window font asks for a sans-serif face: the painter then draws "Arial" in the
// face that hint finds. The extent is the width the text is drawn with, whatever that face.
TEST(QtDrawingSurface, TextExtentIsTheDrawnWidthWhateverTheApplicationFont) {
  const QFont saved = QGuiApplication::font();
  QFont windowFont("MS Sans Serif");
  windowFont.setStyleHint(QFont::SansSerif);
  windowFont.setPixelSize(11);
  QGuiApplication::setFont(windowFont);
  Font font;
  font.Name = "Arial";
  font.Height = 24;
  const std::string text = "Dist: 258.2 Nm  Bearing: 305.1 deg";
  TSize extent;
  const Bitmap24 bitmap = Drawn(600, 40, kPaper, [&](QtDrawingSurface& surface) {
    surface.SetFont(font);
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    extent = surface.TextExtent(text);
    surface.TextOut(0, 0, text);
  });
  QGuiApplication::setFont(saved);
  int right = 0;
  for (int x = 0; x < 600; ++x)
    if (CountInk(bitmap, x, 0, x + 1, 40) > 0) right = x + 1;
  EXPECT_LE(right, extent.Width);
  EXPECT_GE(right, extent.Width - 4);
}

// Text over its halo, shaped once, is the picture of the nine writes it stands for, for every
// alignment.
TEST(QtDrawingSurface, TextWithHaloIsTheNineWritesItStandsFor) {
  Font font;
  font.Name = "Arial";
  font.Height = 16;
  for (const HorizontalAlign horizontal : {HorizontalAlign::Left, HorizontalAlign::Center, HorizontalAlign::Right})
    for (const VerticalAlign vertical : {VerticalAlign::Top, VerticalAlign::Baseline, VerticalAlign::Bottom}) {
      const auto draw = [&](bool shapedOnce) {
        return Drawn(200, 60, kPaper, [&](QtDrawingSurface& surface) {
          surface.SetAntialiased(true);
          surface.SetFont(font);
          surface.SetTextColor(clBlue);
          surface.SetTextAlign({horizontal, vertical});
          surface.SetBackgroundMode(BackgroundMode::Transparent);
          if (shapedOnce) surface.TextOutWithHalo(100, 30, "Suda Bay", clYellow, 2);
          else surface.DrawingSurface::TextOutWithHalo(100, 30, "Suda Bay", clYellow, 2);
        });
      };
      const Bitmap24 once = draw(true), nine = draw(false);
      int differing = 0;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) differing += once.Pixel(x, y) != nine.Pixel(x, y) ? 1 : 0;
      EXPECT_EQ(differing, 0) << static_cast<int>(horizontal) << " " << static_cast<int>(vertical);
      EXPECT_GT(CountInk(once, 0, 0, 200, 60), 0);  // the blue text
      int halo = 0;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) halo += once.Pixel(x, y) == clYellow ? 1 : 0;
      EXPECT_GT(halo, 0);
    }
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
  EXPECT_EQ(target.Pixel(5, 7), clWhite);
  EXPECT_EQ(target.Pixel(6, 6), clBlack);
  EXPECT_EQ(CountColor(target, clBlue, 0, 0, 20, 20), 1 + 16);
  EXPECT_EQ(CountColor(target, clYellow, 10, 14, 14, 18), 16);
  // An empty bitmap draws nothing.
  const TPoint line[] = {{0, 0}, {10, 10}};
  Drawn(0, 0, clBlack, [&](QtDrawingSurface& surface) { surface.Polyline(line); surface.TextOut(0, 0, "x"); });
}

TEST(QtDrawingSurface, BitmapSurfaceFromImageSurface) {
  QImage image(30, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  Bitmap24 buffer(10, 10, kPaper);
  {
    QtDrawingSurface window(image);
    auto offscreen = window.CreateBitmapSurface(buffer);
    offscreen->SetPixel(4, 4, clRed);
    offscreen.reset();
    window.DrawBitmap(10, 10, buffer, TRect{0, 0, 10, 10});
  }
  EXPECT_EQ(buffer.Pixel(4, 4), clRed);
  EXPECT_EQ(image.pixelColor(14, 14), QColor(255, 0, 0));
}

TEST(QtBitmapImage, PngRoundTrip) {
  Bitmap24 bitmap(7, 3, clWhite);
  bitmap.SetPixel(6, 2, MakeColor(1, 2, 3));
  const auto path = (std::filesystem::temp_directory_path() / "corvalis_png_round_trip.png").string();
  ASSERT_TRUE(WritePng(bitmap, path));
  const Bitmap24 back = BitmapFromImage(QImage(QString::fromStdString(path)));
  std::filesystem::remove(path);
  ASSERT_EQ(back.Width() * back.Height(), 21);
  EXPECT_EQ(back.Pixel(6, 2), MakeColor(1, 2, 3));
  EXPECT_EQ(back.Pixel(0, 0), clWhite);
  EXPECT_FALSE(WritePng(Bitmap24(), path));
}

}  // namespace
}  // namespace platform
