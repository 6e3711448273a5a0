// The map control without a window: zoom band, rotate drag, selection, resizing, graticule steps
// and the drawing operations, observed through a recording drawing surface.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "globe/data/GeoMath.h"
#include "globe/view/GlobeCanvas.h"
#include "tests/support/RecordingMapFixture.h"

namespace globe {
namespace {

using corvalis::testing::DegreesBetween;
using platform::MouseButton;
using platform::ShiftState;
using platform::testing::DrawOp;
using platform::testing::RecordingDrawingSurface;

constexpr int32_t kDeg = 5'400'000;

TVec3 Unit(const TGeoPoint& p) {
  const long double toRad = std::numbers::pi_v<long double> / 180 / kDeg;
  const long double lat = p.LatY * toRad, lon = p.LongX * toRad;
  return TVec3{std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
}

class Voduz4Test : public corvalis::testing::RecordingMapFixture {
 protected:
  // Every point of every polyline and polygon drawn, turned back into geographic points.
  std::vector<TGeoPoint> DrawnPoints(DrawOp op) {
    std::vector<TGeoPoint> points;
    for (const auto& call : window.Calls(op))
      for (const auto& p : call.Points) {
        TGeoPoint g;
        if (view.DeviceXYToLL(p.X, p.Y, g)) points.push_back(g);
      }
    return points;
  }
  TGeoDataObject* AddSquareAt(const TGeoPoint& centre, int32_t half) {
    return AddSquare(*view.LayerStore().NewLayer(), centre, half);
  }
};

TEST_F(Voduz4Test, ZoomBandMultipliesTheScaleAndCentresTheBand) {
  TGlobeProjection& p = view.Projection();
  const long double before = p.ScaleFactor();
  ASSERT_LT(before * 6, MaxScaleFactor);
  TGeoPoint bandCentre;
  ASSERT_TRUE(view.DeviceXYToLL(250, 225, bandCentre));

  view.MouseDown(MouseButton::Right, ShiftState{}, 200, 200);
  EXPECT_TRUE(view.ZoomBandActive());
  view.MouseMove(ShiftState{}, 300, 250);
  view.MouseUp(MouseButton::Right, ShiftState{}, 300, 250);
  EXPECT_FALSE(view.ZoomBandActive());

  // min(600 / 100, 400 / 50) = 6.
  EXPECT_NEAR(p.ScaleFactor() / before, 6.0L, 1e-6);
  platform::TPoint xy;
  ASSERT_TRUE(p.PointLLToDeviceXY(bandCentre, xy));
  EXPECT_NEAR(xy.X, 300, 1);
  EXPECT_NEAR(xy.Y, 200, 1);
}

TEST_F(Voduz4Test, ZoomBandIsCappedAndSmallBandsZoomNothing) {
  TGlobeProjection& p = view.Projection();
  p.SetScaleFactor(1.0L);
  view.MouseDown(MouseButton::Right, ShiftState{}, 200, 200);
  view.MouseUp(MouseButton::Right, ShiftState{}, 300, 250);
  EXPECT_EQ(p.ScaleFactor(), MaxScaleFactor);

  p.SetScaleFactor(0.001L);
  view.MouseDown(MouseButton::Right, ShiftState{}, 200, 200);
  view.MouseUp(MouseButton::Right, ShiftState{}, 209, 300);  // 9 pixels wide
  EXPECT_EQ(p.ScaleFactor(), 0.001L);
  EXPECT_FALSE(view.ZoomBandActive());

  // A second press cancels a band in progress.
  view.MouseDown(MouseButton::Right, ShiftState{}, 100, 100);
  view.MouseDown(MouseButton::Left, ShiftState{}, 120, 120);
  EXPECT_FALSE(view.ZoomBandActive());
  view.MouseUp(MouseButton::Left, ShiftState{}, 300, 300);
  EXPECT_EQ(p.ScaleFactor(), 0.001L);
}

TEST_F(Voduz4Test, ZoomBandIsDrawnAsAFocusRectangle) {
  PaintNow();
  view.MouseDown(MouseButton::Right, ShiftState{}, 300, 250);
  view.MouseMove(ShiftState{}, 200, 200);  // dragged up and to the left
  window.ClearLog();
  view.Paint(window);
  const auto rects = window.Calls(DrawOp::DrawFocusRect);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Rect, (platform::TRect{200, 200, 300, 250}));
  // No change since the last render: the buffer is copied, the layers are not drawn again.
  EXPECT_EQ(window.Count(DrawOp::FillRect), 0u);
  EXPECT_EQ(window.Count(DrawOp::DrawBitmap), 1u);
}

TEST_F(Voduz4Test, RotateDragMovesTheGrabbedPointWithTheMouse) {
  TGlobeProjection& p = view.Projection();
  p.SetScaleFactor(p.ScaleFactor());
  view.MouseZoomButton = mzbRight;
  view.MouseRotateButton = mzbLeft;
  TGeoPoint grabbed;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, grabbed));
  view.MouseDown(MouseButton::Left, ShiftState{}, 300, 200);
  ASSERT_TRUE(view.Rotating());
  view.MouseMove(ShiftState{}, 330, 180);
  platform::TPoint xy;
  ASSERT_TRUE(p.PointLLToDeviceXY(grabbed, xy));
  EXPECT_NEAR(xy.X, 330, 2);
  EXPECT_NEAR(xy.Y, 180, 2);

