// Leg times and the drawing of a force's case routes with their arrival-time labels.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/DateTime.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ScenarioTime.h"

namespace scenario {
namespace {

using globe::TGeoPoint;
using platform::testing::DrawCall;
using platform::testing::DrawOp;
using platform::testing::RecordingDrawingSurface;

constexpr std::int32_t kDeg = 5'400'000;
constexpr std::int32_t kMile = 90'000;  // one minute of arc

TEST(LegHoursTest, BelowOneKnotEveryLegTakesAMillionHours) {
  const TGeoPoint a(0, 0), b(kDeg, 0);
  EXPECT_EQ(LegHours(a, b, 0), 1'000'000);
  EXPECT_EQ(LegHours(a, b, -5), 1'000'000);
  EXPECT_EQ(LegHours(a, a, 0), 1'000'000);  // even a leg of no length
}

TEST(LegHoursTest, MilesOverSpeedRoundedHalvesToEven) {
  // Along the equator a minute of longitude is one nautical mile.
  const TGeoPoint origin(0, 0);
  EXPECT_EQ(LegHours(origin, TGeoPoint(10 * kDeg, 0), 12), 50);    // 600 nm
  EXPECT_EQ(LegHours(origin, TGeoPoint(15 * kMile, 0), 2), 8);     // 7.5 h
  EXPECT_EQ(LegHours(origin, TGeoPoint(5 * kMile, 0), 2), 2);      // 2.5 h
  EXPECT_EQ(LegHours(origin, TGeoPoint(0, 21 * kMile), 6), 4);     // 3.5 h, along a meridian
  EXPECT_EQ(LegHours(origin, TGeoPoint(10 * kMile, 0), 3), 3);     // 3.33 h
  EXPECT_EQ(LegHours(origin, origin, 10), 0);
}

// A whole-world flat map 600 x 400 with a force's cases drawn in its render event.
class RouteDrawingTest : public ::testing::Test {
 protected:
  static constexpr platform::TColor kUnset = 0x123456;  // the label colour before a label

  void SetUp() override {
    view.SetClientSize(600, 400);
    view.SetGraticuleDrawMode(globe::gdNone);
    view.Projection().SetProjectionClass("TCartesianPrj");
    view.Projection().SetScaleFactor(0);
    // 15 March 1941, 06:30.
    routes.StartTime = platform::EncodeDate(1941, 3, 15) + platform::EncodeTime(6, 30, 0, 0);
    routes.CurrentSpeed = 10;
    routes.OneHour = 1.0 / 24.0;
  }

  void Paint() {
    view.OnRender = [this](globe::TVoduz4& v) {
      v.Canvas().SetTextColor(kUnset);
      routes.DrawRoutes();
    };
    window.ClearLog();
    view.RedrawGlobe();
    view.Paint(window);
    view.OnRender = nullptr;
  }
  std::vector<DrawCall> Lines(platform::TColor colour, int width) const {
    std::vector<DrawCall> lines;
    for (const auto& call : window.Calls(DrawOp::Polyline))
      if (call.State.CurrentPen.Color == colour && call.State.CurrentPen.Width == width) lines.push_back(call);
    return lines;
  }
  // The labels themselves, without the white outline drawn under each.
  std::vector<DrawCall> Labels() const {
    std::vector<DrawCall> labels;
    for (const auto& call : window.Calls(DrawOp::TextOut))
      if (call.State.TextColor != platform::clWhite) labels.push_back(call);
    return labels;
  }
  platform::TPoint Pixel(const TGeoPoint& point) const {
    platform::TPoint xy;
    view.Projection().PointLLToDeviceXY(point, xy);
    return xy;
  }
  // Case n starts at `start` and sails to `waypoints`.
  void SetCase(int n, const TGeoPoint& start, const std::vector<TGeoPoint>& waypoints,
               const std::vector<TGeoPoint>& targets = {}) {
    const auto i = static_cast<std::size_t>(n - 1);
    cases.CaseStart[i] = start;
    for (const auto& p : waypoints) cases.CaseWaypoints[i].Add(p);
    for (const auto& p : targets) cases.CaseTargets[i].Add(p);
  }

