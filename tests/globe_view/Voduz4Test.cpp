// The map control without a window: mouse handling, resizing, what it draws, its scroll bars,
// and zooming, turning and fitting about pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <tuple>
#include <vector>

#include "globe/data/GeoMath.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/ViewNavigation.h"
#include "platform/testing/RecordingViewHost.h"
#include "tests/support/RecordingMapFixture.h"

namespace globe {
namespace {

using corvalis::testing::DegreesBetween;
using platform::MouseButton;
using platform::ScrollBarKind;
using platform::ShiftState;
using platform::testing::DrawOp;
using platform::testing::RecordingDrawingSurface;

constexpr int32_t kDeg = 5'400'000;

TVec3 Unit(const TGeoPoint& p) {
  const long double toRad = std::numbers::pi_v<long double> / 180 / kDeg;
  const long double lat = p.LatY * toRad, lon = p.LongX * toRad;
  return TVec3{std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
}

// The point is drawn within `pixels` of (x, y).
void ExpectPixel(TVoduz4& view, const TGeoPoint& point, int32_t x, int32_t y, int32_t pixels) {
  platform::TPoint xy;
  ASSERT_TRUE(view.Projection().PointLLToDeviceXY(point, xy));
  EXPECT_LE(std::abs(xy.X - x), pixels) << x << "," << y;
  EXPECT_LE(std::abs(xy.Y - y), pixels) << x << "," << y;
}

class Voduz4Test : public corvalis::testing::RecordingMapFixture {
 protected:
  // Every point of every polyline drawn, turned back into geographic points.
  std::vector<TGeoPoint> DrawnPoints() {
    std::vector<TGeoPoint> points;
    for (const auto& call : window.Calls(DrawOp::Polyline))
      for (const auto& p : call.Points) {
        TGeoPoint g;
        if (view.DeviceXYToLL(p.X, p.Y, g)) points.push_back(g);
      }
    return points;
  }
  void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    view.MouseDown(MouseButton::Right, ShiftState{}, x0, y0);
    view.MouseUp(MouseButton::Right, ShiftState{}, x1, y1);
  }
  void Include(TGlobeOption option) {
    TGlobeOptions options = view.GlobeOptions();
    options.Include(option);
    view.SetGlobeOptions(options);
  }
  void ExpectAt(const TGeoPoint& point, int32_t x, int32_t y, int32_t pixels) { ExpectPixel(view, point, x, y, pixels); }
  TGlobeProjection& p = view.Projection();
};

TEST_F(Voduz4Test, ZoomBandMultipliesTheScaleAndCentresTheBand) {
  const long double before = p.ScaleFactor();
  TGeoPoint bandCentre;
  ASSERT_TRUE(view.DeviceXYToLL(250, 225, bandCentre));
  Drag(200, 200, 300, 250);
  EXPECT_NEAR(p.ScaleFactor() / before, 6.0L, 1e-6);  // min(600 / 100, 400 / 50) = 6
  ExpectAt(bandCentre, 300, 200, 1);
  // Capped at the largest scale; bands under 10 pixels zoom nothing.
  p.SetScaleFactor(1.0L);
  Drag(200, 200, 300, 250);
  EXPECT_EQ(p.ScaleFactor(), MaxScaleFactor);
  p.SetScaleFactor(0.001L);
  Drag(200, 200, 209, 300);
  EXPECT_EQ(p.ScaleFactor(), 0.001L);
  // A second press cancels a band in progress.
  view.MouseDown(MouseButton::Right, ShiftState{}, 100, 100);
  view.MouseDown(MouseButton::Left, ShiftState{}, 120, 120);
  EXPECT_FALSE(view.ZoomBandActive());
  view.MouseUp(MouseButton::Left, ShiftState{}, 300, 300);
  EXPECT_EQ(p.ScaleFactor(), 0.001L);
}

TEST_F(Voduz4Test, ZoomBandIsDrawnAsAFocusRectangleOverTheBuffer) {
  std::vector<std::string> order;
  view.OnRender = [&](TVoduz4&) { order.push_back("render"); };
  view.OnPaint = [&](TVoduz4&) { order.push_back("paint"); };
  PaintNow();
  EXPECT_EQ(order, (std::vector<std::string>{"render", "paint"}));
  EXPECT_FALSE(view.RedrawNeeded());
  view.MouseDown(MouseButton::Right, ShiftState{}, 300, 250);
  view.MouseMove(ShiftState{}, 200, 200);  // dragged up and to the left
  window.ClearLog();
  view.Paint(window);
  const auto rects = window.Calls(DrawOp::DrawFocusRect);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Rect, (platform::TRect{200, 200, 300, 250}));
  // No change since the last render: the buffer is copied, only OnPaint is raised.
  EXPECT_EQ(window.Count(DrawOp::FillRect), 0u);
  EXPECT_EQ(window.Count(DrawOp::DrawBitmap), 1u);
  EXPECT_EQ(order, (std::vector<std::string>{"render", "paint", "paint"}));
}

TEST_F(Voduz4Test, RotateDragMovesTheGrabbedPointWithTheMouse) {
  view.MouseRotateButton = mzbLeft;
  TGeoPoint grabbed;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, grabbed));
  view.MouseDown(MouseButton::Left, ShiftState{}, 300, 200);
  ASSERT_TRUE(view.Rotating());
  view.MouseMove(ShiftState{}, 330, 180);
  ExpectAt(grabbed, 330, 180, 2);
  // Outside the disc nothing changes.
  const long double x = p.XRotation(), y = p.YRotation();
  view.MouseMove(ShiftState{}, 0, 0);
  EXPECT_EQ(std::pair(p.XRotation(), p.YRotation()), std::pair(x, y));
  view.MouseUp(MouseButton::Left, ShiftState{}, 0, 0);
  EXPECT_FALSE(view.Rotating());
  // A drag that starts off the globe does not rotate.
  view.MouseDown(MouseButton::Left, ShiftState{}, 0, 0);
  EXPECT_FALSE(view.Rotating());
}

