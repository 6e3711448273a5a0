// The globe canvas and the map background: colours, sizes, polygons and chains cut at the
// anti-meridian, textures in triangles and on the surface each model paints, and bitmap objects.
#include "globe/view/GlobeCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "FakeGlobeView.h"
#include "globe/data/BitmapObject.h"
#include "globe/data/GlobeException.h"
#include "globe/view/DevicePoints.h"
#include "tests/globe_data/TempFile.h"
#include "tests/support/BitmapFiles.h"
#include "tests/support/RecordingMapFixture.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::BitmapFile;
using corvalis::testing::PaletteEntry;
using corvalis::testing::ThrownMessage;
using platform::TPoint;
using platform::testing::DrawOp;
using Points = std::vector<TPoint>;

constexpr int32_t Deg = 5'400'000;
constexpr platform::TColor kRed = 0x0000FF, kBlue = 0xFF0000;

// An 8-bit bitmap 4 texels wide and 2 high of the whole world: the western half red, the eastern
// half blue (index 0 is black).
std::string HalfRedHalfBlueBitmap() {
  return BitmapFile(4, 2, 8, PaletteEntry(0, 0, 0) + PaletteEntry(255, 0, 0) + PaletteEntry(0, 0, 255),
                    std::string("\1\1\2\2\1\1\2\2", 8));
}

TChainStore OneChain(std::initializer_list<std::pair<int32_t, int32_t>> degrees) {
  TChainStore chains;
  for (const auto& [lon, lat] : degrees) chains.Chain(0).Add(TGeoPoint(lon * Deg, lat * Deg));
  return chains;
}

// A view of `width` x `height` (600 x 400 unless given) drawing into a recording window.
struct CanvasFixture : testing::RecordingCanvasFixture {
  using RecordingCanvasFixture::RecordingCanvasFixture;
  void Load(const Points& points) { std::copy(points.begin(), points.end(), DevicePoints()); }
  std::vector<Points> Drawn(DrawOp op) const {
    std::vector<Points> result;
    for (const auto& call : window.Calls(op)) result.push_back(call.Points);
    return result;
  }
  void RenderChain(std::initializer_list<std::pair<int32_t, int32_t>> degrees, uint16_t state) {
    TChainStore chains = OneChain(degrees);
    canvas.RenderChainStore(chains, state, 0);
  }
  // Plate carrée fitted to the window: 600 / 360 pixels a degree on 600 x 400, origin in the middle.
  void ShowFlatMap() {
    p.SetProjectionClass("TCartesianPrj");
    p.SetScaleFactor(0);
  }
  static int32_t X(long double degrees) { return 300 + static_cast<int32_t>(std::nearbyint(degrees * 600 / 360)); }
  static int32_t Y(long double degrees) { return 200 - static_cast<int32_t>(std::nearbyint(degrees * 600 / 360)); }
  TGlobeProjection& p = view.P();
};
using GlobeCanvas = CanvasFixture;

TEST_F(GlobeCanvas, SizesFollowTheOutputResolutionAndTheZoom) {
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { TGlobeCanvas orphan(nullptr); }),
            "TGlobeCanvas.Create passed nil Parent");
  canvas.SetOutputResolution(600);
  // 56.25 down, 62.5 away from zero.
  EXPECT_EQ(std::pair(canvas.SizeToPixels(9, TGlobeUnitTypes::Pixel), canvas.LengthToPixels(10, TGlobeUnitTypes::Pixel)), std::pair(56, 63));
  p.SetScaleFactor(1e-4L);
  EXPECT_EQ(std::pair(canvas.ValueToGU(TGlobeUnitTypes::Pixel, 10), canvas.ValueToGU(TGlobeUnitTypes::NauticalMile, 2)), std::pair(100000, 180000));
  // At one pixel per GlobeUnit the rounding of the unit factor shows: SizeToPixels rounds the
  // kilometre to 48,596 GlobeUnit first, LengthToPixels converts 1000 km at once.
  p.SetScaleFactor(1.0L);
  EXPECT_EQ(std::pair(canvas.SizeToPixels(1000, TGlobeUnitTypes::Kilometer), canvas.LengthToPixels(1000, TGlobeUnitTypes::Kilometer)),
            std::pair(48596000, 48596112));
  // Results beyond 32 bits are held at the limit instead of wrapping.
  p.SetScaleFactor(3.0L);
  EXPECT_EQ(canvas.SizeToPixels(1000000, TGlobeUnitTypes::Degree), INT32_MAX);
}

