#include "globe/view/GlobeCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "FakeGlobeView.h"
#include "globe/data/GlobeException.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/GlobeProjection.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using platform::TPoint;
using platform::testing::DrawOp;
using Points = std::vector<TPoint>;
using testing::FakeGlobeView;

constexpr int32_t Deg = 5'400'000;

// A view of 600 x 400 whose canvas draws into a recording window surface.
struct CanvasFixture : testing::RecordingCanvasFixture {
  void Load(const Points& points) { std::copy(points.begin(), points.end(), DevicePoints()); }

  std::vector<Points> Drawn(DrawOp op) const {
    std::vector<Points> result;
    for (const auto& call : window.Calls(op)) result.push_back(call.Points);
    return result;
  }
};

TEST(GlobeCanvas, NullViewIsRefused) {
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { TGlobeCanvas canvas(nullptr); }),
            "TGlobeCanvas.Create passed nil Parent");
}

using GlobeCanvasColour = CanvasFixture;

TEST_F(GlobeCanvasColour, TintMovesEachComponentTowardsTheTintColour) {
  EXPECT_EQ(canvas.AdjustColor(0x123456), 0x123456u);  // no tint
  canvas.SetTintPercent(50);
  canvas.SetTintColor(clSilver);
  EXPECT_EQ(canvas.AdjustColor(clBlack), 0x606060u);  // 0 + (192 - 0) / 2 = 96
  // 255 + (192 - 255) / 2 = 223.5, rounded to even 224; 0x20 + (0xC0 - 0x20) / 2 = 0x70.
  EXPECT_EQ(canvas.AdjustColor(0x20FFFF), 0x70E0E0u);
  canvas.SetTintPercent(100);
  EXPECT_EQ(canvas.AdjustColor(clRed), clSilver);
  canvas.SetTintPercent(300);  // far past the tint colour: 0 + 3 × 192 -> 255, 255 - 3 × 63 = 66
  EXPECT_EQ(canvas.AdjustColor(0x00FF00), 0xFF42FFu);
  canvas.SetTintPercent(-100);
  EXPECT_EQ(canvas.AdjustColor(clBlack), 0u);
  EXPECT_EQ(canvas.AdjustColor(clWhite), clWhite);
}

TEST_F(GlobeCanvasColour, GenerationChangesWithSizeResolutionAndTint) {
  const uint64_t start = canvas.Generation();
  canvas.SetTintPercent(0);
  EXPECT_EQ(canvas.Generation(), start);
  canvas.SetTintPercent(10);
  const uint64_t tinted = canvas.Generation();
  EXPECT_NE(tinted, start);
  canvas.SetOutputResolution(300);
  EXPECT_NE(canvas.Generation(), tinted);
  const uint64_t printed = canvas.Generation();
  canvas.SetSize(800, 500);
  EXPECT_NE(canvas.Generation(), printed);
  EXPECT_EQ(canvas.Bitmap().Width(), 800);
  EXPECT_EQ(canvas.Bitmap().Height(), 500);
  canvas.SetSize(0, 500);  // ignored
  EXPECT_EQ(canvas.Width(), 800);
  // Another canvas never shares a generation.
  FakeGlobeView other;
  EXPECT_NE(other.Canvas().Generation(), canvas.Generation());
}

using GlobeCanvasSizes = CanvasFixture;

TEST_F(GlobeCanvasSizes, PixelSizesFollowTheOutputResolution) {
  EXPECT_EQ(canvas.SizeToPixels(9, TGlobeUnitTypes::Pixel), 9);
  canvas.SetOutputResolution(600);
  EXPECT_EQ(canvas.SizeToPixels(9, TGlobeUnitTypes::Pixel), 56);    // 56.25
  EXPECT_EQ(canvas.LengthToPixels(10, TGlobeUnitTypes::Pixel), 63); // 62.5, away from zero
}

