// Zooming about a pixel, turning by a share of the window and fitting points into the window,
// on a headless globe view.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "globe/view/GlobeProjection.h"
#include "globe/view/ViewNavigation.h"
#include "globe/view/Voduz4.h"

namespace globe {
namespace {

constexpr int32_t kDeg = 5'400'000;

class ViewNavigationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetClientSize(800, 600);
    view.LocateToLL(25 * kDeg, 35 * kDeg);
    view.Projection().SetAltitude(0);  // the whole globe in the window
    wholeGlobe = view.Projection().Altitude();
    view.Projection().SetAltitude(wholeGlobe / 4);
  }
  platform::TPoint Pixel(const TGeoPoint& point) {
    platform::TPoint xy;
    EXPECT_TRUE(view.Projection().PointLLToDeviceXY(point, xy));
    return xy;
  }
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
    const platform::TPoint now = Pixel(under);
    EXPECT_LE(std::abs(now.X - row.x), 1) << row.x << "," << row.y;
    EXPECT_LE(std::abs(now.Y - row.y), 1) << row.x << "," << row.y;
  }
}

TEST_F(ViewNavigationTest, ZoomOffTheGlobeKeepsTheCentre) {
  view.Projection().SetAltitude(wholeGlobe * 2);  // the globe is small in the window
  TGeoPoint centre, corner;
  ASSERT_TRUE(view.DeviceXYToLL(400, 300, centre));
  ASSERT_FALSE(view.DeviceXYToLL(2, 2, corner));
  ZoomAboutPixel(view, wholeGlobe, 2, 2);
  EXPECT_EQ(view.Projection().Altitude(), wholeGlobe);
  const platform::TPoint now = Pixel(centre);
  EXPECT_LE(std::abs(now.X - 400), 1);
  EXPECT_LE(std::abs(now.Y - 300), 1);
}

TEST_F(ViewNavigationTest, PanBringsThePointATenthAwayToTheCentre) {
  const struct {
    double fx, fy;
  } table[] = {{0.1, 0}, {-0.1, 0}, {0, 0.1}, {0, -0.1}};
  for (const auto& row : table) {
    TGeoPoint ahead;
    ASSERT_TRUE(view.DeviceXYToLL(400 + static_cast<int32_t>(row.fx * 800), 300 + static_cast<int32_t>(row.fy * 600), ahead));
    PanByWindowShare(view, row.fx, row.fy);
    const platform::TPoint now = Pixel(ahead);
    // The rotate step is an approximation away from the centre: a few pixels.
    EXPECT_LE(std::abs(now.X - 400), 4) << row.fx << "," << row.fy;
    EXPECT_LE(std::abs(now.Y - 300), 4) << row.fx << "," << row.fy;
  }
}

TEST_F(ViewNavigationTest, FitsEveryPointWithTheMarginAndFillsTheWindowAndNothingToFitChangesNothing) {
  const std::vector<TGeoPoint> points = {TGeoPoint(23 * kDeg, 35 * kDeg, 0), TGeoPoint(30 * kDeg, 31 * kDeg, 0),
                                         TGeoPoint(14 * kDeg, 36 * kDeg, 0), TGeoPoint(26 * kDeg, 37 * kDeg, 0)};
  view.LocateToLL(0, 0);
  ASSERT_TRUE(ZoomToPoints(view, points, 0.1));
  int32_t left = 800, right = 0, top = 600, bottom = 0;
  for (const TGeoPoint& point : points) {
    const platform::TPoint xy = Pixel(point);
    left = std::min(left, xy.X), right = std::max(right, xy.X);
    top = std::min(top, xy.Y), bottom = std::max(bottom, xy.Y);
  }
  EXPECT_GE(left, 38);
  EXPECT_LE(right, 762);
  EXPECT_GE(top, 28);
  EXPECT_LE(bottom, 572);
  // One direction is filled up to the margin on both sides.
  EXPECT_TRUE((left <= 42 && right >= 758) || (top <= 32 && bottom >= 568)) << left << " " << right << " " << top << " " << bottom;
  // Nothing to fit changes nothing.
  const int32_t altitude = view.Projection().Altitude();
  EXPECT_FALSE(ZoomToPoints(view, {}, 0.1));
  EXPECT_EQ(view.Projection().Altitude(), altitude);
}

}  // namespace
}  // namespace globe