TEST_F(GlobeCanvas, ClosedShapesArePolygonsOpenOnesPolylinesShortOnesNothing) {
  Load({{-10, 10}, {10, 10}, {10, 20}, {-10, 20}});
  canvas.RenderPoly(4, 0x3C00 | 0x0002, 3);
  Load({{5, 5}, {50, 50}});
  canvas.RenderPoly(2, 0x3C00, 3);
  Load({{5, 5}});
  canvas.RenderPoly(1, 0x0002, 0);
  Load({{5, -50}, {50, -50}});
  canvas.RenderPoly(2, 0x3C00, 0);
  canvas.RenderPoly(-3, 0, 0);
  EXPECT_EQ(Drawn(DrawOp::Polygon), (std::vector<Points>{{{-3, 10}, {10, 10}, {10, 20}, {-3, 20}}}));
  EXPECT_EQ(Drawn(DrawOp::Polyline), (std::vector<Points>{{{5, 5}, {50, 50}}}));
}

TEST_F(GlobeCanvas, BufferedDrawingGoesToTheBitmapAndResetStateSelectsTheCanvasSettings) {
  platform::Font font;
  font.Name = "Courier";
  window.SetFont(font);
  canvas.BeginBuffered();
  EXPECT_TRUE(canvas.IsBuffered());
  EXPECT_EQ(canvas.Surface().State().CurrentFont.Name, "Courier");
  Load({{1, 1}, {2, 2}});
  canvas.RenderPoly(2, 0, 0);
  canvas.SetSize(300, 200);  // the buffer follows the new bitmap
  canvas.RenderPoly(2, 0, 0);
  canvas.EndBuffered();
  canvas.RenderPoly(2, 0, 0);
  std::vector<std::string> targets;
  for (const auto& call : window.Calls(DrawOp::Polyline)) targets.push_back(call.Target);
  EXPECT_EQ(targets, (std::vector<std::string>{"bitmap1", "bitmap2", "window"}));
  const auto buffers = window.Calls(DrawOp::CreateBitmapSurface);
  ASSERT_EQ(buffers.size(), 2u);
  EXPECT_EQ(buffers[1].BitmapSize, (platform::TSize{300, 200}));
  canvas.SetPen(platform::Pen{clBlue, psDash, 3});
  canvas.Surface().SetPen(platform::Pen{clRed});  // as an attribute would
  canvas.ResetState();
  EXPECT_EQ(window.State().CurrentPen, (platform::Pen{clBlue, psDash, 3}));
}

TEST_F(GlobeCanvas, FlatMapCutsChainsAtTheAntiMeridian) {
  ShowFlatMap();
  RenderChain({{170, 10}, {-170, 20}}, 0x3C00);
  EXPECT_EQ(Drawn(DrawOp::Polyline), (std::vector<Points>{{{X(170), Y(10)}, {600, Y(15)}},
                                                          {{0, Y(15)}, {X(-170), Y(20)}}}));
  // A closed shape becomes two polygons: the eastern part ends on the right map edge, the
  // western on the left.
  RenderChain({{170, 10}, {-170, 10}, {-170, -10}, {170, -10}}, 0x3C00 | 0x0002);
  EXPECT_EQ(Drawn(DrawOp::Polygon),
            (std::vector<Points>{{{X(170), Y(10)}, {600, Y(10)}, {600, Y(-10)}, {X(170), Y(-10)}},
                                 {{0, Y(10)}, {X(-170), Y(10)}, {X(-170), Y(-10)}, {0, Y(-10)}}}));
}

TEST_F(GlobeCanvas, FlatMapClosesAnOutlineRoundAPoleOverThatPole) {
  ShowFlatMap();
  auto onRow = [](const Points& p, int32_t y) {
    return std::count_if(p.begin(), p.end(), [y](const TPoint& q) { return q.Y == y; });
  };
  for (int32_t lat : {-80, 70}) {
    SCOPED_TRACE(lat);
    window.ClearLog();
    RenderChain({{0, lat}, {120, lat}, {-120, lat}, {0, lat}}, 0x3C00 | 0x0002);
    ASSERT_EQ(window.Count(DrawOp::Polygon), 1u);
    const Points outline = Drawn(DrawOp::Polygon)[0];
    const int32_t pole = lat < 0 ? -90 : 90;
    EXPECT_EQ(onRow(outline, Y(pole)), 2);  // both ends of the pole path
    EXPECT_EQ(onRow(outline, Y(-pole)), 0);
    if (lat < 0) { EXPECT_EQ(outline.front(), (TPoint{0, Y(lat)})); }  // from the left map edge round
  }
}

