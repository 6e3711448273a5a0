// The scenario on the map: case routes with their arrival labels and daylight, hit tests, tooltips,
// minefields and finding marks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/ViewNavigation.h"
#include "globe/view/Voduz4.h"
#include "platform/DateTime.h"
#include "platform/LocalFileSystem.h"
#include "platform/TextLines.h"
#include "scenario/Base.h"
#include "scenario/CaseParser.h"
#include "scenario/DayPhase.h"
#include "scenario/FindingMarks.h"
#include "scenario/LoadCheck.h"
#include "scenario/Force.h"
#include "scenario/MapTooltips.h"
#include "scenario/RouteDrawing.h"
#include "scenario/RouteHitTest.h"
#include "scenario/RouteLegs.h"
#include "scenario/ScenarioDocument.h"
#include "scenario/ScenarioDrawing.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/WaypointHandles.h"
#include "scenario/ScenarioExtent.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioState.h"
#include "scenario/ScenarioTime.h"
#include "scenario/SideColors.h"
#include "scenario/TimelineMarks.h"
#include "scenario/ViewMapPainter.h"
#include "tests/support/RecordingMapFixture.h"

namespace scenario {
namespace {

using globe::TGeoPoint;
using platform::TPoint;
using platform::testing::DrawCall;
using platform::testing::DrawOp;

constexpr std::int32_t kDeg = 5'400'000;
constexpr std::int32_t kMile = 90'000;  // one minute of arc

double At(int year, int month, int day, int hour, int minute) {
  return platform::EncodeDate(year, month, day) + platform::EncodeTime(hour, minute, 0, 0);
}

// Three legs east along the equator, 60 Nm each, the last untimed.
std::vector<TRouteLeg> EastwardLegs() {
  std::vector<TRouteLeg> legs;
  for (int i = 0; i < 3; ++i)
    legs.push_back({TGeoPoint(i * kDeg, 0), TGeoPoint((i + 1) * kDeg, 0), {}, {TRouteMark::Waypoint, i}, i < 2});
  return legs;
}

TEST(LegHoursTest, MilesOverSpeedRoundedHalvesToEvenArrivalsAndTooltip) {
  // Along the equator a minute of longitude is one nautical mile; 7.5, 2.5 and 3.5 h round to even.
  const TGeoPoint o(0, 0);
  const struct { TGeoPoint to; int speed, hours; } cases[] = {
      {TGeoPoint(15 * kMile, 0), 2, 8}, {TGeoPoint(5 * kMile, 0), 2, 2}, {TGeoPoint(0, 21 * kMile), 6, 4},
      {TGeoPoint(kDeg, 0), -5, 1'000'000}, {o, 0, 1'000'000}};
  for (const auto& c : cases) EXPECT_EQ(LegHours(o, c.to, c.speed), c.hours) << c.to.LongX << " " << c.speed;
  // A leg's arrival: the delay and every timed leg up to it; and its tooltip.
  const std::vector<TRouteLeg> legs = EastwardLegs();
  EXPECT_EQ(LegArrivalHours(legs, 1, 6, 10), 18);        // 6 + 2 x 60 / 10
  EXPECT_EQ(LegArrivalHours(legs, 1, 0, 0), 2'000'000);  // at rest: a million hours a leg
  EXPECT_FALSE(LegArrivalHours(legs, 2, 6, 10));         // between targets: untimed
  TLegTooltip tip{.LineText = "WP=0000N 00200E", .FromLineText = {}, .Leg = legs[1], .Speed = 10, .Arrival = 18, .StartTime = 15.25,
                  .Phase = dpNight};  // 14 January 1900, 06:00
  platform::RegionalSettings regional;
  regional.decimalSeparator = ",";
  EXPECT_EQ(LegTooltipText(tip, regional),
            "WP=0000N 00200E\nLeg: 60,0 Nm, course 90,0 deg\n6 h at 10 kn\nArrival: 150000 (night)");
  tip.Arrival.reset();
  tip.Leg = {TGeoPoint(0, kMile), TGeoPoint(0, 0), {}, {}, false};  // due south
  EXPECT_EQ(LegTooltipText(tip, regional), "WP=0000N 00200E\nLeg: 1,0 Nm, course 180,0 deg\n0 h at 10 kn");
  tip.FromLineText = "WP=0001N 00200E";  // over the leg rather than its end: both ends named
  EXPECT_EQ(LegTooltipText(tip, regional),
            "Leg from WP=0001N 00200E to WP=0000N 00200E\nLeg: 1,0 Nm, course 180,0 deg\n0 h at 10 kn");
}

// The whole world on a flat 600 x 400 map.
class FlatWorldTest : public corvalis::testing::RecordingMapFixture {
 protected:
  void SetUp() override { ShowFlatWorld(); }
  TPoint Pixel(const TGeoPoint& point) const {
    TPoint xy;
    view.Projection().PointLLToDeviceXY(point, xy);
    return xy;
  }
  // Paints with `draw` in the view's render event.
  void PaintWith(std::function<void(globe::TVoduz4&)> draw) {
    view.OnRender = std::move(draw);
    PaintNow();
    view.OnRender = nullptr;
  }
  std::vector<DrawCall> Lines(platform::TColor colour, int width) const {
    std::vector<DrawCall> lines;
    for (const auto& call : window.Calls(DrawOp::Polyline))
      if (call.State.CurrentPen.Color == colour && call.State.CurrentPen.Width == width) lines.push_back(call);
    return lines;
  }
};

using DayPhaseTest = FlatWorldTest;

TEST_F(DayPhaseTest, AngleFromTheSunGivesDayTwilightOrNight) {
  const double morning = At(1941, 3, 15, 8, 30);  // sun over 52.5 E, 3.1 S
  const double evening = morning + 0.5;           // sun over 127.5 W
  // Crete 46 degrees from the sun; 85, 93 and 100 degrees; Hawaii in the evening; no sun before the year 1.
  const struct { double longitude, latitude, time; TDayPhase phase; } cases[] = {
      {25, 35, morning, dpDay}, {-32.5, 0, morning, dpDay}, {-40.5, 0, morning, dpTwilight},
      {-47.5, 0, morning, dpNight}, {-157.8, 21.3, evening, dpDay}, {25, 35, -1.0e7, dpNone}};
  for (const auto& c : cases)
    EXPECT_EQ(DayPhase(view.Projection(), TGeoPoint::FromDegrees(c.longitude, c.latitude), c.time), c.phase)
        << c.longitude << " " << c.latitude << " " << c.time;
}

// A point dragged on a case from 1 E along the equator through waypoints at 2 E and 3 E, at 20
// knots from 15 March 1941, 06:30: each leg is 60 Nm due east, 3 h; the sun stands over 37.5 E
// at 09:30 and over 7.5 W at 12:30, both within 40 degrees of the points: day.
TEST_F(DayPhaseTest, DragReadoutGivesTheLegsIntoAndOutOfThePoint) {
  TForceCases cases;
  cases.CaseStart[0] = TGeoPoint(kDeg, 0);
  cases.CaseWaypoints[0].Add(TGeoPoint(2 * kDeg, 0));
  cases.CaseWaypoints[0].Add(TGeoPoint(3 * kDeg, 0));
  const TCaseTiming timing{.Delay = 0, .Speed = 20, .StartTime = At(1941, 3, 15, 6, 30)};
  platform::RegionalSettings regional;
  regional.decimalSeparator = ",";
  const auto readout = [&](const std::string& line, std::int32_t index) {
    return DragReadoutText(line, RouteLegs(cases, 1), {TRouteMark::Waypoint, index}, timing, view.Projection(), regional);
  };
  EXPECT_EQ(readout("WP=0000N 00200E", 0),
            "WP=0000N 00200E\nLeg in: 60,0 Nm, course 90,0 deg, arrival 150930 (day)\n"
            "Leg out: 60,0 Nm, course 90,0 deg, arrival 151230 (day)");
  EXPECT_EQ(readout("WP=0000N 00300E", 1), "WP=0000N 00300E\nLeg in: 60,0 Nm, course 90,0 deg, arrival 151230 (day)");
}

// A force's cases drawn in the render event, starting 15 March 1941, 06:30 at 10 knots.
class RouteDrawingTest : public FlatWorldTest {
 protected:
  static constexpr platform::TColor kUnset = 0x123456;  // the label colour before a label

