// The texts of the map's tooltips, the hours to a leg's end, whether a window sees the scenario
// and which layer's titles come first.
#include <gtest/gtest.h>

#include <vector>

#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/ViewNavigation.h"
#include "globe/view/Voduz4.h"
#include "scenario/Base.h"
#include "scenario/MapTooltips.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ScenarioExtent.h"
#include "scenario/ScenarioLayers.h"

namespace scenario {
namespace {

using globe::TGeoPoint;
constexpr std::int32_t kDeg = 5'400'000;
constexpr std::int32_t kMile = 90'000;

// Three legs east along the equator, 60 Nm each, the last untimed.
std::vector<TRouteLeg> EastwardLegs()
{
  std::vector<TRouteLeg> legs;
  for (int i = 0; i < 3; ++i)
    legs.push_back({TGeoPoint(i * kDeg, 0), TGeoPoint((i + 1) * kDeg, 0), {}, {TRouteMark::Waypoint, i}, i < 2});
  return legs;
}

TEST(LegArrivalHoursTest, DelayPlusEveryTimedLegUpToThisOne)
{
  const std::vector<TRouteLeg> legs = EastwardLegs();
  EXPECT_EQ(LegArrivalHours(legs, 0, 6, 10), 12);  // 6 + round(60 / 10)
  EXPECT_EQ(LegArrivalHours(legs, 1, 6, 10), 18);
  EXPECT_EQ(LegArrivalHours(legs, 1, 0, 0), 2'000'000);  // at rest: a million hours a leg
  EXPECT_FALSE(LegArrivalHours(legs, 2, 6, 10));         // between targets: untimed
  EXPECT_FALSE(LegArrivalHours(legs, 3, 6, 10));
}

TEST(LegTooltipTest, LineLegCourseTimeAndArrival)
{
  TLegTooltip tip;
  tip.LineText = "WP=0000N 00200E";
  tip.Leg = EastwardLegs()[1];
  tip.Speed = 10;
  tip.Arrival = 18;
  tip.StartTime = 15.25;  // 14 January 1900, 06:00
  tip.Phase = dpNight;
  platform::RegionalSettings regional;
  regional.decimalSeparator = ",";
  EXPECT_EQ(LegTooltipText(tip, regional), "WP=0000N 00200E\nLeg: 60,0 Nm, course 90,0 deg\n6 h at 10 kn\nArrival: 150000 (night)");
  tip.Arrival.reset();
  tip.Leg = {TGeoPoint(0, kMile), TGeoPoint(0, 0), {}, {}, false};  // due south
  EXPECT_EQ(LegTooltipText(tip, regional), "WP=0000N 00200E\nLeg: 1,0 Nm, course 180,0 deg\n0 h at 10 kn");
}

TEST(BaseTooltipTest, NameSideKindMinesAndRanges)
{
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
  EXPECT_EQ(BaseTooltipText(*base).substr(0, 22), "Suda Bay\nAxis airfield");
}

TEST(WindowShowsScenarioTest, EveryPointInsideAndSpanningHalfTheWindow)
{
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

TEST(ScenarioTitlePriorityTest, ForcesThenBasesThenZonesThenTheMap)
{
  EXPECT_EQ(ScenarioTitlePriority("TrackingLayer"), 1);
  EXPECT_EQ(ScenarioTitlePriority("bases"), 2);
  EXPECT_EQ(ScenarioTitlePriority("Subs0.LYR"), 3);
  EXPECT_EQ(ScenarioTitlePriority("subs1.lyr"), 3);
  EXPECT_EQ(ScenarioTitlePriority("Countries"), 4);
  EXPECT_EQ(ScenarioTitlePriority("Base"), 4);
}

}  // namespace
}  // namespace scenario