TEST_F(GlobeCanvas, TextureTriangleTakesTheNearestTexelsSkippingTheTransparentIndex) {
  p.SetXRotation(0);
  p.SetYRotation(0);
  TTextureData texture;
  texture.LoadFromBytes(HalfRedHalfBlueBitmap());
  const TGeoPoint a(-20 * Deg, -20 * Deg), b(20 * Deg, -20 * Deg), c(0, 20 * Deg);
  canvas.BeginBuffered();
  const platform::Bitmap24& bitmap = canvas.Bitmap();
  auto texels = [&] { return std::vector{bitmap.Pixel(290, 200), bitmap.Pixel(310, 200), bitmap.Pixel(300, 300), bitmap.Pixel(300, 100)}; };
  canvas.RenderTextureTriangle(a, b, c, texture);
  // West and east of the centre; below and above the triangle, untouched.
  EXPECT_EQ(texels(), (std::vector{clRed, clBlue, clBlack, clBlack}));
  canvas.Bitmap().Fill(clBlack);
  texture.ColourIndex = 2;
  canvas.RenderTextureTriangle(a, b, c, texture);
  EXPECT_EQ(texels(), (std::vector{clRed, clBlack, clBlack, clBlack}));
  canvas.EndBuffered();
  // Without a buffer the texels go to the window; without a texture nothing is drawn.
  texture.ColourIndex = -1;
  const TGeoPoint small[] = {TGeoPoint(-1 * Deg, -1 * Deg), TGeoPoint(1 * Deg, -1 * Deg), TGeoPoint(0, 1 * Deg)};
  canvas.RenderTextureTriangle(small[0], small[1], small[2], texture);
  const auto pixels = window.Calls(DrawOp::SetPixel);
  ASSERT_FALSE(pixels.empty());
  for (const auto& px : pixels) EXPECT_EQ(px.Color, px.Points[0].X < 300 ? clRed : clBlue) << px.Points[0].X;
  window.ClearLog();
  canvas.RenderTextureTriangle(small[0], small[1], small[2], TTextureData());
  EXPECT_EQ(window.Count(DrawOp::SetPixel), 0u);
}

struct SmallCanvas : CanvasFixture {
  SmallCanvas() : CanvasFixture(60, 40) { view.TextureData.LoadFromBytes(HalfRedHalfBlueBitmap()); }
};

TEST_F(SmallCanvas, GlobeTextureFillsTheDiscFromTheRightTexels) {
  p.SetXRotation(0);
  p.ProjectionModel().PaintSurface();  // radius 20 round (30, 20)
  EXPECT_EQ(window.Count(DrawOp::Polygon), 0u);
  int red = 0, blue = 0;
  for (const auto& c : window.Calls(DrawOp::SetPixel)) {
    const TPoint pt = c.Points.at(0);
    EXPECT_LE(std::hypot(pt.X - 30, pt.Y - 20), 21) << pt.X << "," << pt.Y;
    // West of about -6 degrees red, east of about 6 blue.
    if (pt.X < 28 || pt.X > 32) { EXPECT_EQ(c.Color, pt.X < 28 ? kRed : kBlue) << pt.X << "," << pt.Y; }
    (c.Color == kRed ? red : blue)++;
  }
  EXPECT_GT(red + blue, 0.9 * std::numbers::pi * 20 * 20);
  EXPECT_GT(std::min(red, blue), 400);
  // Without the textured flag the plain disc is drawn.
  p.SetModelFlags(mfHorizonClip);
  window.ClearLog();
  p.ProjectionModel().PaintSurface();
  EXPECT_EQ(window.Count(DrawOp::Polygon), 1u);
  EXPECT_EQ(window.Count(DrawOp::SetPixel), 0u);
}

TEST_F(SmallCanvas, FlatMapTextureIsStretchedOverTheMap) {
  ShowFlatMap();  // the map spans x 0..60, y 5..35
  canvas.BeginBuffered();
  canvas.Bitmap().Fill(platform::clBlack);
  p.ProjectionModel().PaintSurface();
  const platform::Bitmap24& b = canvas.Bitmap();
  EXPECT_EQ((std::vector{b.Pixel(10, 20), b.Pixel(50, 20), b.Pixel(10, 1)}), (std::vector{kRed, kBlue, platform::clBlack}));  // the last beyond the pole
  canvas.EndBuffered();
}

using ObjectDrawingTest = corvalis::testing::RecordingMapFixture;

TEST_F(ObjectDrawingTest, BitmapObjectIsStretchedOverItsBounds) {
  testing::TempDir dir;
  const std::string file = dir.Write("red.bmp", BitmapFile(4, 4, 8, PaletteEntry(0, 0, 0) + PaletteEntry(255, 0, 0),
                                                           std::string(16, '\1')));
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, middle));
  auto* picture = view.LayerStore().NewLayer()->ObjectSource()->NewObject<TBitmapObject>();
  picture->SetCentroid(middle);  // the top-left corner
  const int32_t perPixel = static_cast<int32_t>(10 / view.Projection().ScaleFactor());  // 40 screen pixels
  picture->SetGlobeUnitsPerPixel(0, perPixel);
  picture->SetGlobeUnitsPerPixel(1, perPixel);
  picture->SetBMPFilename(file);
  ASSERT_TRUE(picture->TextureData().HasTexture());
  picture->Changed();
  PaintNow();
  // The recording surface paints nothing itself: only the texture fill reaches the bitmap, below
  // right of the corner and not above left of it or beyond the far corner.
  const platform::Bitmap24& drawn = view.Canvas().Bitmap();
  EXPECT_EQ((std::vector{drawn.Pixel(320, 220) == clRed, drawn.Pixel(280, 180) == clRed, drawn.Pixel(360, 260) == clRed}),
            (std::vector{true, false, false}));
}

}  // namespace
}  // namespace globe