  RouteDrawingTest() {
    routes.StartTime = At(1941, 3, 15, 6, 30);
    routes.CurrentSpeed = 10;
    routes.OneHour = 1.0 / 24.0;
  }
  void Paint() {
    PaintWith([this](globe::TVoduz4& v) {
      v.Canvas().SetTextColor(kUnset);
      routes.DrawRoutes();
    });
  }
  // The labels themselves, without the white outline drawn under each.
  std::vector<DrawCall> Labels() const {
    std::vector<DrawCall> labels;
    for (const auto& call : window.Calls(DrawOp::TextOut))
      if (call.State.TextColor != platform::clWhite) labels.push_back(call);
    return labels;
  }
  // Case n starts at `start` and sails to `waypoints`.
  void SetCase(int n, const TGeoPoint& start, const std::vector<TGeoPoint>& waypoints,
               const std::vector<TGeoPoint>& targets = {}) {
    const auto i = static_cast<std::size_t>(n - 1);
    cases.CaseStart[i] = start;
    for (const auto& p : waypoints) cases.CaseWaypoints[i].Add(p);
    for (const auto& p : targets) cases.CaseTargets[i].Add(p);
  }

  TForceCases cases;
  TRouteDrawing routes{view, cases};
  // Off Crete: 20 nm due north, two hours at 10 knots.
  const TGeoPoint crete{25 * kDeg, 35 * kDeg};
  const TGeoPoint creteNorth{25 * kDeg, 35 * kDeg + 20 * kMile};
};

TEST_F(RouteDrawingTest, OneWaypointGivesOneThickLineAndOneOutlinedArrivalLabel) {
  SetCase(1, crete, {creteNorth});
  Paint();
  const auto lines = Lines(CaseColour(1), 2);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(std::pair(lines[0].Points.front(), lines[0].Points.back()), std::pair(Pixel(crete), Pixel(creteNorth)));
  EXPECT_EQ(lines[0].State.CurrentPen.Color, 0x0000FFu);  // red, stored blue-green-red
  // 06:30 + 2 h on the 15th at the leg's end, in day colour over the same text in white, one
  // pixel to each side.
  const auto all = window.Calls(DrawOp::TextOut);
  ASSERT_EQ(all.size(), 5u);
  const TPoint at = Pixel(creteNorth);
  std::vector<TPoint> points;
  for (const auto& call : all) {
    EXPECT_EQ(call.Text, "150830");
    EXPECT_EQ(call.State.TextColor, &call == &all.back() ? platform::clRed : platform::clWhite);
    points.push_back(call.Points.at(0));
  }
  EXPECT_EQ(points.back(), at);
  EXPECT_THAT(points, ::testing::UnorderedElementsAre(TPoint{at.X - 1, at.Y}, TPoint{at.X + 1, at.Y},
                                                      TPoint{at.X, at.Y - 1}, TPoint{at.X, at.Y + 1}, at));
}

TEST_F(RouteDrawingTest, DelayAndEveryLegAddUpToTheLabels) {
  cases.CaseDelay[0] = 24;
  const TGeoPoint second{25 * kDeg, 35 * kDeg + 50 * kMile};  // 30 nm further: 3 h
  const TGeoPoint target{25 * kDeg, 35 * kDeg + 60 * kMile};  // 10 nm: 1 h
  SetCase(1, crete, {creteNorth, second}, {target, TGeoPoint{26 * kDeg, 36 * kDeg}});
  Paint();
  std::vector<std::string> texts;
  for (const auto& label : Labels()) texts.push_back(label.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"160830", "161130", "161230"}));  // none between targets
  EXPECT_EQ(Labels().back().Points[0], Pixel(target));
}

