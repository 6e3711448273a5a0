// The scenario checks on fixture directories with one planted problem each and on an edited force
// (vrkcheck --lint checks the demos).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "globe/data/GlobeUnits.h"
#include "platform/LocalFileSystem.h"
#include "scenario/Force.h"
#include "globe/data/LandIndex.h"
#include "scenario/LintLand.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
const std::string kLintFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/lint/";

// The default world map's land, read once: the fixtures name no environment, so their checks
// use it.
class ScenarioLintTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { land = LandFromFile(kProgramDir + "/Data/Land.lyr").release(); }
  static void TearDownTestSuite() {
    delete land;
    land = nullptr;
  }
  void SetUp() override { ASSERT_NE(land, nullptr); }
  ~ScenarioLintTest() override {
    std::error_code error;
    fs::current_path(startDir, error);  // the load moves into the scenario directory
  }
  // Loads a directory and returns its findings as printed lines.
  std::vector<std::string> Lines(const std::string& dir) {
    check = std::make_unique<TLoadCheck>(files, platform::RegionalSettings{}, kProgramDir);
    check->Run(dir);
    findings = LintScenario(check->State(), land, files);
    std::vector<std::string> lines;
    for (const TLintFinding& finding : findings) lines.push_back(FormatFinding(finding));
    return lines;
  }

  static globe::TLandIndex* land;

  fs::path startDir = fs::current_path();
  platform::LocalFileSystem files;
  std::unique_ptr<TLoadCheck> check;
  std::vector<TLintFinding> findings;
};
globe::TLandIndex* ScenarioLintTest::land = nullptr;

TEST_F(ScenarioLintTest, EachPlantedProblemIsFoundAtItsLine) {
  struct Fixture {
    const char* dir;
    std::vector<std::string> findings;
  };
  const std::vector<Fixture> fixtures{
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
      {"unknown_base", {"AlliedShips.cfg:9: error: base \"Atlantis\" is not loaded [unknown-base]"}},
      {"bad_position", {"AlliedShips.cfg:16: error: position \"34X0N 02400E\" cannot be read [bad-position]"}},
  };
  for (const Fixture& fixture : fixtures) {
    EXPECT_EQ(Lines(kLintFixtures + fixture.dir), fixture.findings) << fixture.dir;
  }
}

TEST_F(ScenarioLintTest, AnEditedForceIsCheckedOnItsOwnWithItsCaseAndPoint) {
  ASSERT_EQ(Lines(kLintFixtures + "clean"), std::vector<std::string>{});
  TScenarioState& state = check->State();
  TForce* force = state.ForceList.front();  // the allied file is read first
  ASSERT_EQ(force->Title(), "Force Z");
  platform::TextLines& lines = state.SideLines[1];
  ASSERT_EQ(lines[14], "WP=3430N 02600E");
  lines[14] = "WP=2800N 02600E";  // the Western Desert
  findings = LintForce(state, *force, land);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].Code, "waypoint-on-land");
  EXPECT_EQ(findings[0].Line, 15u);
  EXPECT_EQ(findings[0].Force, force);
  EXPECT_EQ(findings[0].Case, 2);
  ASSERT_TRUE(findings[0].At.has_value());
  EXPECT_EQ(findings[0].At->LatY, 28 * globe::GlobeUnitsPerDegree);
  // Without land only the other checks run.
  EXPECT_TRUE(LintForce(state, *force, nullptr).empty());
  EXPECT_EQ(CountErrors(findings), 1u);
}

}  // namespace
}  // namespace scenario