// Drags that would turn the globe past a pole stop its tilt there, with the pole at the centre:
// from the equator, each drag from the centre to the disc's edge turns it about 50 degrees, so the
// second would pass the pole and the third pushes on it.
TEST_F(Voduz4Test, RotateDragStopsTheTiltAtThePoles) {
  view.MouseRotateButton = mzbLeft;
  for (const auto& [toY, tilt] : {std::pair{395, 90.0L}, {5, -90.0L}}) {
    p.SetXRotation(0);
    for (int drag = 0; drag < 3; ++drag) {
      view.MouseDown(MouseButton::Left, ShiftState{}, 300, 200);
      view.MouseMove(ShiftState{}, 300, toY);
      view.MouseUp(MouseButton::Left, ShiftState{}, 300, toY);
    }
    EXPECT_EQ(p.XRotation(), tilt);
    TGeoPoint centre;
    ASSERT_TRUE(view.DeviceXYToLL(300, 200, centre));
    EXPECT_NEAR(centre.LatY, tilt * kDeg, kDeg / 2);
  }
}

TEST_F(Voduz4Test, ReleaseSelectsClearsAndReportsClicks) {
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, middle));
  TGeoDataObject* square = AddSquare(*view.LayerStore().NewLayer(), middle, 2 * kDeg);
  int clicks = 0;
  view.OnObjectClick = [&](TVoduz4&, TGlobeObject* object) {
    EXPECT_EQ(object, square);
    ++clicks;
  };
  view.MouseRotateButton = mzbNone;
  view.MouseUp(MouseButton::Left, ShiftState{}, 300, 200);
  EXPECT_EQ(view.LayerStore().SelectedObject(), square);
  EXPECT_EQ(clicks, 1);
  view.MouseUp(MouseButton::Left, ShiftState{}, 5, 5);  // empty map
  EXPECT_EQ(view.LayerStore().SelectedObject(), nullptr);
  view.MouseSelectButton = mzbNone;
  view.MouseUp(MouseButton::Left, ShiftState{}, 300, 200);
  EXPECT_EQ(view.LayerStore().SelectedObject(), nullptr);
  EXPECT_EQ(clicks, 2);
  // Ctrl-click toggles with multi-selection.
  view.MouseSelectButton = mzbLeft;
  Include(goMultiSelect);
  ShiftState ctrl;
  ctrl.Ctrl = true;
  view.MouseUp(MouseButton::Left, ctrl, 300, 200);
  EXPECT_TRUE(square->Selected());
  view.MouseUp(MouseButton::Left, ctrl, 300, 200);
  EXPECT_FALSE(square->Selected());
}