TEST_F(RouteDrawingTest, OtherCasesThinInTheirColoursWithoutLabelsEmptyCasesNot) {
  SetCase(2, crete, {creteNorth});
  SetCase(4, crete, {creteNorth, TGeoPoint(30 * kDeg, 30 * kDeg)});
  cases.CaseStart[2] = crete;  // a start alone is no route
  cases.CaseTargets[2].Add(creteNorth);
  SetCase(5, crete, {creteNorth});
  cases.CaseCWPI[4] = 1;  // one waypoint only
  SetCase(6, crete, {creteNorth});
  cases.CaseCWPI[5] = -1;
  routes.CurrentCase = 3;
  Paint();
  EXPECT_EQ(Lines(0x000080, 1).size(), 1u);  // case 2 maroon
  EXPECT_EQ(Lines(0xFF0000, 1).size(), 2u);  // case 4 blue
  for (const int n : {1, 3, 5, 6}) EXPECT_TRUE(Lines(CaseColour(n), 1).empty() && Lines(CaseColour(n), 2).empty()) << n;
  EXPECT_EQ(Labels().size(), 0u);
}

TEST_F(RouteDrawingTest, SelectedPointCircledOnTheCurrentCaseOnly) {
  SetCase(1, crete, {creteNorth});
  SetCase(2, crete, {creteNorth});
  routes.SelectedPoint = creteNorth;
  for (const int current : {1, 2}) {
    routes.CurrentCase = current;
    Paint();
    const auto lines = Lines(CaseColour(current), 2);
    ASSERT_EQ(lines.size(), 2u) << current;  // the circle first, then the leg
    EXPECT_GE(lines[0].Points.size(), 60u);
    EXPECT_EQ(Lines(CaseColour(3 - current), 1).size(), 1u);
  }
}

// Below one knot, or past the year 9999, the route is drawn without labels.
TEST_F(RouteDrawingTest, NoArrivalLabelsBelowOneKnotOrPastTheCalendar) {
  SetCase(1, crete, {creteNorth, crete});
  cases.CaseDelay[0] = 24 * 40;
  for (const auto& [start, speed] : {std::pair{routes.StartTime, 0}, std::pair{platform::EncodeDate(9999, 12, 1), 10}}) {
    routes.StartTime = start;
    routes.CurrentSpeed = speed;
    Paint();
    EXPECT_EQ(Lines(CaseColour(1), 2).size(), 2u);
    EXPECT_EQ(Labels().size(), 0u);
  }
}

// At a device pixel ratio of 2 the shown case's pen is 4 picture pixels wide, the others 2; the
// handles of the shown case (drawn when labels are placed) grow with them.
TEST_F(RouteDrawingTest, PensAndHandlesGrowWithTheDevicePixelRatio) {
  SetCase(1, crete, {creteNorth});
  SetCase(2, crete, {creteNorth});
  view.SetTitlePriority(ScenarioTitlePriority);
  for (const int ratio : {1, 2}) {
    view.Canvas().SetOutputResolution(96 * ratio);
    Paint();
    EXPECT_EQ(Lines(CaseColour(1), 2 * ratio).size(), 1u) << ratio;
    EXPECT_EQ(Lines(CaseColour(2), ratio).size(), 1u) << ratio;
    const auto handles = window.Calls(DrawOp::Rectangle);
    ASSERT_EQ(handles.size(), 2u) << ratio;  // start and waypoint of case 1
    EXPECT_EQ(handles[1].Rect.Right - handles[1].Rect.Left, 2 * kHandleHalfSide * ratio + 1) << ratio;
    EXPECT_EQ(handles[1].State.CurrentPen.Color, CaseColour(1));
  }
}