  globe::TVoduz4 view;
  TForceCases cases;
  TRouteDrawing routes{view, cases};
  RecordingDrawingSurface window{600, 400};
  // Off Crete: 20 nm due north, two hours at 10 knots.
  const TGeoPoint crete{25 * kDeg, 35 * kDeg};
  const TGeoPoint creteNorth{25 * kDeg, 35 * kDeg + 20 * kMile};
};

TEST_F(RouteDrawingTest, OneWaypointGivesOneThickLineAndOneArrivalLabel) {
  SetCase(1, crete, {creteNorth});
  Paint();
  const auto lines = Lines(CaseColour(1), 2);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_GE(lines[0].Points.size(), 2u);
  EXPECT_EQ(lines[0].Points.front(), Pixel(crete));
  EXPECT_EQ(lines[0].Points.back(), Pixel(creteNorth));
  EXPECT_EQ(lines[0].State.CurrentPen.Style, platform::psSolid);
  EXPECT_EQ(lines[0].State.CurrentPen.Color, 0x0000FFu);  // red, stored blue-green-red

  const auto labels = Labels();
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].Text, "150830");  // 06:30 + 2 h on the 15th
  ASSERT_EQ(labels[0].Points.size(), 1u);
  EXPECT_EQ(labels[0].Points[0], Pixel(creteNorth));  // top-left corner at the leg's end
  // At 08:30 the sun stands high over the Arabian Sea: day in Crete.
  EXPECT_EQ(labels[0].State.TextColor, platform::clRed);
  // Under it the same text in white, one pixel to each side, in the label's font.
  const auto all = window.Calls(DrawOp::TextOut);
  ASSERT_EQ(all.size(), 5u);
  std::vector<platform::TPoint> outline;
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(all[i].Text, "150830");
    EXPECT_EQ(all[i].State.TextColor, platform::clWhite);
    EXPECT_EQ(all[i].State.CurrentFont.Height, labels[0].State.CurrentFont.Height);
    outline.push_back(all[i].Points[0]);
  }
  const platform::TPoint at = Pixel(creteNorth);
  EXPECT_THAT(outline, ::testing::UnorderedElementsAre(platform::TPoint{at.X - 1, at.Y}, platform::TPoint{at.X + 1, at.Y},
                                                       platform::TPoint{at.X, at.Y - 1}, platform::TPoint{at.X, at.Y + 1}));
  EXPECT_EQ(all[4].State.TextColor, platform::clRed);
}

TEST_F(RouteDrawingTest, DelayAndEveryLegAddUpToTheLabels) {
  cases.CaseDelay[0] = 24;
  const TGeoPoint second{25 * kDeg, 35 * kDeg + 50 * kMile};  // 30 nm further: 3 h
  const TGeoPoint target{25 * kDeg + 0, 35 * kDeg + 60 * kMile};  // 10 nm: 1 h
  const TGeoPoint lastTarget{26 * kDeg, 36 * kDeg};
  SetCase(1, crete, {creteNorth, second}, {target, lastTarget});
  Paint();
  EXPECT_EQ(Lines(CaseColour(1), 2).size(), 4u);  // start, two waypoint legs, two target legs
  const auto labels = Labels();
  ASSERT_EQ(labels.size(), 3u);  // the legs between targets carry no label
  EXPECT_EQ(labels[0].Text, "160830");
  EXPECT_EQ(labels[1].Text, "161130");
  EXPECT_EQ(labels[2].Text, "161230");
  EXPECT_EQ(labels[2].Points[0], Pixel(target));
}

TEST_F(RouteDrawingTest, LabelsGoOnTopOfEveryRouteLine) {
  SetCase(1, crete, {creteNorth, crete});
  SetCase(2, creteNorth, {crete});  // drawn after case 1, across its labels
  Paint();
  const auto& log = window.Log();
  std::size_t lastLine = 0, firstText = log.size();
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i].Op == DrawOp::Polyline &&
        (log[i].State.CurrentPen.Color == CaseColour(1) || log[i].State.CurrentPen.Color == CaseColour(2)))
      lastLine = i;
    if (log[i].Op == DrawOp::TextOut && firstText == log.size()) firstText = i;
  }
  ASSERT_EQ(Labels().size(), 2u);
  EXPECT_LT(lastLine, firstText);
}