  // Outside the disc nothing changes.
  const long double x = p.XRotation(), y = p.YRotation();
  view.MouseMove(ShiftState{}, 0, 0);
  EXPECT_EQ(p.XRotation(), x);
  EXPECT_EQ(p.YRotation(), y);
  view.MouseUp(MouseButton::Left, ShiftState{}, 0, 0);
  EXPECT_FALSE(view.Rotating());

  // A drag that starts off the globe does not rotate.
  view.MouseDown(MouseButton::Left, ShiftState{}, 0, 0);
  EXPECT_FALSE(view.Rotating());
}

TEST_F(Voduz4Test, ReleaseSelectsClearsAndReportsClicks) {
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, middle));
  TGeoDataObject* square = AddSquareAt(middle, 2 * kDeg);
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
  TGlobeOptions options = view.GlobeOptions();
  options.Include(goMultiSelect);
  view.SetGlobeOptions(options);
  ShiftState ctrl;
  ctrl.Ctrl = true;
  view.MouseUp(MouseButton::Left, ctrl, 300, 200);
  EXPECT_TRUE(square->Selected());
  view.MouseUp(MouseButton::Left, ctrl, 300, 200);
  EXPECT_FALSE(square->Selected());
}

TEST_F(Voduz4Test, ResizingFollowsTheDiagonalAndKeepsTheMiddle) {
  view.SetClientSize(400, 300);
  TGlobeProjection& p = view.Projection();
  p.SetCenterLatitude(30);
  p.SetCenterLongitude(10);
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(200, 150, middle));
  const long double before = p.ScaleFactor();
  view.SetClientSize(800, 600);
  EXPECT_NEAR(p.ScaleFactor() / before, 2.0L, 1e-12);
  platform::TPoint xy;
  ASSERT_TRUE(p.PointLLToDeviceXY(middle, xy));
  EXPECT_NEAR(xy.X, 400, 1);
  EXPECT_NEAR(xy.Y, 300, 1);
  EXPECT_EQ(view.Canvas().Width(), 800);
  EXPECT_EQ(view.ViewExtentGU.Right, RoundToInt(800 / p.ScaleFactor()));

  TGlobeOptions options = view.GlobeOptions();
  options.Include(goConstantScaleOnResize);
  view.SetGlobeOptions(options);
  const long double kept = p.ScaleFactor();
  view.SetClientSize(500, 500);
  EXPECT_EQ(p.ScaleFactor(), kept);

  view.SetClientSize(0, 300);
  EXPECT_EQ(view.Canvas().Width(), 500);
  EXPECT_EQ(p.ScaleFactor(), kept);
}

