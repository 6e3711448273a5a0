// vrkcheck's arguments, help and version, and --lint: the finding lines, the exit status and the
// findings of --json (VrkCheckExpectedTest compares the loads' whole output).

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "platform/Version.h"
#include "tests/globe_data/TempFile.h"
#include "tools/vrkcheck/VrkCheck.h"

namespace vrkcheck {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/";
const std::string kLintFixtures = kFixtures + "lint/";
// The project's data folder plays the program folder: its "Data" holds the world map.
const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";

class VrkCheckTest : public ::testing::Test {
protected:
    ~VrkCheckTest() override { fs::current_path(startDir); }  // the load moves into the scenario directory
    int Run(const std::vector<std::string>& args, const std::string& program = kProgramDir) {
        out.str({});
        err.str({});
        return vrkcheck::Run(args, program, out, err);
    }
    fs::path startDir = fs::current_path();
    std::ostringstream out, err;
};

TEST_F(VrkCheckTest, ArgumentProblemsHelpVersionAndAProgramFolderOfOnlyItsDataFolder) {
    const std::string dir = kFixtures + "edge_scenario";
    const std::string missing = kFixtures + "no such directory";
    for (const auto& [args, firstLine] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--json"}, "DIR is required"},
             {{dir, dir}, "The following argument was not expected: " + dir},
             {{"--size", "0x10", dir}, "--size: bad size \"0x10\": expected WIDTHxHEIGHT, each from 1 to 16384"},
             {{"--png", "", dir}, "--png: a file name is needed"},
             {{"--at", "321200", dir}, "--at: bad time \"321200\": expected DDHHMM (day of the month, hour, minute)"},
             {{"--json", "--at", "201200", dir}, "--json excludes --at"},
             {{"--lint", "--timeline", dir}, "--lint excludes --timeline"},
             {{missing}, "DIR: Directory does not exist: " + missing}}) {
        EXPECT_EQ(Run(args), 2) << firstLine;
        EXPECT_EQ(err.str().substr(0, err.str().find('\n')), "vrkcheck: " + firstLine);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_TRUE(out.str().starts_with("Loads a scenario or campaign directory")) << out.str();
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out.str(), std::string("vrkcheck ") + CORVALIS_VERSION + "\n");
    // A scenario needs the program's Data folder only to exist.
    const globe::testing::TempDir program;
    fs::create_directories(program.Path / "Data");
    EXPECT_EQ(Run({"--json", kFixtures + "edge_scenario"}, program.Path.string()), 0);
    EXPECT_EQ(err.str(), "");
}

TEST_F(VrkCheckTest, LintFindingLinesAndExitStatus) {
    // An error: status 1, the finding after the load's summary, then the count.
    EXPECT_EQ(Run({"--lint", kLintFixtures + "unknown_base"}), 1);
    EXPECT_EQ(out.str(),
              "message 1:\n  Cannot find location \"Atlantis\" for TF Force Z\n"
              "scenario: 3 bases, 2 forces, 1 messages\n"
              "AlliedShips.cfg:9: error: base \"Atlantis\" is not loaded [unknown-base]\n"
              "lint: 1 errors, 0 warnings, 0 notes\n");
    // Nothing found: status 0 (as with the Crete demo's warnings only, below).
    EXPECT_EQ(Run({"--lint", kProgramDir + "/Scenarios/Malta1941"}), 0);
    EXPECT_NE(out.str().find("lint: 0 errors, 0 warnings, 0 notes\n"), std::string::npos) << out.str();
    EXPECT_EQ(Run({"--lint", kLintFixtures}), 2);  // no scenario in the directory
    // Without --lint the status still counts load messages only.
    EXPECT_EQ(Run({kLintFixtures + "slow_force"}), 0);
    EXPECT_EQ(out.str().find("speed-too-low"), std::string::npos);
}

TEST_F(VrkCheckTest, LintJsonCarriesTheFindings) {
    EXPECT_EQ(Run({"--json", "--lint", kLintFixtures + "slow_force"}), 1);
    EXPECT_NE(out.str().find(R"(,"findings":[{"file":"AxisShips.cfg","line":4,"severity":"error",)"
                             R"("code":"speed-too-low","message":"SPEED=0 is below 1 knot: arrival times cannot be )"
                             R"(computed"}]})"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(Run({"--json", kLintFixtures + "slow_force"}), 0);
    EXPECT_EQ(out.str().find("\"findings\""), std::string::npos);
}

// The Lupo convoy's routes, named in data/Scenarios/README.md, are the demos' only findings.
TEST_F(VrkCheckTest, TheCreteDemoCarriesOnlyItsNamedFindings) {
    EXPECT_EQ(Run({"--lint", kProgramDir + "/Scenarios/Crete1941"}), 0);
    EXPECT_EQ(out.str(),
              "scenario: 15 bases, 11 forces, 0 messages\n"
              "AxisShips.cfg:12: warning: the leg from Origin=Piraeus to TP=3545N 02350E crosses land [leg-over-land]\n"
              "AxisShips.cfg:14: warning: the leg from WP=3650N 02400E to Origin=Piraeus crosses land [leg-over-land]\n"
              "AxisShips.cfg:18: warning: the leg from LL=3745N 02325E to WP=3710N 02340E crosses land [leg-over-land]\n"
              "AxisShips.cfg:20: warning: the leg from WP=3620N 02330E to Target=Maleme crosses land [leg-over-land]\n"
              "lint: 0 errors, 4 warnings, 0 notes\n");
}

}  // namespace
}  // namespace vrkcheck