TEST_F(Voduz4Test, ResizingFollowsTheDiagonalAndKeepsTheMiddle) {
  view.SetClientSize(400, 300);
  p.SetCenterLatitude(30);
  p.SetCenterLongitude(10);
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(200, 150, middle));
  const long double before = p.ScaleFactor();
  view.SetClientSize(800, 600);
  EXPECT_NEAR(p.ScaleFactor() / before, 2.0L, 1e-12);
  ExpectAt(middle, 400, 300, 1);
  EXPECT_EQ(view.ViewExtentGU.Right, RoundToInt(800 / p.ScaleFactor()));
  Include(goConstantScaleOnResize);
  const long double kept = p.ScaleFactor();
  view.SetClientSize(500, 500);
  view.SetClientSize(0, 300);
  EXPECT_EQ(view.Canvas().Width(), 500);
  EXPECT_EQ(p.ScaleFactor(), kept);
}

TEST_F(Voduz4Test, ATransparentGlobeDrawsTheGraticuleOnBothSides) {
  view.SetGraticuleDrawMode(gdBehind);
  Include(goTransparentGlobe);
  std::vector<platform::Pen> pens;
  view.OnPaintGraticule = [&](TVoduz4& v) { pens.push_back(v.Canvas().CanvasState().CurrentPen); };
  PaintNow();
  EXPECT_EQ(pens, (std::vector<platform::Pen>{view.TransparentPen(), view.GraticulePen()}));
}

TEST_F(Voduz4Test, CirclesAndLinesOnTheFlatWorld) {
  ShowFlatWorld();
  const TGeoPoint centre(10 * kDeg, 40 * kDeg, 0);
  view.OnRender = [&](TVoduz4& v) { v.RenderCircle(centre, 20 * kDeg, 36); };
  PaintNow();
  std::vector<TGeoPoint> points = DrawnPoints();
  ASSERT_GE(points.size(), 30u);
  for (const TGeoPoint& g : points) EXPECT_NEAR(DegreesBetween(g, centre), 20.0L, 1.5L);
  // The start: 20 degrees north on the centre's meridian.
  EXPECT_NEAR(points.front().LatY / static_cast<long double>(kDeg), 60.0L, 1.0L);
  EXPECT_NEAR(points.front().LongX / static_cast<long double>(kDeg), 10.0L, 1.0L);
  // A line crosses the anti-meridian the short way.
  view.OnRender = [&](TVoduz4& v) { v.RenderLine(TGeoPoint(170 * kDeg, 10 * kDeg, 0), TGeoPoint(-170 * kDeg, 20 * kDeg, 0), 4); };
  PaintNow();
  points = DrawnPoints();
  ASSERT_FALSE(points.empty());
  for (const TGeoPoint& g : points) EXPECT_GE(std::abs(g.LongX), 168 * kDeg) << g.LongX;
}

