// vrkcheck on small fixture directories: the loaders' edge cases as the JSON output shows them,
// the exit status, and the same output for the same directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/Version.h"
#include "tools/vrkcheck/VrkCheck.h"

namespace vrkcheck {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/";

constexpr long long kDegree = 5'400'000, kMinute = 90'000;

// "[LongX,LatY]" of a position given in degrees and minutes north and east.
std::string Point(int latDeg, int latMin, int longDeg, int longMin) {
    return "[" + std::to_string(longDeg * kDegree + longMin * kMinute) + "," +
           std::to_string(latDeg * kDegree + latMin * kMinute) + "]";
}

// The JSON object of the force (or base) with this title, up to the next one.
std::string Entry(const std::string& json, const std::string& title) {
    const std::string key = "{\"title\":\"" + title + "\"";
    const auto begin = json.find(key);
    if (begin == std::string::npos) return {};
    const auto end = json.find("{\"title\":", begin + key.size());
    return json.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

class VrkCheckJsonTest : public ::testing::Test {
protected:
    VrkCheckJsonTest() {
        program = fs::temp_directory_path() / ("vrkcheck-json-" + std::to_string(::getpid()));
        fs::create_directories(program / "Data");
    }
    ~VrkCheckJsonTest() override {
        std::error_code error;
        fs::current_path(fs::temp_directory_path(), error);  // the load moves into the Data folder
        fs::remove_all(program, error);
    }
    // vrkcheck --json on a fixture directory; the exit status goes to `status`.
    std::string Json(const std::string& name, int* status = nullptr) {
        std::ostringstream out, err;
        const int result = vrkcheck::Run({"--json", kFixtures + name}, program.string(), out, err);
        if (status != nullptr) *status = result;
        EXPECT_EQ(err.str(), "");
        return out.str();
    }

    fs::path program;
};

TEST_F(VrkCheckJsonTest, CampaignCaseChoicesAndMissionQuirks) {
    int status = 0;
    const std::string json = Json("edge_campaign", &status);
    EXPECT_EQ(status, 1);
    // Messages in reading order: the allied file, then the axis file whose last line is
    // "ENDMISSION" (the line after it is shown empty). CASECOUNT=0 draws case 0, which the search
    // passes by up to its "ENDMISSION"; the case body is then read from the blank line after it,
    // the allied file's last (92), and runs past the end too.
    EXPECT_NE(json.find(R"("messages":["Error reading data line!\rSearched label: LL\rActual label: Target",)"
                        R"("Error reading mission!\rCase 0 not found!",)"
                        R"x("Error reading Mission!\rLine no: 93\rLine: \rForce: None\r\rList index out of bounds (93)",)x"
                        R"x("Error reading Mission!\rLine no: 78\rLine: \rForce: Last\r\rList index out of bounds (78)"],)x"),
              std::string::npos)
        << json;

    // The generator's draws for 1, 2, 3 and 3 cases give cases 1, 1, 2 and 1.
    EXPECT_NE(Entry(json, "One").find("\"position\":" + Point(30, 0, 10, 0)), std::string::npos) << json;
    EXPECT_NE(Entry(json, "Two").find("\"position\":" + Point(30, 0, 10, 0)), std::string::npos);
    EXPECT_NE(Entry(json, "ThreeA").find("\"position\":" + Point(31, 0, 10, 0)), std::string::npos);
    EXPECT_NE(Entry(json, "ThreeB").find("\"position\":" + Point(30, 0, 10, 0)), std::string::npos);

    // LOCATION puts the force at the base's starting point ("EP=") at 15 knots.
    const std::string forceH = Entry(json, "Force H");
    EXPECT_NE(forceH.find(R"("speed":20,"currentSpeed":15,)"), std::string::npos) << forceH;
    EXPECT_NE(forceH.find("\"position\":" + Point(31, 20, 29, 40)), std::string::npos) << forceH;

    // "Target=VALLETTA" holds "LL": taken for a position line, it names no target.
    const std::string forceB = Entry(json, "Force B");
    EXPECT_NE(forceB.find(R"("targetBase":"","originBase":"","origin":[],"target":[])"), std::string::npos) << forceB;

    // Thirty cases: the ninth draw, 10 of 0..28, picks "CASE11" (not "CASE1").
    EXPECT_NE(Entry(json, "Thirty").find("\"position\":" + Point(21, 0, 15, 0)), std::string::npos) << json;

    // "FIRSTDATE=" and "FIRSTHOUR=" push "SPEED=" down two lines; the blank name keeps the header.
    EXPECT_NE(Entry(json, "[MISSION 7]").find(R"("speed":12,)"), std::string::npos) << json;
    // The file that ends with "ENDMISSION" loses that force's mission.
    EXPECT_NE(Entry(json, "Last").find(R"("mission":null)"), std::string::npos) << json;

    // "EP=" after "LL=" moves the starting point only; "LL=" after "EP=" sets both.
    const std::string alexandria = Entry(json, "Alexandria");
    EXPECT_NE(alexandria.find("\"location\":" + Point(31, 20, 29, 40) + ",\"position\":" + Point(31, 12, 29, 53)),
              std::string::npos)
        << alexandria;
    const std::string valletta = Entry(json, "VALLETTA");
    EXPECT_NE(valletta.find("\"location\":" + Point(35, 54, 14, 31) + ",\"position\":" + Point(35, 54, 14, 31)),
              std::string::npos)
        << valletta;

    // A zone takes the last "Name=" before its "Strength=".
    EXPECT_NE(json.find(R"("zones":[{"side":0,"title":"","strength":1,)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"({"side":0,"title":"Ionian","strength":4,)"), std::string::npos) << json;
}

TEST_F(VrkCheckJsonTest, ScenarioShipPresence) {
    // The scenario needs the program's Data folder only to exist.
    int status = 0;
    const std::string json = Json("edge_scenario", &status);
    EXPECT_EQ(status, 0) << json;
    // RND=99 always stays, RND=-1 never does (nor in its base's list).
    const std::string forceA = Entry(json, "Force A");
    EXPECT_NE(forceA.find(R"("ships":[{"name":"Warspite")"), std::string::npos) << forceA;
    EXPECT_NE(forceA.find(R"({"name":"Valiant")"), std::string::npos) << forceA;
    EXPECT_EQ(json.find("Barham"), std::string::npos);
    EXPECT_NE(Entry(json, "Alexandria").find(R"("ships":["Warspite","Valiant"])"), std::string::npos) << json;
    EXPECT_NE(json.find(R"({"side":0,"title":"Ionian","strength":4,)"), std::string::npos) << json;
}

TEST_F(VrkCheckJsonTest, EmptyInformationFileShowsLineZeroTwice) {
    int status = 0;
    const std::string json = Json("empty_info", &status);
    EXPECT_EQ(status, 1);
    const std::string expected = R"("messages":["Error reading scenario data!\rFile: )" + kFixtures +
                                 R"(empty_info/ScenarioInfo.cfg\rLine no: 0\rLine: ",)"
                                 R"("Error reading scenario data!\rFile: ScenarioInfo.cfg\rLine no: 0\rLine: ")";
    EXPECT_NE(json.find(expected), std::string::npos) << json;
}

TEST_F(VrkCheckJsonTest, SameDirectoryGivesTheSameOutput) {
    for (const char* name : {"edge_campaign", "edge_scenario", "empty_info", "windows_campaign"}) {
        EXPECT_EQ(Json(name), Json(name)) << name;
    }
}

TEST_F(VrkCheckJsonTest, ArgumentProblemsNameTheArgument) {
    const std::string dir = kFixtures + "edge_scenario";
    const std::string missing = kFixtures + "no such directory";
    struct TCase {
        std::vector<std::string> Args;
        std::string FirstLine;
    };
    for (const TCase& c : std::vector<TCase>{
             {{}, "vrkcheck: DIR is required"},
             {{"--json"}, "vrkcheck: DIR is required"},
             {{dir, dir}, "vrkcheck: The following argument was not expected: " + dir},
             {{"--size", "0x10", dir}, "vrkcheck: --size: bad size \"0x10\": expected WIDTHxHEIGHT, each from 1 to 16384"},
             {{"--size", "10", dir}, "vrkcheck: --size: bad size \"10\": expected WIDTHxHEIGHT, each from 1 to 16384"},
             {{"--png"}, "vrkcheck: --png: 1 required FILE missing"},
             {{"--png", "", dir}, "vrkcheck: --png: a file name is needed"},
             {{"--frobnicate", dir}, "vrkcheck: The following argument was not expected: --frobnicate"},
             {{missing}, "vrkcheck: DIR: Directory does not exist: " + missing}}) {
        std::ostringstream out, err;
        EXPECT_EQ(vrkcheck::Run(c.Args, program.string(), out, err), 2) << c.FirstLine;
        EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.FirstLine);
        EXPECT_EQ(out.str(), "");
    }
}

TEST_F(VrkCheckJsonTest, HelpAndVersion) {
    std::ostringstream help, version, err;
    EXPECT_EQ(vrkcheck::Run({"--help"}, program.string(), help, err), 0);
    EXPECT_EQ(help.str().rfind("Loads a scenario or campaign directory", 0), 0u) << help.str();
    for (const char* option : {"DIR", "--json", "--png", "--size", "--version"})
        EXPECT_NE(help.str().find(option), std::string::npos) << option;
    EXPECT_EQ(vrkcheck::Run({"--version"}, program.string(), version, err), 0);
    EXPECT_EQ(version.str(), std::string("vrkcheck ") + CORVALIS_VERSION + "\n");
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace vrkcheck
