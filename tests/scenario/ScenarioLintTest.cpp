// The scenario checks: the world map's land against known places, fixtures with one planted problem
// each, an edited force, and the findings kept current after an edit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "globe/data/GlobeUnits.h"
#include "globe/data/LandIndex.h"
#include "platform/LocalFileSystem.h"
#include "scenario/Force.h"
#include "scenario/LintLand.h"
#include "scenario/LintRecheck.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
const std::string kLintFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/lint/";

globe::TGeoPoint At(double lat, double lon) {
  return globe::TGeoPoint(static_cast<int32_t>(lon * globe::GlobeUnitsPerDegree),
                          static_cast<int32_t>(lat * globe::GlobeUnitsPerDegree));
}

// The default world map's land, read once: the fixtures name no environment.
class ScenarioLintTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { land = LandFromFile(kProgramDir + "/Data/Land.lyr").release(); }
  static void TearDownTestSuite() {
    delete land;
    land = nullptr;
  }
  void SetUp() override { ASSERT_NE(land, nullptr); }
  ~ScenarioLintTest() override { fs::current_path(startDir); }  // the load moves into the scenario directory
  Strings Lines(const std::string& dir) {
    check = std::make_unique<TLoadCheck>(files, platform::RegionalSettings{}, kProgramDir);
    check->Run(dir);
    Strings lines;
    for (const TLintFinding& finding : LintScenario(check->State(), land, files)) lines.push_back(FormatFinding(finding));
    return lines;
  }

  static globe::TLandIndex* land;
  fs::path startDir = fs::current_path();
  platform::LocalFileSystem files;
  std::unique_ptr<TLoadCheck> check;
};
globe::TLandIndex* ScenarioLintTest::land = nullptr;

// Legs over the strait, the antimeridian and the poles; places inland are the fixtures' problems.
TEST_F(ScenarioLintTest, LegsAcrossLandAndThroughStraits) {
  const struct { const char* what; double lat1, lon1, lat2, lon2; bool crosses; } legs[] = {
      {"through the Strait of Messina", 38.28, 15.66, 38.14, 15.59, false},
      {"over Wrangel Island and the 180-degree meridian", 71.2, 178, 71.2, -177, true},
      {"over the north pole", 84, -30, 84, 150, false},
      {"over the south pole", -70, 0, -70, 180, true},
  };
  for (const auto& leg : legs)
    EXPECT_EQ(land->LegCrossesLand(At(leg.lat1, leg.lon1), At(leg.lat2, leg.lon2), 0, 0), leg.crosses) << leg.what;
  EXPECT_EQ(LandFromFile(kProgramDir + "/Data/README.md"), nullptr);  // a damaged land file gives no land
  // 26 miles off Crete's south coast; Antarctica; the north pole at sea.
  EXPECT_NEAR(land->CoastDistance(At(34.5, 25), 200 * globe::GlobeUnitsPerMinute), 26 * globe::GlobeUnitsPerMinute,
              globe::GlobeUnitsPerMinute);
  EXPECT_TRUE(land->IsLand(At(-89, 0)) && !land->IsLand(At(89.9, 0)));
}

TEST_F(ScenarioLintTest, EachPlantedProblemIsFoundAtItsLine) {
  const std::pair<const char*, Strings> fixtures[] = {
      {"clean", {}},
      {"waypoint_on_land",
       {"AlliedShips.cfg:11: error: WP=2700N 02500E is on land, more than 200 NM from the coast [waypoint-on-land]"}},
      {"start_on_land",
       {"AlliedShips.cfg:14: error: start position LL=2900N 02700E is on land, 135 NM from the coast [start-on-land]"}},
      {"leg_over_land",
       {"AxisShips.cfg:11: warning: the leg from WP=3430N 02500E to WP=3600N 02500E crosses land [leg-over-land]"}},
      {"port_inland",
       {"AlliedBases.cfg:7: warning: port Cairo is on land, 63 NM from the coast (more than 20 NM) [port-inland]"}},
      {"cwpi_outside",
       {"AlliedShips.cfg:10: error: CWPI=2 is outside the case's 2 waypoints (0 to 1): the case is not drawn "
        "[cwpi-out-of-range]"}},
      {"casecount_low",
       {"AlliedShips.cfg:6: error: CASECOUNT=3 but 2 CASE blocks follow: a missing case can be chosen [case-count]"}},
      {"casecount_high",
       {"AlliedShips.cfg:6: warning: CASECOUNT=1 but 2 CASE blocks follow: the cases past the count are never "
        "chosen [case-count]"}},
      {"slow_force", {"AxisShips.cfg:4: error: SPEED=0 is below 1 knot: arrival times cannot be computed [speed-too-low]"}},
      {"empty_case", {"AlliedShips.cfg:12: warning: case 2 has no waypoint and no target [case-empty]"}},
      {"unknown_base",
       {"AlliedShips.cfg:9: error: base \"Atlantis\" is not loaded: the force starts at 0\u00B0N 0\u00B0E [unknown-base]"}},
      {"bad_position", {"AlliedShips.cfg:16: error: position \"34X0N 02400E\" cannot be read [bad-position]"}},
  };
  for (const auto& [dir, findings] : fixtures) EXPECT_EQ(Lines(kLintFixtures + dir), findings) << dir;
}

