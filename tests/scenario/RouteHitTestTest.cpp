// The route of a case as legs, the case line behind a route mark, and what lies under a pixel.
#include <gtest/gtest.h>

#include <string>

#include "platform/TextLines.h"
#include "scenario/CaseParser.h"
#include "scenario/RouteHitTest.h"
#include "scenario/RouteLegs.h"

namespace scenario {
namespace {

using globe::TGeoPoint;
constexpr std::int32_t kDeg = 5'400'000;

// Case 1: start (0,0), waypoints (1,0) (2,0) (3,0), targets (3,1) (3,2); degrees as (long, lat).
TForceCases SampleCases(int currentWaypoint)
{
  TForceCases cases;
  cases.CaseStart[0] = TGeoPoint(0, 0);
  for (int x = 1; x <= 3; ++x) cases.CaseWaypoints[0].Add(TGeoPoint(x * kDeg, 0));
  cases.CaseTargets[0].Add(TGeoPoint(3 * kDeg, kDeg));
  cases.CaseTargets[0].Add(TGeoPoint(3 * kDeg, 2 * kDeg));
  cases.CaseCWPI[0] = currentWaypoint;
  return cases;
}

// A flat window: 100 pixels a degree, north up, nothing hidden west of -1 degree.
bool Project(const TGeoPoint& point, platform::TPoint& xy)
{
  if (point.LongX < -kDeg) return false;
  xy = {static_cast<std::int32_t>(point.LongX / (kDeg / 100)), static_cast<std::int32_t>(-point.LatY / (kDeg / 100))};
  return true;
}

TEST(RouteLegsTest, StartToCurrentWaypointThenOnToTheTargetsOnlyTheseTimed)
{
  const std::vector<TRouteLeg> legs = RouteLegs(SampleCases(1), 1);
  ASSERT_EQ(legs.size(), 4u);
  EXPECT_EQ(legs[0].From, TGeoPoint(0, 0));
  EXPECT_EQ(legs[0].To, TGeoPoint(2 * kDeg, 0));  // waypoint 0 is behind the force
  EXPECT_EQ(legs[0].ToRef, (TRoutePointRef{TRouteMark::Waypoint, 1}));
  EXPECT_EQ(legs[1].ToRef, (TRoutePointRef{TRouteMark::Waypoint, 2}));
  EXPECT_EQ(legs[2].FromRef, (TRoutePointRef{TRouteMark::Waypoint, 2}));
  EXPECT_EQ(legs[2].ToRef, (TRoutePointRef{TRouteMark::Target, 0}));
  EXPECT_EQ(legs[3].ToRef, (TRoutePointRef{TRouteMark::Target, 1}));
  EXPECT_TRUE(legs[0].Timed && legs[1].Timed && legs[2].Timed);
  EXPECT_FALSE(legs[3].Timed);
}

TEST(RouteLegsTest, NoRouteWithoutAWaypointToSailTo)
{
  for (const int cwpi : {-1, 3, 7}) EXPECT_TRUE(RouteLegs(SampleCases(cwpi), 1).empty()) << cwpi;
  EXPECT_TRUE(RouteLegs(SampleCases(0), 2).empty());  // case 2 has no waypoints
  EXPECT_TRUE(RouteLegs(SampleCases(0), 0).empty());
  EXPECT_TRUE(RouteLegs(SampleCases(0), 7).empty());
}

TEST(CaseLineKindTest, FirstKeyFoundDecides)
{
  const struct {
    const char* line;
    TCaseLineKind kind;
  } table[] = {
      {"WP=3510N 02400E", TCaseLineKind::WP},         {"TP=3510N 02400E", TCaseLineKind::TP},
      {"Origin=Suda Bay", TCaseLineKind::Origin},     {"Target=Malta", TCaseLineKind::Target},
      {"LL=3510N 02400E", TCaseLineKind::LL},         {"LOCATION=Alexandria", TCaseLineKind::Location},
      {"CWPI=2", TCaseLineKind::CWPI},                {"DELAY=12", TCaseLineKind::Delay},
      {"RD=1", TCaseLineKind::RD},                    {"FORMATIONHEADING=90", TCaseLineKind::FormationHeading},
      {"WP=HELLAS", TCaseLineKind::LL},               // "LL" anywhere in the line comes first
      {"Target=HELLAS", TCaseLineKind::LL},           {"CASE=1", TCaseLineKind::Other},
      {"target=Malta", TCaseLineKind::Other},         // keys are case-sensitive
  };
  for (const auto& row : table) EXPECT_EQ(ClassifyCaseLine(row.line), row.kind) << row.line;
}

TEST(RouteMarkLineTest, CountsWaypointAndTargetLinesOfTheirOwnKind)
{
  const platform::TextLines lines = {"CASE=1", "LL=0000N 00000E", "WP=0000N 00100E", "Origin=Suda Bay",
                                     "DELAY=2", "TP=0100N 00300E", "WP=0000N 00300E", "Target=Malta"};
  const auto at = [&](TRouteMark kind, int index) { return RouteMarkLine(lines, 1, lines.size(), {kind, index}); };
  EXPECT_EQ(at(TRouteMark::Waypoint, 0), 2u);
  EXPECT_EQ(at(TRouteMark::Waypoint, 1), 3u);
  EXPECT_EQ(at(TRouteMark::Waypoint, 2), 6u);
  EXPECT_EQ(at(TRouteMark::Target, 0), 5u);
  EXPECT_EQ(at(TRouteMark::Target, 1), 7u);
  EXPECT_FALSE(at(TRouteMark::Waypoint, 3));
  EXPECT_FALSE(at(TRouteMark::Start, 0));
  EXPECT_FALSE(at(TRouteMark::Waypoint, -1));
  EXPECT_FALSE(RouteMarkLine(lines, 1, 4, {TRouteMark::Target, 0}));  // beyond the case's end
}

TEST(HitTestRouteTest, MarksWithinSixPixelsTheNearestWinning)
{
  const std::vector<TRouteLeg> legs = RouteLegs(SampleCases(0), 1);
  const struct {
    platform::TPoint at;
    TRouteHitKind kind;
    TRoutePointRef mark;
  } table[] = {
      {{100, 0}, TRouteHitKind::Mark, {TRouteMark::Waypoint, 0}},
      {{104, 4}, TRouteHitKind::Mark, {TRouteMark::Waypoint, 0}},   // 5.7 pixels away
      {{300, -96}, TRouteHitKind::Mark, {TRouteMark::Target, 0}},
      {{300, -200}, TRouteHitKind::Mark, {TRouteMark::Target, 1}},
      {{0, 0}, TRouteHitKind::Leg, {}},                              // the start is no mark
      {{150, 3}, TRouteHitKind::Leg, {}},
      {{150, 7}, TRouteHitKind::None, {}},
      {{500, 500}, TRouteHitKind::None, {}},
  };
  for (const auto& row : table) {
    const TRouteHit hit = HitTestRoute(legs, Project, row.at);
    EXPECT_EQ(hit.Kind, row.kind) << row.at.X << "," << row.at.Y;
    if (row.kind == TRouteHitKind::Mark) {
      EXPECT_EQ(hit.Mark, row.mark) << row.at.X << "," << row.at.Y;
    }
  }
}

TEST(HitTestRouteTest, NearestLegWins)
{
  const std::vector<TRouteLeg> legs = RouteLegs(SampleCases(0), 1);
  // Between waypoints 1 and 2 (leg 2) and near the leg up to target 0 (leg 3).
  EXPECT_EQ(HitTestRoute(legs, Project, {250, 2}).Leg, 2u);
  EXPECT_EQ(HitTestRoute(legs, Project, {297, -50}).Leg, 3u);
  EXPECT_EQ(HitTestRoute(legs, Project, {301, -150}).Leg, 4u);
}

TEST(HitTestRouteTest, HiddenStretchesAreNotHit)
{
  TForceCases cases = SampleCases(0);
  cases.CaseStart[0] = TGeoPoint(-3 * kDeg, 0);  // west of -1 degree the window sees nothing
  const std::vector<TRouteLeg> legs = RouteLegs(cases, 1);
  EXPECT_EQ(LegOnWindow(legs[0], Project, 32).size(), 1u);
  EXPECT_EQ(HitTestRoute(legs, Project, {-50, 0}).Kind, TRouteHitKind::Leg);
  EXPECT_EQ(HitTestRoute(legs, Project, {-200, 0}).Kind, TRouteHitKind::None);
}

}  // namespace
}  // namespace scenario
