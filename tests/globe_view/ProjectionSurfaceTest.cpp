// The map background each model paints: the world outline of flat maps, the globe disc, and the
// surface texture on the globe (in triangles) and on the plate carrée map (stretched).

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "FakeGlobeView.h"
#include "globe/view/GlobeCanvas.h"
#include "tests/support/BitmapFiles.h"

namespace globe {
namespace {

using platform::TPoint;
using platform::testing::DrawOp;
using testing::FakeGlobeView;

constexpr platform::TColor kRed = 0x0000FF, kBlue = 0xFF0000;

// An 8-bit bitmap 4 texels wide and 2 high: the western half red, the eastern half blue.
std::string HalfRedHalfBlueBitmap() {
  using namespace corvalis::testing;
  return BitmapFile(4, 2, 8, PaletteEntry(255, 0, 0) + PaletteEntry(0, 0, 255), std::string("\0\0\1\1\0\0\1\1", 8));
}

struct SurfaceFixture : testing::RecordingCanvasFixture {
  using RecordingCanvasFixture::RecordingCanvasFixture;
  std::vector<TPoint> OnlyPolygon() {
    const auto polygons = window.Calls(DrawOp::Polygon);
    EXPECT_EQ(polygons.size(), 1u);
    return polygons.empty() ? std::vector<TPoint>{} : polygons[0].Points;
  }
  TGlobeProjection& p = view.P();
};

TEST_F(SurfaceFixture, FlatMapOutlineIgnoresTheCentralMeridianAndRequestsNoRedraw) {
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(0);  // 600 pixels for 360 degrees
  p.SetCentralMeridian(90);
  window.ClearLog();
  const int redraws = view.Redraws;
  p.ProjectionModel().PaintSurface();
  EXPECT_EQ(view.Redraws, redraws);
  EXPECT_EQ(p.CentralMeridian(), 90);
  const std::vector<TPoint> outline = OnlyPolygon();
  ASSERT_EQ(outline.size(), 108u);
  // Every 10 degrees (16.7 pixels): along the south edge eastwards, up the east edge, back
  // along the north edge, down the west edge.
  EXPECT_EQ(outline[0], (TPoint{0, 350}));
  EXPECT_EQ(outline[1], (TPoint{17, 350}));
  EXPECT_EQ(outline[36], (TPoint{600, 350}));
  EXPECT_EQ(outline[54], (TPoint{600, 50}));
  EXPECT_EQ(outline[90], (TPoint{0, 50}));
  EXPECT_EQ(outline[107], (TPoint{0, 333}));
}

TEST_F(SurfaceFixture, MercatorOutlineIsClippedAtTheWindow) {
  p.SetProjectionClass("TMercatorPrj");
  p.SetScaleFactor(0);
  view.TextureData.LoadFromBytes(HalfRedHalfBlueBitmap());  // not used by Mercator
  window.ClearLog();
  p.ProjectionModel().PaintSurface();
  const std::vector<TPoint> outline = OnlyPolygon();
  ASSERT_FALSE(outline.empty());
  for (const TPoint& pt : outline) {
    EXPECT_GE(pt.Y, -1);
    EXPECT_LE(pt.Y, 401);
  }
  EXPECT_EQ(window.Count(DrawOp::SetPixel), 0u);
}

TEST_F(SurfaceFixture, GlobeDiscWithoutTexture) {
  p.ProjectionModel().PaintSurface();
  const std::vector<TPoint> disc = OnlyPolygon();
  ASSERT_EQ(disc.size(), 90u);  // radius 200 round (300, 200), every 4 degrees
  EXPECT_EQ(disc[0], (TPoint{500, 200}));
  EXPECT_EQ(disc[45], (TPoint{100, 200}));
  EXPECT_EQ(disc[22], (TPoint{307, 400}));  // 88 degrees
  for (const TPoint& pt : disc)
    EXPECT_NEAR(std::hypot(pt.X - 300, pt.Y - 200), 200, 1);
}

struct SmallSurfaceFixture : SurfaceFixture {
  SmallSurfaceFixture() : SurfaceFixture(60, 40) {}
};

TEST_F(SmallSurfaceFixture, GlobeTextureFillsTheDiscFromTheRightTexels) {
  p.SetXRotation(0);
  view.TextureData.LoadFromBytes(HalfRedHalfBlueBitmap());
  window.ClearLog();
  p.ProjectionModel().PaintSurface();  // radius 20 round (30, 20)
  EXPECT_EQ(window.Count(DrawOp::Polygon), 0u);
  const auto pixels = window.Calls(DrawOp::SetPixel);
  int red = 0, blue = 0;
  for (const auto& c : pixels) {
    const TPoint pt = c.Points.at(0);
    EXPECT_LE(std::hypot(pt.X - 30, pt.Y - 20), 21) << pt.X << "," << pt.Y;
    if (pt.X < 28) {  // west of about -6 degrees
      EXPECT_EQ(c.Color, kRed) << pt.X << "," << pt.Y;
    }
    if (pt.X > 32) {
      EXPECT_EQ(c.Color, kBlue) << pt.X << "," << pt.Y;
    }
    (c.Color == kRed ? red : blue)++;
  }
  EXPECT_GT(red + blue, 0.9 * std::numbers::pi * 20 * 20);
  EXPECT_GT(red, 400);
  EXPECT_GT(blue, 400);

  // Without the textured flag the plain disc is drawn.
  p.SetModelFlags(mfHorizonClip);
  window.ClearLog();
  p.ProjectionModel().PaintSurface();
  EXPECT_EQ(window.Count(DrawOp::Polygon), 1u);
  EXPECT_EQ(window.Count(DrawOp::SetPixel), 0u);
}

TEST_F(SmallSurfaceFixture, FlatMapTextureIsStretchedOverTheMap) {
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(0);  // the map spans x 0..60, y 5..35
  p.SetCentralMeridian(0);
  view.TextureData.LoadFromBytes(HalfRedHalfBlueBitmap());
  view.Canvas().BeginBuffered();
  view.Canvas().Bitmap().Fill(platform::clBlack);
  p.ProjectionModel().PaintSurface();
  EXPECT_EQ(view.Canvas().Bitmap().Pixel(10, 20), kRed);
  EXPECT_EQ(view.Canvas().Bitmap().Pixel(50, 20), kBlue);
  EXPECT_EQ(view.Canvas().Bitmap().Pixel(10, 1), platform::clBlack);  // beyond the pole
  view.Canvas().EndBuffered();
}

}  // namespace
}  // namespace globe