TEST_F(ScenarioLintTest, AnEditedForceIsCheckedOnItsOwnWithItsCaseAndPoint) {
  ASSERT_EQ(Lines(kLintFixtures + "clean"), Strings{});
  TScenarioState& state = check->State();
  TForce* force = state.ForceList.front();  // the allied file is read first
  ASSERT_EQ(force->Title(), "Force Z");
  platform::TextLines& lines = state.SideLines[1];
  ASSERT_EQ(lines[14], "WP=3430N 02600E");
  lines[14] = "WP=2800N 02600E";  // the Western Desert
  const std::vector<TLintFinding> findings = LintForce(state, *force, land);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(std::tuple(findings[0].Code, findings[0].Line, findings[0].Force, findings[0].Case),
            std::tuple("waypoint-on-land", 15u, force, 2));
  EXPECT_EQ(findings[0].At.value().LatY, 28 * globe::GlobeUnitsPerDegree);
  EXPECT_EQ(CountErrors(findings), 1u);
  EXPECT_TRUE(LintForce(state, *force, nullptr).empty());  // without land only the other checks run
}

// Only the legs still to sail are checked: with CWPI=1 the leg over Crete to the current waypoint
// is sailed already. A leg between two places on land near the coast that runs over land without
// meeting a coastline is found all the same: past the harbour reach it starts on land.
TEST_F(ScenarioLintTest, LegsStillToSailAndALegWhollyOverLand) {
  ASSERT_EQ(Lines(kLintFixtures + "clean"), Strings{});
  TScenarioState& state = check->State();
  TForce* force = state.ForceList.front();
  platform::TextLines& lines = state.SideLines[1];
  ASSERT_EQ(lines[11], "CASE2");
  const Strings crete = {"WP=3430N 02500E", "WP=3600N 02500E", "WP=3600N 02600E"};
  const auto overCrete = [&crete](const std::string& cwpi) {
    Strings caseLines = {cwpi};
    caseLines.insert(caseLines.end(), crete.begin(), crete.end());
    return caseLines;
  };
  const auto leg = [](const std::string& from, const std::string& to, int line) {
    return "AlliedShips.cfg:" + std::to_string(line) + ": warning: the leg from " + from + " to " + to +
           " crosses land [leg-over-land]";
  };
  const struct { const char* what; Strings caseLines, findings; } cases[] = {
      {"the first leg still to sail", overCrete("CWPI=0"), {leg(crete[0], crete[1], 15)}},
      {"the first leg sailed", overCrete("CWPI=1"), {}},
      {"across Crete, 3 NM inland at either end", {"WP=3459N 02500E", "WP=3521N 02500E"},
       {leg("WP=3459N 02500E", "WP=3521N 02500E", 14)}},
  };
  const platform::TextLines clean = lines;
  for (const auto& c : cases) {
    lines = clean;
    lines.erase(lines.begin() + 12, lines.begin() + 16);  // the case's own lines up to ENDMISSION
    lines.insert(lines.begin() + 12, c.caseLines.begin(), c.caseLines.end());
    Strings findings;
    for (const TLintFinding& finding : LintForce(state, *force, land)) findings.push_back(FormatFinding(finding));
    EXPECT_EQ(findings, c.findings) << c.what;
  }
}