TEST_F(Voduz4Test, GraticuleStepsOutsideTheirRangeAreIgnored) {
  // Set in turn from the default 15: each row's steps and the ones kept afterwards.
  const struct {
    int32_t Lat, Lon, KeptLat, KeptLon;
  } steps[] = {{90, 180, 15, 15}, {89, 179, 89, 179}, {0, -1, 0, 179}};
  for (const auto& row : steps) {
    view.SetGraticuleLatitudeStep(row.Lat);
    view.SetGraticuleLongitudeStep(row.Lon);
    EXPECT_EQ(view.GraticuleLatitudeStep(), row.KeptLat) << row.Lat;
    EXPECT_EQ(view.GraticuleLongitudeStep(), row.KeptLon) << row.Lon;
  }
}

TEST_F(Voduz4Test, TransparentGlobeDrawsTheGraticuleOnBothSides) {
  view.SetGraticuleDrawMode(gdBehind);
  TGlobeOptions options = view.GlobeOptions();
  options.Include(goTransparentGlobe);
  options.Exclude(goDoubleBuffered);
  view.SetGlobeOptions(options);
  int graticules = 0;
  std::vector<platform::Pen> pens;
  view.OnPaintGraticule = [&](TVoduz4& v) {
    ++graticules;
    pens.push_back(v.Canvas().CanvasState().CurrentPen);
  };
  PaintNow();
  ASSERT_EQ(graticules, 2);
  EXPECT_EQ(pens[0], view.TransparentPen());
  EXPECT_EQ(pens[1], view.GraticulePen());
}

TEST_F(Voduz4Test, PaintOrderAndRenderEvents) {
  std::vector<std::string> order;
  view.OnRender = [&](TVoduz4&) { order.push_back("render"); };
  view.OnPaint = [&](TVoduz4&) { order.push_back("paint"); };
  PaintNow();
  EXPECT_EQ(order, (std::vector<std::string>{"render", "paint"}));
  EXPECT_FALSE(view.RedrawNeeded());
  // A repaint without a change copies the buffer and raises only OnPaint.
  view.Paint(window);
  EXPECT_EQ(order.size(), 3u);
  EXPECT_EQ(order.back(), "paint");
}

TEST_F(Voduz4Test, CircleLiesAtItsRadiusAndStartsNorthOfTheCentre) {
  ShowFlatWorld();
  const TGeoPoint centre(10 * kDeg, 40 * kDeg, 0);
  view.OnRender = [&](TVoduz4& v) { v.RenderCircle(centre, 20 * kDeg, 36); };
  PaintNow();
  const std::vector<TGeoPoint> points = DrawnPoints(DrawOp::Polyline);
  ASSERT_GE(points.size(), 30u);
  for (const TGeoPoint& g : points) EXPECT_NEAR(DegreesBetween(g, centre), 20.0L, 1.5L);
  // The start: 20 degrees north on the centre's meridian.
  EXPECT_NEAR(points.front().LatY / static_cast<long double>(kDeg), 60.0L, 1.0L);
  EXPECT_NEAR(points.front().LongX / static_cast<long double>(kDeg), 10.0L, 1.0L);
}