// A loaded demo drawn as the editor draws it, the first force with a route shown, its labels
// placed: at the start view and at Home (the whole scenario in view).
class DemoLabelsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::filesystem::path startDir = std::filesystem::current_path();
    check.Run(programDir + "/Scenarios/" + GetParam());
    std::filesystem::current_path(startDir);  // loading changes it
    ASSERT_EQ(check.Messages(), std::vector<std::string>{});
    TScenarioState& state = check.State();
    for (TForce* force : state.ForceList) {
      const TParsedCases parsed =
          ParseForceCases(state.SideLines[TScenarioDocument::SideOf(*force)], force->Title(), state.BaseList);
      const TForceCases all = MapCases(parsed);
      // Every case of every demo force reads to its end (the editor says nothing at its
      // selection) and its current waypoint is one of its waypoints.
      for (std::size_t c = 0; c < parsed.size(); ++c) {
        EXPECT_FALSE(parsed[c] && parsed[c]->StoppedAt) << force->Title() << " case " << c + 1;
        const int count = all.CaseWaypoints[c].Count();
        EXPECT_TRUE(count == 0 || all.CaseCWPI[c] < count) << force->Title() << " case " << c + 1;
      }
      if (shown.Force != nullptr || all.CaseWaypoints[0].Count() == 0) continue;
      cases = all;
      shown.Force = force;
    }
    ASSERT_NE(shown.Force, nullptr);
    shown.Cases = &cases;
    shown.StartTime = state.StartTime;
    view().SetClientSize(kEditorMapWidth, kEditorMapHeight);
    view().SetTitlePriority(ScenarioTitlePriority);
    view().OnRender = [this](globe::TVoduz4& v) { DrawScenarioOnView(v, check.State().BaseList, shown, check.Findings()); };
  }
  void TearDown() override { view().OnRender = nullptr; }
  globe::TVoduz4& view() { return check.View(); }
  void Paint() {
    platform::testing::RecordingDrawingSurface window{view().CanvasWidth(), view().CanvasHeight()};
    view().RedrawGlobe();
    view().Paint(window);
  }
  static bool Overlap(const platform::TRect& a, const platform::TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
  }
  // What the placement stage did, checked: labels clear of each other and of every mark, every
  // force seen in the window named (on a crowded map some go unnamed), every arrival time of
  // the shown case drawn or left out with its reason.
  void CheckLabels(const std::string& where, bool crowded = false) {
    const globe::TTitleSpace& stage = *view().TitleSpace();
    std::vector<platform::TRect> drawn;
    std::vector<std::string> names;
    std::size_t arrivals = 0;
    for (const globe::TLabelRecord& label : stage.Record()) {
      if (label.Priority == kArrivalPriority) {
        ++arrivals;
        EXPECT_TRUE(label.Drawn || !label.Reason.empty()) << where << label.Text;
      }
      if (!label.Drawn) continue;
      for (const platform::TRect& other : drawn) EXPECT_FALSE(Overlap(label.Box, other)) << where << label.Text;
      for (const platform::TRect& mark : stage.Marks()) EXPECT_FALSE(Overlap(label.Box, mark)) << where << label.Text;
      drawn.push_back(label.Box);
      names.insert(names.end(), label.Names.begin(), label.Names.end());
    }
    EXPECT_FALSE(drawn.empty()) << where;
    const platform::TRect window{0, 0, view().CanvasWidth(), view().CanvasHeight()};
    for (TForce* force : check.State().ForceList) {
      platform::TPoint at;
      if (!view().Projection().PointLLToDeviceXY(force->GetCentroid(), at) || !Overlap({at.X, at.Y, at.X + 1, at.Y + 1}, window))
        continue;
      EXPECT_TRUE(crowded || std::find(names.begin(), names.end(), force->Title()) != names.end()) << where << force->Title();
    }
    // Bases are named too, though their names' own size is below the smallest text at this zoom:
    // written at the legible size, at most one label height from the mark (or left out).
    std::size_t basesSeen = 0, basesNamed = 0;
    for (TBase* base : check.State().BaseList) {
      platform::TPoint at;
      if (!view().Projection().PointLLToDeviceXY(base->GetCentroid(), at) || !Overlap({at.X, at.Y, at.X + 1, at.Y + 1}, window))
        continue;
      ++basesSeen;
      for (const globe::TLabelRecord& label : stage.Record())
        if (label.Drawn && label.Names.front() == base->Title() && label.Anchor == at) {
          ++basesNamed;
          const int32_t reach = 2 * (label.Box.Bottom - label.Box.Top);
          EXPECT_TRUE(Overlap(label.Box, {at.X - reach, at.Y - reach, at.X + reach, at.Y + reach})) << where << base->Title();
        }
    }
    EXPECT_TRUE(crowded || 2 * basesNamed >= basesSeen) << where;
    std::size_t timed = 0;
    for (const TRouteLeg& leg : RouteLegs(cases, shown.Case)) timed += leg.Timed ? 1 : 0;
    EXPECT_EQ(arrivals, shown.Force->CurrentSpeed >= 1 ? timed : 0u) << where;
  }

  const std::string programDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
  platform::LocalFileSystem files;
  TLoadCheck check{files, platform::RegionalSettings{}, programDir};
  TForceCases cases;
  TShownCase shown;
};