// Lines that load without a word but are plainly wrong, each edited into the clean scenario.
TEST_F(ScenarioLintTest, LinesThatLoadButAreWrong) {
  const struct { std::size_t index; const char* line; Strings findings; } edits[] = {
      {9, "WP=9999X 99999Q", {"AlliedShips.cfg:10: error: position off the globe: WP=9999X 99999Q [off-globe]"}},
      {9, "WP=3360N 02800E", {"AlliedShips.cfg:10: error: position off the globe: WP=3360N 02800E [off-globe]"}},
      {13, "LL=9100N 02700E", {"AlliedShips.cfg:14: error: position off the globe: LL=9100N 02700E [off-globe]"}},
      {15, "TP=3430N 18030E", {"AlliedShips.cfg:16: error: position off the globe: TP=3430N 18030E [off-globe]"}},
      {9, "wp=3300N 02800E",
       {"AlliedShips.cfg:10: warning: line not read: wp=3300N 02800E (WP= meant?) [line-not-read]"}},
      {13, "Ll=3400N 02700E",
       {"AlliedShips.cfg:14: warning: line not read: Ll=3400N 02700E (LL= meant?) [line-not-read]"}},
      {9, "WPT=3300N 02800E", {"AlliedShips.cfg:10: warning: line not read: WPT=3300N 02800E [line-not-read]"}},
      {8, "LOCATION=",
       {"AlliedShips.cfg:9: error: LOCATION= names no base: the force starts at 0\u00B0N 0\u00B0E [unknown-base]"}},
      {12, "LOCATION=", {"AlliedShips.cfg:13: error: LOCATION= names no base [unknown-base]"}},  // an LL= follows
  };
  for (const auto& edit : edits) {
    ASSERT_EQ(Lines(kLintFixtures + "clean"), Strings{});
    TScenarioState& state = check->State();
    platform::TextLines& lines = state.SideLines[1];
    lines[edit.index] = edit.line;
    Strings found;
    for (const TLintFinding& finding : LintForce(state, *state.ForceList.front(), land))
      found.push_back(FormatFinding(finding));
    EXPECT_EQ(found, edit.findings) << edit.line;
  }
}

TLintFinding Finding(const std::string& file, std::size_t line, const TForce* force, const std::string& code = "x") {
  TLintFinding finding;
  std::tie(finding.File, finding.Line, finding.Code, finding.Force) = std::tie(file, line, code, force);
  return finding;
}

Strings Places(const std::vector<TLintFinding>& findings) {
  Strings places;
  for (const TLintFinding& f : findings) places.push_back(f.File + ":" + std::to_string(f.Line) + " " + f.Code);
  return places;
}

// Land whose edges would overfill the index is not checked, and the findings say so.
TEST_F(ScenarioLintTest, LandTooLargeToIndexIsSkippedWithANote) {
  globe::TLandIndex tooLarge(1000);
  for (int i = 0; i < 20; ++i) tooLarge.AddRing(std::vector{At(-85 + i, -179), At(85 - i, 179), At(84 - i, 179)});
  ASSERT_FALSE(Lines(kLintFixtures + "waypoint_on_land").empty());
  const std::vector<TLintFinding> findings = LintScenario(check->State(), &tooLarge, files);
  EXPECT_EQ(Places(findings), Strings{":0 land-skipped"});
  EXPECT_EQ(FormatFinding(findings.at(0)),
            "note: the land checks were skipped: the land map's 60 edges run through too many cells to index "
            "[land-skipped]");
  EXPECT_TRUE(LintForce(check->State(), *check->State().ForceList.front(), &tooLarge).empty());
}

// The edited forces' findings are replaced, the rest of the edited file's move with their lines.
TEST(LintRecheckTest, EditedForceReplacedOthersMoveWithTheirLines) {
  TForce edited(nullptr), below(nullptr), above(nullptr);
  const struct { const char* name; TLinesEdit edit; Strings expected; } cases[] = {
      // Two lines inserted at line index 12 (line 13): the finding at line 30 moves to 32.
      {"insert", {"Axis.cfg", 12, 0, 2}, {"Allied.cfg:30 o", "Axis.cfg:5 a", "Axis.cfg:14 new", "Axis.cfg:32 b"}},
      {"delete", {"Axis.cfg", 12, 1, 0}, {"Allied.cfg:30 o", "Axis.cfg:5 a", "Axis.cfg:14 new", "Axis.cfg:29 b"}},
  };
  for (const auto& c : cases) {
    std::vector<TLintFinding> findings = {Finding("Allied.cfg", 30, nullptr, "o"), Finding("Axis.cfg", 5, &above, "a"),
                                          Finding("Axis.cfg", 13, &edited, "old"), Finding("Axis.cfg", 30, &below, "b"),
                                          Finding("Axis.cfg", 20, &edited, "old")};
    ReplaceForceFindings(findings, c.edit, {&edited}, {Finding("Axis.cfg", 14, &edited, "new")});
    EXPECT_EQ(Places(findings), c.expected) << c.name;
  }
  // Findings without a force stay and every named force is replaced.
  std::vector<TLintFinding> findings = {Finding("Bases.cfg", 3, nullptr, "port"), Finding("Axis.cfg", 8, &above),
                                        Finding("Axis.cfg", 9, &below)};
  ReplaceForceFindings(findings, {"Axis.cfg", 0, 40, 40}, {&above, &below}, {});
  EXPECT_EQ(Places(findings), Strings{"Bases.cfg:3 port"});
}

}  // namespace
}  // namespace scenario