TEST_F(GlobeCanvasSizes, MapSizesFollowTheZoom) {
  view.P().SetScaleFactor(1e-4L);
  EXPECT_EQ(canvas.ValueToGU(TGlobeUnitTypes::Pixel, 10), 100000);
  EXPECT_EQ(canvas.ValueToGU(TGlobeUnitTypes::NauticalMile, 2), 180000);
  EXPECT_EQ(canvas.ValueToGU(TGlobeUnitTypes::Kilometer, 1), 48596);
  EXPECT_EQ(canvas.LengthToPixels(10, TGlobeUnitTypes::Kilometer), 49);  // 48.596
  // At one pixel per GlobeUnit the rounding of the unit factor shows: SizeToPixels rounds the
  // kilometre to 48,596 GlobeUnit first, LengthToPixels converts 1000 km at once.
  view.P().SetScaleFactor(1.0L);
  EXPECT_EQ(canvas.SizeToPixels(1000, TGlobeUnitTypes::Kilometer), 48596000);
  EXPECT_EQ(canvas.LengthToPixels(1000, TGlobeUnitTypes::Kilometer), 48596112);
  // Results beyond 32 bits are held at the limit instead of wrapping.
  view.P().SetScaleFactor(3.0L);
  EXPECT_EQ(canvas.SizeToPixels(1000000, TGlobeUnitTypes::Degree), INT32_MAX);
}

using GlobeCanvasPoly = CanvasFixture;

TEST_F(GlobeCanvasPoly, ClosedShapesArePolygonsOpenOnesPolylines) {
  Load({{-10, 10}, {10, 10}, {10, 20}, {-10, 20}});
  canvas.RenderPoly(4, 0x3C00 | 0x0002, 3);
  Load({{5, 5}, {50, 50}});
  canvas.RenderPoly(2, 0x3C00, 3);
  ASSERT_EQ(Drawn(DrawOp::Polygon).size(), 1u);
  EXPECT_EQ(Drawn(DrawOp::Polygon)[0], (Points{{-3, 10}, {10, 10}, {10, 20}, {-3, 20}}));
  ASSERT_EQ(Drawn(DrawOp::Polyline).size(), 1u);
  EXPECT_EQ(Drawn(DrawOp::Polyline)[0], (Points{{5, 5}, {50, 50}}));
}

TEST_F(GlobeCanvasPoly, FewerThanTwoPointsDrawNothing) {
  Load({{5, 5}});
  canvas.RenderPoly(1, 0x0002, 0);
  Load({{5, -50}, {50, -50}});
  canvas.RenderPoly(2, 0x3C00, 0);
  canvas.RenderPoly(-3, 0, 0);
  EXPECT_EQ(window.Count(DrawOp::Polygon) + window.Count(DrawOp::Polyline), 0u);
}

TEST_F(GlobeCanvasPoly, BufferedDrawingGoesToTheBitmap) {
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
  const auto lines = window.Calls(DrawOp::Polyline);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Target, "bitmap1");
  EXPECT_EQ(lines[1].Target, "bitmap2");
  EXPECT_EQ(lines[2].Target, "window");
  const auto buffers = window.Calls(DrawOp::CreateBitmapSurface);
  ASSERT_EQ(buffers.size(), 2u);
  EXPECT_EQ(buffers[1].BitmapSize, (platform::TSize{300, 200}));
}

TEST_F(GlobeCanvasPoly, ResetStateSelectsTheCanvasSettingsAgain) {
  canvas.SetPen(platform::Pen{clBlue, psDash, 3});
  canvas.Surface().SetPen(platform::Pen{clRed});  // as an attribute would
  canvas.ResetState();
  EXPECT_EQ(window.State().CurrentPen, (platform::Pen{clBlue, psDash, 3}));
}

// ---- Chains ------------------------------------------------------------------------------

TChainStore OneChain(std::initializer_list<std::pair<int32_t, int32_t>> degrees) {
  TChainStore chains;
  TPointStore& chain = chains.Chain(0);
  for (const auto& [lon, lat] : degrees) chain.Add(TGeoPoint(lon * Deg, lat * Deg));
  return chains;
}

struct FlatMapFixture : CanvasFixture {
  // Plate carree fitted to 600 x 400: 600 / 360 degrees, origin in the middle.
  FlatMapFixture() {
    view.P().SetProjectionClass("TCartesianPrj");
    view.P().SetScaleFactor(0);
  }
  static int32_t X(long double degrees) { return 300 + static_cast<int32_t>(std::nearbyint(degrees * 600 / 360)); }
  static int32_t Y(long double degrees) { return 200 - static_cast<int32_t>(std::nearbyint(degrees * 600 / 360)); }
};

