// The dry run on tests/data/scenarios/timeline_scenario, held against crossings worked out by hand.
//
// Force Z (Allied, 10 knots) sails case 1 along the equator from 50E to 60E from the scenario start,
// 1941-05-20 06:00: 600 NM, one leg of 60 hours, so it is at 50 + m / 360 degrees east m minutes
// after the start. The engine's sphere measures a nautical mile as an arc minute.
// - Ras Hafun (Axis airfield, 1N 55E, strike range 120 NM = 2 degrees): on the equator
//   cos 2 = cos 1 cos dx, dx = acos(cos 2 / cos 1) = 1.732139 degrees; the edges at 53.267861E and
//   56.732139E, minutes 1176.43 and 2423.57: inside from minute 1177, outside from 2424.
// - Kismayu (Axis, 2S 56.5E, sector 240 NM = 4 degrees, centre line 0, width 90): the outline's
//   straight edges run from the base to the points 4 degrees away on bearings 315 and 45, at
//   0.829715N 53.672426E and 0.829715N 59.327574E (lat2 = asin(sin(-2) cos 4 + cos(-2) sin 4 cos b),
//   dlon = atan2(sin b sin 4 cos(-2), cos 4 - sin(-2) sin lat2)). They cross the equator at
//   56.5 - 2.827574 * 2 / 2.829715 = 54.501513E and 58.498487E: minutes 1620.54 and 3059.46.
// - Port Raya (Axis, 0.1667N 58E, mines 20 NM): dx = acos(cos(1/3) / cos(1/6)) = 0.288676, edges at
//   57.711324E and 58.288676E: minutes 2776.08 and 2983.92.
// - Socotra Gap (Axis zone, 51 31' 05"E to 53 30' 05"E): minutes 546.5 and 1260.5.
// - The Allied Seychelles (52E, strike 300 NM, mines 10 NM) and Home Waters zone (59E to 61E) are
//   Force Z's own side: no events.
// Daylight by the solar model (sun over 180 degrees at 00:00 UTC moving west 15 degrees an hour,
// declination atan(0.4333823 cos(2 pi d / 365.24225)) for d = 150, 151, 152 days after 1940-12-21,
// day above the horizon, twilight to cos 96 degrees): on the equator day is 06:00 to 18:00 local,
// local = UTC + longitude / 15. Minute 1177 is 01:37 UTC on the 21st, 05:10 local at 53.27E: night.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "globe/data/GlobeUnits.h"
#include "platform/LocalFileSystem.h"
#include "platform/DateTime.h"
#include "scenario/Force.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioState.h"
#include "scenario/Timeline.h"
#include "scenario/TimelineText.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
const std::string kFixture = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/timeline_scenario";

double Degrees(std::int32_t gu) { return gu / static_cast<double>(globe::GlobeUnitsPerDegree); }

class TimelineTest : public ::testing::Test {
 protected:
  TimelineTest()
  {
    check.Run(kFixture);
    events = ScenarioTimeline(check.State(), check.Globe());
  }
  ~TimelineTest() override { fs::current_path(startDir); }  // the load moves into the scenario directory

  std::vector<TTimelineEvent> Of(const std::string& force, int n) const
  {
    std::vector<TTimelineEvent> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [&](const TTimelineEvent& e) { return e.Force == force && e.Case == n; });
    return found;
  }

  fs::path startDir = fs::current_path();
  platform::LocalFileSystem files;
  TLoadCheck check{files, platform::RegionalSettings{}, kProgramDir};
  std::vector<TTimelineEvent> events;
};

