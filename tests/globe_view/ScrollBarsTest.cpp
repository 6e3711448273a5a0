// The map control's scroll bars: what it hands its window after zooming, how a moved bar pans the
// view, and the styles that hide them. The globe's disc is 618,794,460 GlobeUnit across.

#include <gtest/gtest.h>

#include "globe/data/GeoMath.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/testing/RecordingViewHost.h"

namespace globe {
namespace {

using platform::ScrollBarKind;
using platform::ScrollBarState;

constexpr long double kRadius = 309'397'230;  // GlobeUnit

class ScrollBarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetHost(&host);
    view.Projection().SetScaleFactor(0);  // the disc fits the 300 pixels of height
  }
  // Zoomed in four times: 600 / kRadius pixels a GlobeUnit, the disc 1200 pixels across.
  void ZoomIn() { view.Projection().SetScaleFactor(view.Projection().ScaleFactor() * 4); }

  platform::testing::RecordingViewHost host{{400, 300}};
  TVoduz4 view;
};

void ExpectBar(const ScrollBarState& bar, long double min, long double max, long double page,
               long double position) {
  EXPECT_TRUE(bar.Visible);
  EXPECT_NEAR(bar.Min, min, 1);
  EXPECT_NEAR(bar.Max, max, 1);
  EXPECT_NEAR(bar.Page, page, 1);
  EXPECT_NEAR(bar.Position, position, 1);
}

TEST_F(ScrollBarsTest, HiddenWhileTheWholeGlobeIsInTheWindow) {
  EXPECT_EQ(view.ScrollBars(), ssBoth);
  ASSERT_FALSE(host.ScrollBarCalls.empty());  // the window hears of both when hosted
  EXPECT_FALSE(host.Bar(ScrollBarKind::Horizontal).Visible);
  EXPECT_FALSE(host.Bar(ScrollBarKind::Vertical).Visible);
  // Panned so that half a pixel of the disc leaves the window: still no bar.
  view.Projection().SetScaleFactor(view.Projection().ScaleFactor() * 299.0L / 300.0L);
  view.Projection().SetYOrigin(view.Projection().YOrigin() + 1);
  view.UpdateScrollBars();
  EXPECT_FALSE(view.ScrollBar(ScrollBarKind::Vertical).Visible);
  view.Projection().SetYOrigin(view.Projection().YOrigin() + 1);
  view.UpdateScrollBars();
  EXPECT_TRUE(view.ScrollBar(ScrollBarKind::Vertical).Visible);
}

TEST_F(ScrollBarsTest, RangesAndPositionsAfterZooming) {
  ZoomIn();
  // The window (origin in its middle) shows 400 and 300 pixels of the 1200-pixel disc.
  ExpectBar(host.Bar(ScrollBarKind::Horizontal), -kRadius, kRadius, kRadius * 2 / 3, -kRadius / 3);
  ExpectBar(host.Bar(ScrollBarKind::Vertical), -kRadius, kRadius, kRadius / 2, -kRadius / 4);
  EXPECT_EQ(view.ScrollBar(ScrollBarKind::Horizontal), host.Bar(ScrollBarKind::Horizontal));
  // The range takes in the window when it has been panned beyond the map.
  view.ScrollBy(RoundToInt(kRadius), 0);  // 600 pixels: the disc spans -1000..200
  ExpectBar(view.ScrollBar(ScrollBarKind::Horizontal), -kRadius, kRadius * 4 / 3, kRadius * 2 / 3,
            kRadius * 2 / 3);
}

TEST_F(ScrollBarsTest, MovingABarPansTheViewByItsMove) {
  ZoomIn();
  int panned = 0;
  view.OnPanned = [&](TVoduz4&) { ++panned; };
  const ScrollBarState bar = view.ScrollBar(ScrollBarKind::Horizontal);
  // A sixth of the radius is 100 pixels: the window moves right, the map left.
  view.Scroll(ScrollBarKind::Horizontal, bar.Position + RoundToInt(kRadius / 6));
  EXPECT_EQ(view.Projection().XOrigin(), 100);
  EXPECT_EQ(view.Projection().YOrigin(), 150);
  EXPECT_EQ(panned, 1);
  EXPECT_NEAR(host.Bar(ScrollBarKind::Horizontal).Position, -kRadius / 6, 1);

  // Down by a quarter of the radius: 150 pixels.
  view.Scroll(ScrollBarKind::Vertical, view.ScrollBar(ScrollBarKind::Vertical).Position + RoundToInt(kRadius / 4));
  EXPECT_EQ(view.Projection().YOrigin(), 0);
  EXPECT_EQ(panned, 2);

  // A position past the end stops with the map's right edge on the window's.
  view.Scroll(ScrollBarKind::Horizontal, INT32_MAX);
  EXPECT_EQ(view.Projection().XOrigin(), -200);
  // The same position again moves nothing.
  view.Scroll(ScrollBarKind::Horizontal, view.ScrollBar(ScrollBarKind::Horizontal).Position);
  EXPECT_EQ(panned, 3);
}

TEST_F(ScrollBarsTest, StylesDecideWhichBarsShow) {
  ZoomIn();
  view.SetScrollBars(ssHorizontal);
  EXPECT_TRUE(host.Bar(ScrollBarKind::Horizontal).Visible);
  EXPECT_FALSE(host.Bar(ScrollBarKind::Vertical).Visible);
  view.SetScrollBars(ssVertical);
  EXPECT_FALSE(host.Bar(ScrollBarKind::Horizontal).Visible);
  EXPECT_TRUE(host.Bar(ScrollBarKind::Vertical).Visible);
  view.SetScrollBars(ssNone);
  EXPECT_FALSE(host.Bar(ScrollBarKind::Horizontal).Visible);
  EXPECT_FALSE(host.Bar(ScrollBarKind::Vertical).Visible);
  // Zooming further shows none, and a bar event from the window changes nothing.
  const int32_t origin = view.Projection().XOrigin();
  ZoomIn();
  EXPECT_FALSE(view.ScrollBar(ScrollBarKind::Horizontal).Visible);
  view.Scroll(ScrollBarKind::Horizontal, 12345);
  EXPECT_EQ(view.Projection().XOrigin(), RoundToInt((origin - 200) * 4.0L + 200));
}

TEST_F(ScrollBarsTest, FlatMapRangeIsTheWorld) {
  view.Projection().SetProjectionClass("TCartesianPrj");
  view.Projection().SetScaleFactor(0);  // 360 degrees in 400 pixels
  EXPECT_FALSE(view.ScrollBar(ScrollBarKind::Horizontal).Visible);
  EXPECT_FALSE(view.ScrollBar(ScrollBarKind::Vertical).Visible);
  view.Projection().SetScaleFactor(view.Projection().ScaleFactor() * 2);
  // 180 degrees of 360 across, 135 of 180 down.
  const long double degree = 5'400'000;
  ExpectBar(view.ScrollBar(ScrollBarKind::Horizontal), -180 * degree, 180 * degree, 180 * degree, -90 * degree);
  ExpectBar(view.ScrollBar(ScrollBarKind::Vertical), -90 * degree, 90 * degree, 135 * degree, -67.5L * degree);
}

}  // namespace
}  // namespace globe