TEST_F(FlatMapFixture, OpenLineIsCutAtTheAntiMeridian) {
  TChainStore line = OneChain({{170, 10}, {-170, 20}});
  canvas.RenderChainStore(line, 0x3C00, 0);
  const auto lines = Drawn(DrawOp::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (Points{{X(170), Y(10)}, {600, Y(15)}}));
  EXPECT_EQ(lines[1], (Points{{0, Y(15)}, {X(-170), Y(20)}}));
}

TEST_F(FlatMapFixture, ClosedShapeAcrossTheAntiMeridianBecomesTwoPolygons) {
  TChainStore box = OneChain({{170, 10}, {-170, 10}, {-170, -10}, {170, -10}});
  canvas.RenderChainStore(box, 0x3C00 | 0x0002, 0);
  const auto polygons = Drawn(DrawOp::Polygon);
  ASSERT_EQ(polygons.size(), 2u);
  // The eastern part (pieces 0 and 2) ends on the right map edge, the western on the left.
  EXPECT_EQ(polygons[0], (Points{{X(170), Y(10)}, {600, Y(10)}, {600, Y(-10)}, {X(170), Y(-10)}}));
  EXPECT_EQ(polygons[1], (Points{{0, Y(10)}, {X(-170), Y(10)}, {X(-170), Y(-10)}, {0, Y(-10)}}));
}

TEST_F(FlatMapFixture, OutlineRoundAPoleIsClosedOverThatPole) {
  TChainStore south = OneChain({{0, -80}, {120, -80}, {-120, -80}, {0, -80}});
  canvas.RenderChainStore(south, 0x3C00 | 0x0002, 0);
  auto polygons = Drawn(DrawOp::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  auto onRow = [](const Points& p, int32_t y) {
    return std::count_if(p.begin(), p.end(), [y](const TPoint& q) { return q.Y == y; });
  };
  EXPECT_EQ(onRow(polygons[0], Y(-90)), 2);  // both ends of the pole path
  EXPECT_EQ(onRow(polygons[0], Y(90)), 0);
  // The outline runs from the left map edge round to the right one.
  EXPECT_EQ(polygons[0].front(), (TPoint{0, Y(-80)}));

  window.ClearLog();
  TChainStore north = OneChain({{0, 70}, {120, 70}, {-120, 70}, {0, 70}});
  canvas.RenderChainStore(north, 0x3C00 | 0x0002, 0);
  polygons = Drawn(DrawOp::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(onRow(polygons[0], Y(90)), 2);
  EXPECT_EQ(onRow(polygons[0], Y(-90)), 0);
}

using GlobeChains = CanvasFixture;

TEST_F(GlobeChains, OpenLinesOnTheGlobeStopAtTheHorizon) {
  view.P().SetXRotation(0);
  view.P().SetYRotation(0);
  // Along the equator from the centre of the view to its back: up to 90 degrees are visible.
  TChainStore equator = OneChain({{0, 0}, {30, 0}, {60, 0}, {80, 0}, {120, 0}, {150, 0}});
  canvas.RenderChainStore(equator, 0x3C00, 0);
  const auto lines = Drawn(DrawOp::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].size(), 4u);
  EXPECT_EQ(lines[0][0], (TPoint{300, 200}));
  EXPECT_GT(lines[0][3].X, lines[0][2].X);
}

TEST_F(GlobeChains, ClosedShapesOnTheGlobeAreOnePolygonPerChain) {
  view.P().SetXRotation(0);
  view.P().SetYRotation(0);
  TChainStore two = OneChain({{-5, -5}, {5, -5}, {5, 5}, {-5, 5}});
  TPointStore& second = two.Chain(1);
  second.Add(TGeoPoint(20 * Deg, 0));
  second.Add(TGeoPoint(30 * Deg, 0));
  second.Add(TGeoPoint(25 * Deg, 10 * Deg));
  two.Chain(2);  // an empty chain is skipped
  canvas.RenderChainStore(two, 0x3C00 | 0x0002, 1);
  const auto polygons = Drawn(DrawOp::Polygon);
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons[0].size(), 4u);
  EXPECT_EQ(polygons[1].size(), 3u);
  for (const TPoint& p : polygons[0]) {
    EXPECT_NEAR(p.X, 300, 20);
    EXPECT_NEAR(p.Y, 200, 20);
  }
}

}  // namespace
}  // namespace globe