TEST_F(Voduz4Test, GreatCircleArcsLieInThePlaneOfTheirEnds) {
  ShowFlatWorld();
  const TGeoPoint from(-30 * kDeg, 20 * kDeg, 0), to(40 * kDeg, 50 * kDeg, 0);
  const TVec3 normal = Vec3Cross(Unit(from), Unit(to));
  const long double span = DegreesBetween(from, to);
  for (uint8_t mode : {0, 1}) {
    view.OnRender = [&](TVoduz4& v) { v.RenderGreatCircle(from, to, mode); };
    PaintNow();
    const std::vector<TGeoPoint> points = DrawnPoints();
    ASSERT_GE(points.size(), 10u) << int(mode);
    int offShortArc = 0;
    for (const TGeoPoint& g : points) {
      // In the plane of the two ends (about a pixel of the 0.6-degree grid off at most).
      EXPECT_LT(std::fabs(Vec3Dot(Unit(g), normal)), 0.03L) << g.LongX << " " << g.LatY;
      if (DegreesBetween(g, from) + DegreesBetween(g, to) > span + 5) ++offShortArc;
    }
    // Mode 0 keeps to the short arc, mode 1 goes round the long way.
    EXPECT_EQ(offShortArc > static_cast<int>(points.size()) / 2, mode == 1);
    EXPECT_EQ(offShortArc == 0, mode == 0);
  }
}

TEST_F(Voduz4Test, MinMaxLimitsKeepAFlatMapInsideTheLimits) {
  ShowFlatWorld();
  p.SetMinLatitude(-30);
  p.SetMaxLatitude(30);
  p.SetMinLongitude(-60);
  p.SetMaxLongitude(60);
  p.SetUseMinMaxLimits(true);
  view.UpdateScrollBars();
  // 120 x 60 degrees in a 600 x 400 window: the height decides.
  platform::TPoint sw, ne;
  p.LLToDeviceXY(-60 * kDeg, -30 * kDeg, sw);
  p.LLToDeviceXY(60 * kDeg, 30 * kDeg, ne);
  EXPECT_NEAR(sw.Y - ne.Y, 400, 2);
  EXPECT_TRUE(sw.X <= 0 && ne.X >= 600 && ne.Y <= 0 && sw.Y >= 400) << sw.X << " " << ne.X;
  // Scrolling past the western limit is pushed back.
  view.ScrollBy(-100 * kDeg, 0);
  p.LLToDeviceXY(-60 * kDeg, -30 * kDeg, sw);
  EXPECT_NEAR(sw.X, 0, 1);
}

TEST_F(Voduz4Test, TextOutStartsAtThePointInTheCanvasFont) {
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, middle));
  platform::Font font;
  font.Name = "Courier";
  font.Height = 12;
  const platform::Font font12 = font;
  view.OnRender = [&](TVoduz4& v) {
    v.Canvas().SetFont(font);
    v.Canvas().SetTextColor(0x0000FF);
    v.RenderTextOut(middle.LongX, middle.LatY, "Tobruk", TGlobeUnitTypes::Pixel);
    font.Height = 3;  // below MinTextHeight: not written
    v.Canvas().SetFont(font);
    v.RenderTextOut(middle.LongX, middle.LatY, "small", TGlobeUnitTypes::Pixel);
  };
  PaintNow();
  const auto texts = window.Calls(DrawOp::TextOut);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "Tobruk");
  EXPECT_EQ(texts[0].State.CurrentFont, font12);
  EXPECT_EQ(texts[0].State.TextColor, 0x0000FFu);
  EXPECT_EQ(texts[0].State.Background, platform::BackgroundMode::Transparent);
  ExpectAt(middle, texts[0].Points[0].X, texts[0].Points[0].Y, 0);
}

TEST_F(Voduz4Test, RenderToCanvasDrawsIntoAnotherSurfaceAndKeepsTheView) {
  const long double scale = p.ScaleFactor();
  const int32_t x = p.XOrigin();
  TGlobeCanvas* own = &view.Canvas();
  std::vector<int32_t> widths;
  view.OnRender = [&](TVoduz4& v) { widths.push_back(v.Canvas().Width()); };
  RecordingDrawingSurface target{300, 200, 96, "printer"};
  view.RenderToCanvas(target, platform::TRect{10, 20, 310, 220}, true);
  EXPECT_EQ(widths, std::vector<int32_t>{300});
  const auto copies = target.Calls(DrawOp::DrawBitmap);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].Points[0], (platform::TPoint{10, 20}));
  EXPECT_EQ(copies[0].BitmapSize, (platform::TSize{300, 200}));
  EXPECT_EQ(std::tuple(&view.Canvas(), view.Canvas().Width(), p.ScaleFactor(), p.XOrigin()), std::tuple(own, 600, scale, x));
}