TEST_F(TimelineTest, CrossingsOfTheOtherSidesAreasAtTheMinutesWorkedOutByHand)
{
  const struct {
    std::int64_t minute;
    TEventKind kind;
    TEventPlace place;
    const char* name;
    double lon;
    TDayPhase phase;
  } expected[] = {
      {0, TEventKind::Depart, TEventPlace::Start, "LL=0000N 05000E", 50, dpDay},
      {547, TEventKind::Enter, TEventPlace::Subzone, "Socotra Gap", 51.5194, dpNight},  // 15:07 UTC, 18:33 local
      {1177, TEventKind::Enter, TEventPlace::Strike, "Ras Hafun", 53.2694, dpNight},
      {1261, TEventKind::Leave, TEventPlace::Subzone, "Socotra Gap", 53.5028, dpDay},  // 06:35 local
      {1621, TEventKind::Enter, TEventPlace::Recon, "Kismayu", 54.5028, dpDay},         // 12:39 local
      {2424, TEventKind::Leave, TEventPlace::Strike, "Ras Hafun", 56.7333, dpNight},   // 02:11 local
      {2777, TEventKind::Enter, TEventPlace::Minefield, "Port Raya", 57.7139, dpDay},
      {2984, TEventKind::Leave, TEventPlace::Minefield, "Port Raya", 58.2889, dpDay},
      {3060, TEventKind::Leave, TEventPlace::Recon, "Kismayu", 58.5, dpDay},
      {3600, TEventKind::Arrive, TEventPlace::Waypoint, "WP=0000N 06000E", 60, dpNight},  // 22:00 local
  };
  const std::vector<TTimelineEvent> got = Of("Force Z", 1);
  ASSERT_EQ(got.size(), std::size(expected));
  for (std::size_t i = 0; i < got.size(); ++i) {
    const auto& e = expected[i];
    EXPECT_EQ(got[i].Minute, e.minute) << e.name;
    EXPECT_EQ(got[i].Kind, e.kind) << e.name;
    EXPECT_EQ(got[i].Place, e.place) << e.name;
    EXPECT_EQ(got[i].Name, e.name);
    EXPECT_NEAR(Degrees(got[i].At.LongX), e.lon, 1e-4) << e.name;
    EXPECT_NEAR(Degrees(got[i].At.LatY), 0, 1e-6) << e.name;
    EXPECT_EQ(got[i].Phase, e.phase) << e.name;
  }
  const double start = check.State().StartTime;
  EXPECT_EQ(TimelineEventLine(got[2], start), "210137  Force Z (case 1): enters strike range of Ras Hafun (night)\n");
  EXPECT_EQ(TimelineEventLine(got[4], start),
            "210901  Force Z (case 1): enters reconnaissance sector of Kismayu (day)\n");
  EXPECT_EQ(JsonDump(TimelineJson({got[2]}, start)),
            R"({"events":[{"force":"Force Z","side":1,"case":1,"time":"1941-05-21T01:37","ddhhmm":"210137",)"
            R"("kind":"enter","area":"strike","name":"Ras Hafun","lat":0,"lon":53.2694,"phase":"night"}]})");
}

// Case 2 waits 12 hours at 55E, inside Ras Hafun's strike range (60 NM from the base) and Kismayu's
// sector, then sails 30 NM to its waypoint and 30 NM on to its target, 3 hours each.
TEST_F(TimelineTest, AreasAForceStartsInAreEnteredAtItsDeparture)
{
  std::vector<std::string> lines;
  for (const TTimelineEvent& e : Of("Force Z", 2)) lines.push_back(TimelineEventLine(e, check.State().StartTime));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "201800  Force Z (case 2): departs from LL=0000N 05500E (night)\n",
                       "201800  Force Z (case 2): enters strike range of Ras Hafun (night)\n",
                       "201800  Force Z (case 2): enters reconnaissance sector of Kismayu (night)\n",
                       "202100  Force Z (case 2): arrives at waypoint WP=0000N 05530E (night)\n",
                       "210000  Force Z (case 2): arrives at target TP=0000N 05600E (night)\n",
                   }));
  // The Axis force (12 knots, 3S to 3N along 52 05'E, 30 hours) meets only the Allied areas: it
  // starts inside Seychelles' strike range (300 NM) and passes 5 NM east of the base through its
  // 10 NM minefield, whose edge it crosses acos(cos 10' / cos 5') = 8.660 NM either side of the
  // equator: 180 -+ 8.660 NM, minutes 856.70 and 943.30.
  std::vector<std::pair<std::int64_t, std::string>> axis;
  for (const TTimelineEvent& e : Of("Gruppe Sued", 1)) axis.emplace_back(e.Minute, EventKindName(e.Kind) + (" " + e.Name));
  EXPECT_EQ(axis, (std::vector<std::pair<std::int64_t, std::string>>{{0, "depart LL=0300S 05205E"},
                                                                     {0, "enter Seychelles"},
                                                                     {857, "enter Seychelles"},
                                                                     {944, "leave Seychelles"},
                                                                     {1800, "arrive WP=0300N 05205E"}}));
  // The whole list runs in time order.
  EXPECT_TRUE(std::is_sorted(events.begin(), events.end(),
                             [](const TTimelineEvent& a, const TTimelineEvent& b) { return a.Minute < b.Minute; }));
}