TEST_P(DemoLabelsTest, LabelsClearOfEachOtherAndMarksEveryForceNamedEveryArrivalAccounted) {
  check.Lint();
  Paint();
  CheckLabels("start view: ");
  globe::ZoomToPoints(view(), ScenarioExtentPoints(check.State(), check.Globe()), 0.1);
  Paint();
  CheckLabels("Home: ");
  view().Projection().SetAltitude(view().Projection().Altitude() * 3);
  Paint();
  CheckLabels("zoomed out: ", true);
}

INSTANTIATE_TEST_SUITE_P(Demos, DemoLabelsTest, ::testing::Values("Crete1941", "Malta1941"));

// The demo's bases, through their presenters, and their minefields on the load check's view.
TEST(LoadCheckViewTest, LoadedDemoBasesDrawTheirMinefieldsOnTheCheckView) {
  const std::filesystem::path startDir = std::filesystem::current_path();
  const std::string programDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
  platform::LocalFileSystem files;
  TLoadCheck check(files, platform::RegionalSettings{}, programDir);
  check.Run(programDir + "/Scenarios/Crete1941");
  std::filesystem::current_path(startDir);  // loading changes it
  ASSERT_EQ(check.Messages(), std::vector<std::string>{});
  globe::TVoduz4& view = check.View();
  view.SetClientSize(400, 300);
  view.LocateToLL(24 * kDeg, 35 * kDeg);  // Crete in the middle
  view.OnRender = [bases = check.State().BaseList](globe::TVoduz4& v) { DrawBasesOnView(bases, v); };
  platform::testing::RecordingDrawingSurface window{400, 300};
  view.RedrawGlobe();
  view.Paint(window);
  view.OnRender = nullptr;
  const auto lines = window.Calls(DrawOp::Polyline);
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const DrawCall& call) {  // several bases have mines
    return call.State.CurrentPen.Width == 3 && call.State.CurrentPen.Style == platform::psDash;
  }));
}

using FindingMarksTest = FlatWorldTest;

TEST_F(FindingMarksTest, OneTriangleAtEachPointOfTheSelectedForce) {
  globe::TGlobeObjectSource& source = *view.NewObjectSource<globe::TGlobeObjectSource>();
  const TForce* selected = TForce::CreateIn(source);
  const TGeoPoint desert(25 * kDeg, 27 * kDeg);
  // Besides the selected force's point: another force's, one without a point, one without a force.
  std::vector<TLintFinding> findings(4);
  findings[0].Force = findings[2].Force = selected;
  findings[1].Force = TForce::CreateIn(source);
  findings[0].At = findings[1].At = findings[3].At = desert;
  PaintWith([&](globe::TVoduz4& v) {
    DrawFindingMarks(v, findings, selected);
    DrawFindingMarks(v, findings, nullptr);  // no force selected: nothing
  });
  const TPoint at = Pixel(desert);
  const auto triangle = WarningTriangle(at);
  std::vector<std::vector<TPoint>> marks;
  for (const auto& call : window.Calls(DrawOp::Polygon))
    if (call.State.CurrentBrush.Color == 0x00FFFFu) marks.push_back(call.Points);  // not the map's polygons
  EXPECT_EQ(marks, std::vector<std::vector<TPoint>>{std::vector<TPoint>(triangle.begin(), triangle.end())});
  // The triangle's point is up and it is centred on the position.
  EXPECT_LT(triangle[0].Y, at.Y);
  EXPECT_EQ(triangle[1].X - at.X, at.X - triangle[2].X);
  // At a device pixel ratio of 2 the mark and its outline are twice the size.
  view.Canvas().SetOutputResolution(2 * 96);
  PaintWith([&](globe::TVoduz4& v) { DrawFindingMarks(v, findings, selected); });
  const auto twice = WarningTriangle(Pixel(desert), 2);
  EXPECT_EQ(twice[1].X - twice[2].X, 2 * (triangle[1].X - triangle[2].X));
  std::size_t found = 0;
  for (const auto& call : window.Calls(DrawOp::Polygon))
    if (call.State.CurrentBrush.Color == 0x00FFFFu && call.State.CurrentPen.Width == 2 &&
        call.Points == std::vector<TPoint>(twice.begin(), twice.end()))
      ++found;
  EXPECT_EQ(found, 1u);
}