// The scroll bars: the globe's disc is 618,794,460 GlobeUnit across.

constexpr long double kRadius = 309'397'230;  // GlobeUnit

class ScrollBarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetHost(&host);
    p.SetScaleFactor(0);  // the disc fits the 300 pixels of height
  }
  // Zoomed in four times: 600 / kRadius pixels a GlobeUnit, the disc 1200 pixels across.
  void ZoomIn() { p.SetScaleFactor(p.ScaleFactor() * 4); }
  platform::testing::RecordingViewHost host{{400, 300}};
  TVoduz4 view;
  TGlobeProjection& p = view.Projection();
};

void ExpectBar(const platform::ScrollBarState& bar, long double min, long double max, long double page, long double position) {
  EXPECT_TRUE(bar.Visible);
  EXPECT_NEAR(bar.Min, min, 1);
  EXPECT_NEAR(bar.Max, max, 1);
  EXPECT_NEAR(bar.Page, page, 1);
  EXPECT_NEAR(bar.Position, position, 1);
}

TEST_F(ScrollBarsTest, RangesAndPositionsAfterZooming) {
  ZoomIn();
  // The window (origin in its middle) shows 400 and 300 pixels of the 1200-pixel disc.
  ExpectBar(host.Bar(ScrollBarKind::Horizontal), -kRadius, kRadius, kRadius * 2 / 3, -kRadius / 3);
  ExpectBar(host.Bar(ScrollBarKind::Vertical), -kRadius, kRadius, kRadius / 2, -kRadius / 4);
  // The range takes in the window when it has been panned beyond the map.
  view.ScrollBy(RoundToInt(kRadius), 0);  // 600 pixels: the disc spans -1000..200
  ExpectBar(view.ScrollBar(ScrollBarKind::Horizontal), -kRadius, kRadius * 4 / 3, kRadius * 2 / 3, kRadius * 2 / 3);
  // On the flat map the range is the world: 180 degrees of 360 across, 135 of 180 down.
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(0);  // 360 degrees in 400 pixels
  EXPECT_FALSE(view.ScrollBar(ScrollBarKind::Horizontal).Visible);
  p.SetScaleFactor(p.ScaleFactor() * 2);
  const long double degree = 5'400'000;
  ExpectBar(view.ScrollBar(ScrollBarKind::Horizontal), -180 * degree, 180 * degree, 180 * degree, -90 * degree);
  ExpectBar(view.ScrollBar(ScrollBarKind::Vertical), -90 * degree, 90 * degree, 135 * degree, -67.5L * degree);
}

TEST_F(ScrollBarsTest, MovingABarPansTheViewByItsMove) {
  ZoomIn();
  int panned = 0;
  view.OnPanned = [&](TVoduz4&) { ++panned; };
  // A sixth of the radius is 100 pixels: the window moves right, the map left.
  view.Scroll(ScrollBarKind::Horizontal, view.ScrollBar(ScrollBarKind::Horizontal).Position + RoundToInt(kRadius / 6));
  EXPECT_EQ(std::tuple(p.XOrigin(), p.YOrigin(), panned), std::tuple(100, 150, 1));
  EXPECT_NEAR(host.Bar(ScrollBarKind::Horizontal).Position, -kRadius / 6, 1);
  // Down by a quarter of the radius: 150 pixels.
  view.Scroll(ScrollBarKind::Vertical, view.ScrollBar(ScrollBarKind::Vertical).Position + RoundToInt(kRadius / 4));
  EXPECT_EQ(p.YOrigin(), 0);
  // A position past the end stops with the map's right edge on the window's.
  view.Scroll(ScrollBarKind::Horizontal, INT32_MAX);
  EXPECT_EQ(p.XOrigin(), -200);
  // The same position again moves nothing.
  view.Scroll(ScrollBarKind::Horizontal, view.ScrollBar(ScrollBarKind::Horizontal).Position);
  EXPECT_EQ(panned, 3);
}

class ViewNavigationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetClientSize(800, 600);
    view.LocateToLL(25 * kDeg, 35 * kDeg);
    view.Projection().SetAltitude(0);  // the whole globe in the window
    wholeGlobe = view.Projection().Altitude();
    view.Projection().SetAltitude(wholeGlobe / 4);
  }
  void ExpectAt(const TGeoPoint& point, int32_t x, int32_t y, int32_t pixels) { ExpectPixel(view, point, x, y, pixels); }
  TVoduz4 view;
  int32_t wholeGlobe = 0;
};

TEST_F(ViewNavigationTest, ZoomKeepsThePointUnderTheCursorWithinAPixel) {
  const struct {
    int32_t x, y;
    double factor;
  } table[] = {{100, 80, 0.8}, {700, 520, 0.8}, {400, 300, 1.2}, {610, 140, 0.95}, {55, 500, 1.05}};
  for (const auto& row : table) {
    TGeoPoint under;
    ASSERT_TRUE(view.DeviceXYToLL(row.x, row.y, under));
    const int32_t before = view.Projection().Altitude();
    ZoomAboutPixel(view, static_cast<int32_t>(before * row.factor), row.x, row.y);
    EXPECT_NE(view.Projection().Altitude(), before);
    ExpectAt(under, row.x, row.y, 1);
  }
  // Off the globe the centre is kept.
  view.Projection().SetAltitude(wholeGlobe * 2);  // the globe is small in the window
  TGeoPoint centre, corner;
  ASSERT_TRUE(view.DeviceXYToLL(400, 300, centre));
  ASSERT_FALSE(view.DeviceXYToLL(2, 2, corner));
  ZoomAboutPixel(view, wholeGlobe, 2, 2);
  EXPECT_EQ(view.Projection().Altitude(), wholeGlobe);
  ExpectAt(centre, 400, 300, 1);
}

TEST_F(ViewNavigationTest, PanBringsThePointATenthAwayToTheCentre) {
  for (auto [fx, fy] : {std::pair{0.1, 0.0}, {-0.1, 0.0}, {0.0, 0.1}, {0.0, -0.1}}) {
    TGeoPoint ahead;
    ASSERT_TRUE(view.DeviceXYToLL(400 + static_cast<int32_t>(fx * 800), 300 + static_cast<int32_t>(fy * 600), ahead));
    PanByWindowShare(view, fx, fy);
    ExpectAt(ahead, 400, 300, 4);  // the rotate step is an approximation away from the centre
  }
}

TEST_F(ViewNavigationTest, FitsEveryPointWithTheMarginAndFillsTheWindow) {
  const std::vector<TGeoPoint> points = {TGeoPoint(23 * kDeg, 35 * kDeg, 0), TGeoPoint(30 * kDeg, 31 * kDeg, 0),
                                         TGeoPoint(14 * kDeg, 36 * kDeg, 0), TGeoPoint(26 * kDeg, 37 * kDeg, 0)};
  view.LocateToLL(0, 0);
  ASSERT_TRUE(ZoomToPoints(view, points, 0.1));
  int32_t left = 800, right = 0, top = 600, bottom = 0;
  for (const TGeoPoint& point : points) {
    platform::TPoint xy;
    ASSERT_TRUE(view.Projection().PointLLToDeviceXY(point, xy));
    left = std::min(left, xy.X), right = std::max(right, xy.X);
    top = std::min(top, xy.Y), bottom = std::max(bottom, xy.Y);
  }
  EXPECT_TRUE(left >= 38 && right <= 762 && top >= 28 && bottom <= 572) << left << " " << right << " " << top << " " << bottom;
  // One direction is filled up to the margin on both sides.
  EXPECT_TRUE((left <= 42 && right >= 758) || (top <= 32 && bottom >= 568)) << left << " " << right << " " << top << " " << bottom;
  // Nothing to fit changes nothing.
  const int32_t altitude = view.Projection().Altitude();
  EXPECT_FALSE(ZoomToPoints(view, {}, 0.1));
  EXPECT_EQ(view.Projection().Altitude(), altitude);
}

}  // namespace
}  // namespace globe