TEST_F(TimelineTest, PositionsAtATime)
{
  const double start = check.State().StartTime;  // 1941-05-20 06:00
  const auto minute = MinuteOfTimeGroup(start, "211200");
  ASSERT_TRUE(minute.has_value());
  EXPECT_EQ(*minute, 30 * 60);
  // Case 1 is half way at 30 hours: 55E, heading east; case 2 arrived at 56E at 00:00. At 11:44 local
  // on the equator it is day. Gruppe Sued sails north at 12 knots: 360 NM in 30 hours, arrived.
  EXPECT_EQ(PositionsText(ScenarioVoyages(check.State()), start, *minute),
            "211200  Force Z (case 1): at 0000N 05500E heading 90 (day)\n"
            "211200  Force Z (case 2): arrived at 0000N 05600E heading 90 (day)\n"
            "211200  Gruppe Sued (case 1): arrived at 0300N 05205E heading 0 (day)\n");
  const struct { const char* text; std::optional<std::int64_t> minute; } rows[] = {
      {"200600", 0},
      {"200500", (31 * 24 - 1) * 60},  // before the start in May: 1941-06-20 05:00
      {"010000", (11 * 24 + 18) * 60},  // 1941-06-01 00:00
      {"320000", std::nullopt},
      {"202400", std::nullopt},
      {"20060", std::nullopt},
      {"2006x0", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(MinuteOfTimeGroup(start, row.text), row.minute) << row.text;
}

// The editor plays the case the load drew for each force (Force Z draws 1 + Random(1) = case 1 of
// its two, Gruppe Sued its only one) and the shown case of the selected force.
TEST_F(TimelineTest, PlayedCasesAreTheLoadsChoiceOrTheSelectedForcesShownCase)
{
  const auto cases = [](const std::vector<TCaseVoyage>& voyages) {
    std::vector<std::pair<std::string, int>> found;
    for (const TCaseVoyage& voyage : voyages) found.emplace_back(voyage.Force, voyage.Route.Case);
    std::sort(found.begin(), found.end());
    return found;
  };
  using TCases = std::vector<std::pair<std::string, int>>;
  const TScenarioState& state = check.State();
  const std::vector<TCaseVoyage> chosen = PlayedVoyages(state, nullptr, 2);
  EXPECT_EQ(cases(chosen), (TCases{{"Force Z", 1}, {"Gruppe Sued", 1}}));
  EXPECT_EQ(LastArrivalMinute(chosen), 60 * 60);  // Force Z: 600 NM at 10 knots
  const auto z = std::find_if(state.ForceList.begin(), state.ForceList.end(),
                              [](const TForce* force) { return force->Title() == "Force Z"; });
  ASSERT_NE(z, state.ForceList.end());
  const std::vector<TCaseVoyage> shown = PlayedVoyages(state, *z, 2);
  EXPECT_EQ(cases(shown), (TCases{{"Force Z", 2}, {"Gruppe Sued", 1}}));
  // Gruppe Sued: 360 NM at 12 knots; Force Z's case 2 arrives after 12 + 3 + 3 hours.
  EXPECT_EQ(LastArrivalMinute(shown), 30 * 60);
  EXPECT_EQ(cases(PlayedVoyages(state, *z, 5)), (TCases{{"Gruppe Sued", 1}}));  // a case with no route
}

// A force below 1 knot stays where it is: no departure, no arrival, only the areas it lies in.
TEST(TimelineVoyageTest, AForceBelowOneKnotDoesNotMove)
{
  const TTimelineRoute route{1, 2, {{globe::TGeoPoint::FromDegrees(55, 0), TRouteMark::Start, "LL=0000N 05500E"},
                                    {globe::TGeoPoint::FromDegrees(56, 0), TRouteMark::Waypoint, "WP=0000N 05600E"}}};
  const TCaseVoyage stopped{"Hulk", 1, route, TVoyage(route, 0)};
  const std::vector<TExposureArea> areas{
      {TAreaKind::Strike, 0, "Ras Hafun", globe::TGeoPoint::FromDegrees(55, 1), 120 * globe::GlobeUnitsPerMinute, {}}};
  const std::vector<TTimelineEvent> got = CaseTimeline(stopped, areas, platform::EncodeDate(1941, 5, 20));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Kind, TEventKind::Enter);
  EXPECT_EQ(got[0].Minute, 120);
  EXPECT_TRUE(stopped.Voyage.PositionAt(100000).Waiting);
  EXPECT_EQ(stopped.Voyage.PositionAt(100000).Point, route.Places[0].Point);
  // A delay of two billion hours lies beyond the calendar: no time group, no ISO time, no daylight.
  TTimelineRoute late = route;
  late.DelayHours = 2'000'000'000;
  const std::vector<TTimelineEvent> far = CaseTimeline({"Hulk", 1, late, TVoyage(late, 10)}, areas, 0);
  ASSERT_EQ(far.size(), 3u);  // depart, enter at the start, arrive (56E is 85 NM from the base)
  EXPECT_EQ(TimelineEventLine(far[1], 0), "------  Hulk (case 1): enters strike range of Ras Hafun\n");
  EXPECT_EQ(JsonDump(TimelineJson({far[1]}, 0)),
            R"({"events":[{"force":"Hulk","side":1,"case":1,"time":null,"ddhhmm":"------","kind":"enter",)"
            R"("area":"strike","name":"Ras Hafun","lat":0,"lon":55,"phase":null}]})");
}

}  // namespace
}  // namespace scenario