// The dry run at minute 180: "Convoy" (Allied, 60 knots) sails 10E -> 12E -> 14E on the equator,
// 120 NM a leg, two hours each: at 13E heading east, halfway through its second leg, inside an
// Axis strike circle of 30 NM round 13E. "Hulk" (Allied, below 1 knot) lies at 10E 20N inside a
// sector of its own side only.
class TimelineMarksTest : public FlatWorldTest {
 protected:
  static TCaseVoyage Voyage(const std::string& name, std::int32_t speed, std::vector<TGeoPoint> points) {
    TTimelineRoute route;
    for (const TGeoPoint& point : points) route.Places.push_back({point, TRouteMark::Waypoint, {}});
    TVoyage voyage(route, speed);
    return {name, 1, std::move(route), std::move(voyage)};
  }
  std::vector<DrawCall> Marks(platform::TColor fill) const {
    std::vector<DrawCall> marks;
    for (const auto& call : window.Calls(DrawOp::Ellipse))
      if (call.State.CurrentBrush.Color == fill) marks.push_back(call);
    return marks;
  }
  static std::pair<TPoint, TPoint> Ends(const DrawCall& line) { return {line.Points.front(), line.Points.back()}; }

  const TGeoPoint hulkAt{10 * kDeg, 20 * kDeg};
  TTimelineFrame frame{{Voyage("Convoy", 60, {TGeoPoint(10 * kDeg, 0), TGeoPoint(12 * kDeg, 0), TGeoPoint(14 * kDeg, 0)}),
                        Voyage("Hulk", 0, {hulkAt, TGeoPoint(11 * kDeg, 20 * kDeg)})},
                       {{TAreaKind::Strike, 0, "Axis field", TGeoPoint(13 * kDeg, 0), 30 * kMile, {}},
                        {TAreaKind::Strike, 1, "Own field", hulkAt, 30 * kMile, {}}},
                       180,
                       "Convoy"};
};

TEST_F(TimelineMarksTest, EachForceADotWithItsHeadingAndNameExposedInTheWarningColour) {
  PaintWith([&](globe::TVoduz4& v) { DrawTimelineMarks(v, frame); });
  const TPoint convoy = Pixel(TGeoPoint(13 * kDeg, 0));
  const auto exposed = Marks(kExposedColour);
  ASSERT_EQ(exposed.size(), 1u);
  EXPECT_NEAR((exposed[0].Rect.Left + exposed[0].Rect.Right - 1) / 2.0, convoy.X, 1);
  EXPECT_NEAR((exposed[0].Rect.Top + exposed[0].Rect.Bottom - 1) / 2.0, convoy.Y, 1);
  const auto safe = Marks(kAlliedColor);  // inside its own side's circle only
  ASSERT_EQ(safe.size(), 1u);
  EXPECT_NEAR((safe[0].Rect.Left + safe[0].Rect.Right - 1) / 2.0, Pixel(hulkAt).X, 1);
  // The convoy's tick points east (right on the flat map); the names are written beside the dots.
  const auto ticks = Lines(platform::clBlack, 2);
  ASSERT_EQ(ticks.size(), 2u);
  EXPECT_NEAR(ticks[0].Points.at(1).X - ticks[0].Points.at(0).X, 12, 1);
  EXPECT_NEAR(ticks[0].Points.at(1).Y, ticks[0].Points.at(0).Y, 1);
  std::vector<std::string> names;
  for (const auto& call : window.Calls(DrawOp::TextOut))
    if (call.State.TextColor == platform::clBlack) names.push_back(call.Text);
  EXPECT_EQ(names, (std::vector<std::string>{"Convoy", "Hulk"}));
  // With no force selected no track is drawn.
  frame.SelectedForce.clear();
  PaintWith([&](globe::TVoduz4& v) { DrawTimelineMarks(v, frame); });
  EXPECT_EQ(Lines(platform::clBlack, 3).size() + Lines(platform::clBlack, 1).size(), 0u);
}

TEST_F(TimelineMarksTest, NamesWrittenOverEveryDotAndTheDotsKeptClearOfTheMapsLabels) {
  // A second convoy a few pixels north-east of the first: its dot falls on the first's name.
  frame.Voyages.push_back(
      Voyage("Escort", 60, {TGeoPoint(10 * kDeg + 8 * kDeg / 100, 6 * kDeg / 100), TGeoPoint(14 * kDeg, 0)}));
  PaintWith([&](globe::TVoduz4& v) { DrawTimelineMarks(v, frame); });
  std::size_t lastDot = 0, firstName = window.Log().size(), names = 0;
  for (std::size_t i = 0; i < window.Log().size(); ++i) {
    const DrawCall& call = window.Log()[i];
    if (call.Op == DrawOp::Ellipse) lastDot = i;
    if (call.Op == DrawOp::TextOut && call.State.TextColor == platform::clBlack) {
      firstName = std::min(firstName, i);
      ++names;
    }
  }
  EXPECT_EQ(names, 3u);
  EXPECT_LT(lastDot, firstName);
  // The dots are marks of the picture: the map's own labels are placed off them.
  view.SetTitlePriority(ScenarioTitlePriority);
  PaintWith([&](globe::TVoduz4& v) { DrawTimelineMarks(v, frame); });
  ASSERT_EQ(window.Count(DrawOp::Ellipse), 3u);
  const auto& marks = view.TitleSpace()->Marks();
  for (const DrawCall& dot : window.Calls(DrawOp::Ellipse))
    EXPECT_NE(std::find(marks.begin(), marks.end(), dot.Rect), marks.end());
}