TEST_F(Voduz4Test, GreatCircleArcsLieInThePlaneOfTheirEnds) {
  ShowFlatWorld();
  const TGeoPoint from(-30 * kDeg, 20 * kDeg, 0), to(40 * kDeg, 50 * kDeg, 0);
  const TVec3 a = Unit(from), b = Unit(to);
  const TVec3 normal = Vec3Cross(a, b);
  const long double span = DegreesBetween(from, to);
  for (uint8_t mode : {0, 1}) {
    view.OnRender = [&](TVoduz4& v) { v.RenderGreatCircle(from, to, mode); };
    PaintNow();
    const std::vector<TGeoPoint> points = DrawnPoints(DrawOp::Polyline);
    ASSERT_GE(points.size(), 10u) << int(mode);
    int offShortArc = 0;
    for (const TGeoPoint& g : points) {
      // In the plane of the two ends (about a pixel of the 0.6-degree grid off at most).
      EXPECT_LT(std::fabs(Vec3Dot(Unit(g), normal)), 0.03L) << g.LongX << " " << g.LatY;
      if (DegreesBetween(g, from) + DegreesBetween(g, to) > span + 5) ++offShortArc;
    }
    if (mode == 0) {
      EXPECT_EQ(offShortArc, 0);
    } else {
      EXPECT_GT(offShortArc, static_cast<int>(points.size()) / 2);
    }
  }
}

TEST_F(Voduz4Test, LineCrossesTheAntiMeridianTheShortWay) {
  ShowFlatWorld();
  const TGeoPoint from(170 * kDeg, 10 * kDeg, 0), to(-170 * kDeg, 20 * kDeg, 0);
  view.OnRender = [&](TVoduz4& v) { v.RenderLine(from, to, 4); };
  PaintNow();
  const std::vector<TGeoPoint> points = DrawnPoints(DrawOp::Polyline);
  ASSERT_FALSE(points.empty());
  for (const TGeoPoint& g : points) EXPECT_GE(std::abs(g.LongX), 168 * kDeg) << g.LongX;
}

TEST_F(Voduz4Test, MinMaxLimitsKeepAFlatMapInsideTheLimits) {
  ShowFlatWorld();
  TGlobeProjection& p = view.Projection();
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
  EXPECT_LE(sw.X, 0);
  EXPECT_GE(ne.X, 600);
  EXPECT_LE(ne.Y, 0);
  EXPECT_GE(sw.Y, 400);
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
  EXPECT_EQ(texts[0].State.CurrentFont.Name, "Courier");
  EXPECT_EQ(texts[0].State.CurrentFont.Height, 12);
  EXPECT_EQ(texts[0].State.TextColor, 0x0000FFu);
  EXPECT_EQ(texts[0].State.Background, platform::BackgroundMode::Transparent);
  EXPECT_EQ(texts[0].State.Align, (platform::TextAlign{platform::HorizontalAlign::Left, platform::VerticalAlign::Top}));
  platform::TPoint xy;
  ASSERT_TRUE(view.Projection().PointLLToDeviceXY(middle, xy));
  EXPECT_EQ(texts[0].Points[0], xy);
}

TEST_F(Voduz4Test, RenderToCanvasDrawsIntoAnotherSurfaceAndKeepsTheView) {
  TGlobeProjection& p = view.Projection();
  const long double scale = p.ScaleFactor();
  const int32_t x = p.XOrigin();
  TGlobeCanvas* own = &view.Canvas();
  int renders = 0;
  int32_t seenWidth = 0;
  view.OnRender = [&](TVoduz4& v) {
    ++renders;
    seenWidth = v.Canvas().Width();
  };
  RecordingDrawingSurface target{300, 200, 96, "printer"};
  view.RenderToCanvas(target, platform::TRect{10, 20, 310, 220}, true);
  EXPECT_EQ(renders, 1);
  EXPECT_EQ(seenWidth, 300);
  const auto copies = target.Calls(DrawOp::DrawBitmap);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].Points[0], (platform::TPoint{10, 20}));
  EXPECT_EQ(copies[0].BitmapSize, (platform::TSize{300, 200}));
  EXPECT_EQ(&view.Canvas(), own);
  EXPECT_EQ(view.Canvas().Width(), 600);
  EXPECT_EQ(p.ScaleFactor(), scale);
  EXPECT_EQ(p.XOrigin(), x);
  EXPECT_EQ(&view.Projection(), &p);
}

}  // namespace
}  // namespace globe