TEST_F(RouteDrawingTest, OtherCasesThinInTheirColoursWithoutLabels) {
  SetCase(2, crete, {creteNorth});
  SetCase(4, crete, {creteNorth, TGeoPoint(30 * kDeg, 30 * kDeg)});
  Paint();
  EXPECT_EQ(Lines(0x000080, 1).size(), 1u);  // case 2 maroon
  EXPECT_EQ(Lines(0xFF0000, 1).size(), 2u);  // case 4 blue
  EXPECT_TRUE(Lines(CaseColour(2), 2).empty());
  EXPECT_TRUE(Labels().empty());
}

TEST_F(RouteDrawingTest, EmptyCaseAndCaseWithoutItsCurrentWaypointDrawNothing) {
  cases.CaseStart[0] = crete;  // a start alone is no route
  cases.CaseTargets[0].Add(creteNorth);
  SetCase(3, crete, {creteNorth});
  cases.CaseCWPI[2] = 1;  // one waypoint only
  SetCase(5, crete, {creteNorth});
  cases.CaseCWPI[4] = -1;
  Paint();
  for (int n = 1; n <= kCaseCount; ++n) {
    EXPECT_TRUE(Lines(CaseColour(n), 1).empty()) << n;
    EXPECT_TRUE(Lines(CaseColour(n), 2).empty()) << n;
  }
  EXPECT_TRUE(Labels().empty());
}

TEST_F(RouteDrawingTest, SelectedPointCircledOnTheCurrentCaseOnly) {
  SetCase(1, crete, {creteNorth});
  SetCase(2, crete, {creteNorth});
  routes.SelectedPoint = creteNorth;
  Paint();
  const auto lines = Lines(CaseColour(1), 2);
  ASSERT_EQ(lines.size(), 2u);  // the circle first, then the leg
  EXPECT_GE(lines[0].Points.size(), 60u);
  EXPECT_EQ(Lines(CaseColour(2), 1).size(), 1u);

  routes.CurrentCase = 2;
  Paint();
  EXPECT_EQ(Lines(CaseColour(2), 2).size(), 2u);
  EXPECT_EQ(Lines(CaseColour(1), 1).size(), 1u);
}

TEST_F(RouteDrawingTest, ForceBelowOneKnotHasNoArrivalLabelsAndTheCalendarEndsTheLabels) {
  // A million hours a leg would be a date a century ahead shown as a day of the month.
  routes.CurrentSpeed = 0;
  SetCase(1, crete, {creteNorth, crete});
  Paint();
  EXPECT_EQ(Lines(CaseColour(1), 2).size(), 2u);  // the route is drawn
  EXPECT_TRUE(Labels().empty());

  // An arrival after the year 9999 has no date to write: the line stays, the label goes.
  routes.StartTime = platform::EncodeDate(9999, 12, 1);
  routes.CurrentSpeed = 10;
  cases.CaseDelay[0] = 24 * 40;
  Paint();
  EXPECT_EQ(Lines(CaseColour(1), 2).size(), 2u);
  EXPECT_TRUE(Labels().empty());
}

// At 08:30 on 15 March the sun stands over 52.5 E (3150 arc minutes east of Greenwich, noon
// being over 0) and about 3.1 S; labels at the leg ends take the colour of daylight there.
TEST_F(RouteDrawingTest, LabelColourFollowsDaylightAtTheLegEnd) {
  // 20 nm north of points about 93 and 145 degrees from the sun.
  const TGeoPoint dawn = TGeoPoint::FromDegrees(-40.5, 0);
  const TGeoPoint hawaii = TGeoPoint::FromDegrees(-157.8, 21.3);
  const auto north = [](TGeoPoint p) { return TGeoPoint(p.LongX, p.LatY - 20 * kMile); };
  SetCase(1, north(dawn), {dawn});
  Paint();
  ASSERT_EQ(Labels().size(), 1u);
  EXPECT_EQ(Labels()[0].State.TextColor, platform::clGray);

  cases.CaseWaypoints[0].Clear();
  SetCase(1, north(hawaii), {hawaii});
  Paint();
  ASSERT_EQ(Labels().size(), 1u);
  EXPECT_EQ(Labels()[0].State.TextColor, platform::clBlack);
}

}  // namespace
}  // namespace scenario