TEST_F(TimelineMarksTest, SelectedForcesTrackSolidUpToItsPositionDashedBeyond) {
  PaintWith([&](globe::TVoduz4& v) { DrawTimelineMarks(v, frame); });
  const TPoint start = Pixel(TGeoPoint(10 * kDeg, 0)), turn = Pixel(TGeoPoint(12 * kDeg, 0));
  const TPoint now = Pixel(TGeoPoint(13 * kDeg, 0)), end = Pixel(TGeoPoint(14 * kDeg, 0));
  std::vector<std::pair<TPoint, TPoint>> sailed, ahead;
  for (const auto& line : Lines(platform::clBlack, 3)) sailed.push_back(Ends(line));
  for (const auto& line : Lines(platform::clBlack, 1)) {
    EXPECT_EQ(line.State.CurrentPen.Style, platform::psDash);
    ahead.push_back(Ends(line));
  }
  ASSERT_EQ(sailed.size(), 2u);
  EXPECT_EQ(sailed[0], std::pair(start, turn));
  EXPECT_EQ(sailed[1].first, turn);
  EXPECT_NEAR(sailed[1].second.X, now.X, 1);
  ASSERT_EQ(ahead.size(), 1u);
  EXPECT_EQ(ahead[0].second, end);
  // Before the departure all of it lies ahead.
  frame.Minute = 0;
  PaintWith([&](globe::TVoduz4& v) { DrawTimelineMarks(v, frame); });
  EXPECT_EQ(Lines(platform::clBlack, 3).size(), 0u);
  EXPECT_EQ(Lines(platform::clBlack, 1).size(), 2u);
}

// Case 1: start (0,0), waypoints (1,0) (2,0) (3,0), targets (3,1) (3,2); degrees as (long, lat).
TForceCases SampleCases(int currentWaypoint) {
  TForceCases cases;
  for (int x = 1; x <= 3; ++x) cases.CaseWaypoints[0].Add(TGeoPoint(x * kDeg, 0));
  cases.CaseTargets[0].Add(TGeoPoint(3 * kDeg, kDeg));
  cases.CaseTargets[0].Add(TGeoPoint(3 * kDeg, 2 * kDeg));
  cases.CaseCWPI[0] = currentWaypoint;
  return cases;
}

// A flat window: 100 pixels a degree, north up, nothing hidden west of -1 degree.
bool Project(const TGeoPoint& point, platform::TPoint& xy) {
  if (point.LongX < -kDeg) return false;
  xy = {static_cast<std::int32_t>(point.LongX / (kDeg / 100)), static_cast<std::int32_t>(-point.LatY / (kDeg / 100))};
  return true;
}

TEST(RouteLegsTest, StartToCurrentWaypointThenOnToTheTargetsOnlyTheseTimed) {
  const std::vector<TRouteLeg> legs = RouteLegs(SampleCases(1), 1);
  ASSERT_EQ(legs.size(), 4u);
  EXPECT_EQ(legs[0].From, TGeoPoint(0, 0));
  EXPECT_EQ(legs[0].To, TGeoPoint(2 * kDeg, 0));  // waypoint 0 is behind the force
  const TRoutePointRef marks[] = {{TRouteMark::Waypoint, 1}, {TRouteMark::Waypoint, 2}, {TRouteMark::Target, 0},
                                  {TRouteMark::Target, 1}};
  for (std::size_t i = 0; i < legs.size(); ++i) {
    EXPECT_EQ(legs[i].ToRef, marks[i]) << i;
    EXPECT_EQ(legs[i].Timed, i < 3) << i;
  }
  EXPECT_EQ(legs[2].FromRef, (TRoutePointRef{TRouteMark::Waypoint, 2}));
  // No route without a waypoint to sail to; case 2 has no waypoints.
  for (const int cwpi : {-1, 3, 7}) EXPECT_TRUE(RouteLegs(SampleCases(cwpi), 1).empty()) << cwpi;
  for (const int n : {0, 2, 7}) EXPECT_TRUE(RouteLegs(SampleCases(0), n).empty()) << n;
}

TEST(RouteMarkLineTest, CountsWaypointAndTargetLinesOfTheirOwnKind) {
  const platform::TextLines lines = {"CASE=1", "LL=0000N 00000E", "WP=0000N 00100E", "Origin=Suda Bay",
                                     "DELAY=2", "TP=0100N 00300E", "WP=0000N 00300E", "Target=Malta"};
  const auto at = [&](TRouteMark kind, int index, std::size_t end = 8) {
    return RouteMarkLine(lines, 1, end, {kind, index});
  };
  EXPECT_EQ(at(TRouteMark::Waypoint, 1), 3u);
  EXPECT_EQ(at(TRouteMark::Waypoint, 2), 6u);
  EXPECT_EQ(at(TRouteMark::Target, 1), 7u);
  EXPECT_FALSE(at(TRouteMark::Waypoint, 3));
  EXPECT_FALSE(at(TRouteMark::Start, 0));
  EXPECT_FALSE(at(TRouteMark::Target, 0, 4));  // beyond the case's end
}

