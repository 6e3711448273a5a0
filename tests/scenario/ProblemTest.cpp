// The Problems panel's entries: the line a load message names, the file it is filed under, and
// which force, case and case-list row a line of a side's file belongs to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>
#include <vector>

#include "globe/view/PresenterClasses.h"
#include "globe/view/Voduz4.h"
#include "platform/LocalFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/Force.h"
#include "scenario/LineOwner.h"
#include "scenario/ProblemLog.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"

namespace scenario {
namespace {

const std::string kFixture = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/problems_campaign";

TEST(MessageLineTest, ReadersCountFromZeroThePanelFromOne) {
    const struct {
        const char* message;
        int line;
    } cases[] = {
        {"Error reading base file!\rFile: a.cfg\rLine no: 3\rLine: Delay=abc", 4},
        {"Format error in LL string!\rString: LL=bad\rLine number: 0", 1},
        {"Error reading Mission!\rLine no: 12\rLine: WP=bad", 13},
        {"Error reading axis bases!", 0},
        {"Error reading TF!\rLine no: \rLine: ", 0},           // no digits
        {"Error reading TF!\rLine no: 99999999999\r", 0},        // not a line of any file shown
    };
    for (const auto& c : cases) EXPECT_EQ(MessageLine(c.message), c.line) << c.message;
}

struct ProblemsCampaign : ::testing::Test {
    globe::TPresenterClassesRegistration registration;
    globe::TVoduz4 globe;
    platform::LocalFileSystem files;
    platform::testing::ScriptedDialogs shown;
    TProblemLog log{shown};
    TScenarioState state;
    std::filesystem::path startDir = std::filesystem::current_path();

    void Load() {
        TScenarioLoader loader(state, globe, log, files, platform::RegionalSettings{}, CORVALIS_SOURCE_DIR "/data");
        loader.OnReadFile = [this](const std::string& file) { log.SetCurrentFile(file); };
        ASSERT_EQ(loader.LoadDirectory(kFixture), TScenarioKind::skCampaign);
    }
    void TearDown() override { std::filesystem::current_path(startDir); }
};

TEST_F(ProblemsCampaign, EveryMessageIsFiledUnderItsFileAndLine) {
    Load();
    const struct {
        const char* file;
        int line;
        const char* firstLine;
    } expected[] = {
        {"AxisBases.cfg", 4, "Error reading base file!"},
        {"AxisBases.cfg", 0, "Error reading axis bases!"},
        {"Subs1.cfg", 0, "Error loading submarine info!"},
        {"Subs0.cfg", 4, "Format error in LL string!"},
        {"AxisMissions.cfg", 10, "Error reading Mission!"},
    };
    const std::vector<TProblem>& problems = log.Problems();
    ASSERT_EQ(problems.size(), std::size(expected));
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(std::filesystem::path(problems[i].File).filename(), expected[i].file) << i;
        EXPECT_EQ(problems[i].Line, expected[i].line) << i;
        EXPECT_TRUE(problems[i].Text.starts_with(expected[i].firstLine)) << problems[i].Text;
        EXPECT_TRUE(problems[i].Severity.empty() && problems[i].Code.empty());
    }
    // The boxes were shown as well, in the same order.
    ASSERT_EQ(shown.Reports().size(), problems.size());
    EXPECT_EQ(shown.Reports()[4], problems[4].Text);
}

TEST_F(ProblemsCampaign, MessagesOnlyRecordedWhenTheBoxesAreOff) {
    log.SetShowMessages(false);
    Load();
    EXPECT_EQ(log.Problems().size(), 5u);
    EXPECT_TRUE(shown.Reports().empty());
}

TEST_F(ProblemsCampaign, LinesBelongToTheForceAndCaseAboveThem) {
    Load();
    const platform::TextLines& axis = state.SideLines[0];
    ASSERT_EQ(axis[9], "WP=bad");
    const struct {
        std::size_t index;
        bool force;
        int kase;
        int row;
    } cases[] = {
        {9, true, 1, 3},    // the bad waypoint: fourth row of case 1's list
        {6, true, 1, 0},    // the "CASE1" line itself
        {3, true, 0, -1},   // the force's header
        {0, false, 0, -1},  // above every "NAME=" line
        {99, false, 0, -1}, // past the end
    };
    for (const auto& c : cases) {
        const TLineOwner owner = FindLineOwner(axis, state.ForceList, 0, c.index);
        EXPECT_EQ(owner.Force != nullptr, c.force) << c.index;
        if (owner.Force != nullptr) {
            EXPECT_EQ(owner.Force->Title(), "Italian Cruisers");
        }
        EXPECT_EQ(owner.Case, c.kase) << c.index;
        EXPECT_EQ(owner.Row, c.row) << c.index;
    }
    // Only the forces of the side the lines belong to are looked for.
    EXPECT_EQ(FindLineOwner(axis, state.ForceList, 1, 9).Force, nullptr);
}

TEST_F(ProblemsCampaign, EnvironmentRepairsAreFiledUnderTheEnvironmentFile) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("corvalis_problems_env_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "faulty.env", std::ios::binary) << "<TGlobe Odd>\r\n</TGlobe>\r\n";
    std::ofstream(dir / "ScenarioInfo.cfg", std::ios::binary)
        << "EnvironmentFile=faulty.env\r\nEnvironmentFile=missing.env\r\n";
    const std::string folder = dir.string() + "/";
    state.ScenarioDir = folder;
    TScenarioLoader loader(state, globe, log, files, platform::RegionalSettings{}, CORVALIS_SOURCE_DIR "/data");
    loader.OnReadFile = [this](const std::string& file) { log.SetCurrentFile(file); };
    loader.ReadEnvironmentSetting(folder);
    std::filesystem::remove_all(dir);
    ASSERT_EQ(log.Problems().size(), 2u);
    EXPECT_EQ(std::filesystem::path(log.Problems()[0].File).filename(), "faulty.env");
    EXPECT_NE(log.Problems()[0].Text.find("\"Odd\""), std::string::npos);
    // The next message is the information file's again.
    EXPECT_EQ(std::filesystem::path(log.Problems()[1].File).filename(), "ScenarioInfo.cfg");
    EXPECT_EQ(log.Problems()[1].Text, "Cannot find environment file: " + folder + "missing.env!");
}

}  // namespace
}  // namespace scenario