TEST(HitTestRouteTest, MarksWithinSixPixelsTheNearestWinningThenTheNearestLeg) {
  const std::vector<TRouteLeg> legs = RouteLegs(SampleCases(0), 1);
  const struct { platform::TPoint at; TRouteHitKind kind; TRoutePointRef mark; std::size_t leg; } table[] = {
      {{104, 4}, TRouteHitKind::Mark, {TRouteMark::Waypoint, 0}, 1},  // 5.7 pixels away
      {{300, -96}, TRouteHitKind::Mark, {TRouteMark::Target, 0}, 3},
      {{300, -200}, TRouteHitKind::Mark, {TRouteMark::Target, 1}, 4},
      {{0, 0}, TRouteHitKind::Leg, {}, 0},  // the start is no mark
      {{250, 2}, TRouteHitKind::Leg, {}, 2},  // between waypoints 1 and 2, near the leg up to target 0
      {{301, -150}, TRouteHitKind::Leg, {}, 4},
      {{150, 7}, TRouteHitKind::None, {}, 0},
  };
  for (const auto& row : table) {
    const TRouteHit hit = HitTestRoute(legs, Project, row.at);
    SCOPED_TRACE(std::to_string(row.at.X) + "," + std::to_string(row.at.Y));
    EXPECT_EQ(hit.Kind, row.kind);
    EXPECT_TRUE(row.kind != TRouteHitKind::Mark || hit.Mark == row.mark);
    EXPECT_TRUE(row.kind != TRouteHitKind::Leg || hit.Leg == row.leg) << hit.Leg;
  }
  // Stretches the window does not see are not hit: west of -1 degree.
  TForceCases cases = SampleCases(0);
  cases.CaseStart[0] = TGeoPoint(-3 * kDeg, 0);
  const std::vector<TRouteLeg> west = RouteLegs(cases, 1);
  EXPECT_EQ(LegOnWindow(west[0], Project, 32).size(), 1u);
  EXPECT_EQ(HitTestRoute(west, Project, {-50, 0}).Kind, TRouteHitKind::Leg);
  EXPECT_EQ(HitTestRoute(west, Project, {-200, 0}).Kind, TRouteHitKind::None);
}

TEST(BaseTooltipTest, NameSideKindMinesAndRanges) {
  globe::TVoduz4 view;
  TBase* base = LayerByNameOrNew(view, kBasesLayer).ObjectSource()->NewObject<TBase>();
  base->SetTitle("Suda Bay");
  base->Side = 1;
  base->Port = 1;
  base->Mines = 5 * kMile;
  base->ReconRange = 120 * kMile;
  base->StrikeRange = 200 * kMile;
  EXPECT_EQ(BaseTooltipText(*base), "Suda Bay\nAllied port\nMines: 5 Nm\nRecon range: 120 Nm\nStrike range: 200 Nm");
  base->Side = 0;
  base->Port = 0;
  EXPECT_TRUE(BaseTooltipText(*base).starts_with("Suda Bay\nAxis airfield\n"));
}

TEST(WindowShowsScenarioTest, EveryPointInsideAndSpanningHalfTheWindow) {
  globe::TVoduz4 view;
  view.SetClientSize(800, 600);
  view.LocateToLL(25 * kDeg, 34 * kDeg);
  view.Projection().SetAltitude(0);
  const std::vector<TGeoPoint> crete = {TGeoPoint(24 * kDeg, 35 * kDeg, 0), TGeoPoint(26 * kDeg, 35 * kDeg, 0)};
  EXPECT_FALSE(WindowShowsScenario(view.Projection(), 800, 600, crete));  // a speck on the globe
  globe::ZoomToPoints(view, crete, 0.1);  // filling the window's width
  EXPECT_TRUE(WindowShowsScenario(view.Projection(), 800, 600, crete));
  const std::vector<TGeoPoint> farApart = {crete[0], TGeoPoint(-60 * kDeg, 0, 0)};
  EXPECT_FALSE(WindowShowsScenario(view.Projection(), 800, 600, farApart));  // one point outside
  EXPECT_TRUE(WindowShowsScenario(view.Projection(), 800, 600, {}));
}

TEST(ScenarioTitlePriorityTest, ForcesThenBasesThenZonesThenTheMap) {
  std::vector<int> priorities;
  for (const char* layer : {"TrackingLayer", "bases", "Subs0.LYR", "subs1.lyr", "Countries", "Base"})
    priorities.push_back(ScenarioTitlePriority(layer));
  EXPECT_EQ(priorities, (std::vector{1, 2, 3, 3, 4, 4}));
}

}  // namespace
}  // namespace scenario
