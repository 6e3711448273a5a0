// A scenario directory loaded over an in-memory file system (/scen, the program folder /prog) or
// real files: what vrkcheck's kept-output comparison of the fixtures does not show.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/PresenterClasses.h"
#include "globe/view/Voduz4.h"
#include "platform/LocalFileSystem.h"
#include "platform/testing/MemoryFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/Base.h"
#include "scenario/Force.h"
#include "scenario/JsonText.h"
#include "scenario/LineOwner.h"
#include "scenario/LoadCheck.h"
#include "scenario/Missions.h"
#include "scenario/Overlay.h"
#include "scenario/ProblemLog.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"
#include "scenario/SubZone.h"
#include "tests/globe_data/TempFile.h"
#include "tests/support/FinishesWithin.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using globe::testing::TempDir;

const std::string kFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/";
const std::string kProgramDir = CORVALIS_SOURCE_DIR "/data";
constexpr const char* kScenarioDir = "/scen/";

struct Loader {
    Loader() {
        files.AddDirectory("/prog/Data");
        files.AddDirectory("/scen");
        state.ScenarioDir = kScenarioDir;
    }
    void AddFile(const std::string& name, const Lines& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        files.AddFile(std::string(kScenarioDir) + name, bytes);
    }
    Lines Reports() const { return dialogs.Reports(); }

    globe::TPresenterClassesRegistration registration;
    globe::TCustomVoduz4 globe;  // destroyed after the state that refers to its objects
    platform::testing::MemoryFileSystem files;
    platform::testing::ScriptedDialogs dialogs;
    TScenarioState state;
    TScenarioLoader loader{state, globe, dialogs, files, platform::RegionalSettings{}, "/prog"};
};

class LoaderFixture : public ::testing::Test, public Loader {};

class RealFilesTest : public ::testing::Test {
protected:
    ~RealFilesTest() override { fs::current_path(startDir); }
    fs::path startDir = fs::current_path();
    TempDir dir;
    platform::LocalFileSystem files;
};

using DirectoryLoadingTest = LoaderFixture;

TEST_F(DirectoryLoadingTest, InformationFileLinesAndMissingFiles) {
    AddFile("ScenarioInfo.cfg", {"LL=garbage", "FSL0=Alexandria", "LL=31xxN 02953E", "FSLx=Piraeus",
                                 "StartDate=19410524"});
    files.SetCurrentDirectory("/scen");
    loader.ReadStartInfo("ScenarioInfo.cfg");
    EXPECT_EQ(Reports(), (Lines{"Format error in LL string!\rString: LL=31xxN 02953E\rLine number: 2",
                                "Error reading scenario data!\rFile: ScenarioInfo.cfg\rLine no: 3\rLine: FSLx=Piraeus"}));
    EXPECT_EQ(state.StartTime, 0.0);  // the file ended before the start date

    Loader both;  // a directory with both information files is a scenario
    both.AddFile("ScenarioInfo.cfg", {"EnvironmentFile=scen.env"});
    both.AddFile("campaigninfo.cfg", {"EnvironmentFile=camp.env"});
    EXPECT_EQ(both.loader.LoadDirectory("/scen"), TScenarioKind::skScenario);
    EXPECT_EQ(both.Reports().at(0), "Cannot find environment file: /scen/scen.env!");

    Loader empty;
    empty.files.SetCurrentDirectory("/scen");
    empty.loader.ReadStartInfo("ScenarioInfo.cfg");
    empty.loader.ReadStartInfo("CampaignInfo.cfg");
    empty.loader.ReadAllBases(kScenarioDir);
    empty.loader.ReadMissionFile("/scen/AxisMissions.cfg", 0);
    EXPECT_EQ(empty.Reports(), (Lines{"Error loading scenarioinfo!\rFile: ScenarioInfo.cfg does not exist!",
                                      "Error loading Campaigninfo!\rFile: CampaignInfo.cfg does not exist!",
                                      "Cannot find basefile: /scen/AxisBases.cfg!", "Error reading axis bases!",
                                      "Cannot find basefile: /scen/AlliedBases.cfg!", "Error reading allied bases!",
                                      "Error loading mission info!\rFile: /scen/AxisMissions.cfg does not exist!"}));
}

using BaseFileTest = LoaderFixture;

// Unreadable keys are skipped; a huge radius wraps like 32-bit arithmetic (50,000 x 90,000 is
// 205,032,704 after wrapping).
TEST_F(BaseFileTest, UnreadableKeysAreSkippedAndRadiiWrap) {
    AddFile("AxisBases.cfg", {"Name=Piraeus", "ReconDir=abc", "ReconWidth=60", "Mines=50000", "StrikeRange=-50000",
                              "Comment line", "", "Name=Eleusis"});
    ASSERT_TRUE(loader.ReadBaseFile("/scen/AxisBases.cfg", 0));
    EXPECT_EQ(Reports(), Lines{});
    ASSERT_EQ(state.BaseList.size(), 2u);
    const TBase& base = *state.BaseList[0];
    EXPECT_EQ(std::vector({base.ReconDir, base.ReconWidth, base.Mines, base.StrikeRange}),
              std::vector({0, 60, 205'032'704, -205'032'704}));
}

TEST_F(BaseFileTest, BadNumbersKeysAndPositions) {
    AddFile("AxisBases.cfg", {"Name=Taranto", "Delay=abc", "Name=Never read"});
    AddFile("AlliedBases.cfg", {"LL=3112N 02953E", "Name=Never read"});
    loader.ReadAllBases(kScenarioDir);
    EXPECT_EQ(Reports(), (Lines{"Error reading base file!\rFile: /scen/AxisBases.cfg\rLine no: 1\rLine: Delay=abc",
                                "Error reading axis bases!",
                                "Error reading base file!\rFile: /scen/AlliedBases.cfg\rLine no: 0\rLine: LL=3112N 02953E",
                                "Error reading allied bases!"}));
    ASSERT_EQ(state.BaseList.size(), 1u);  // bases made before the error stay
    // A malformed position only fails the side after the whole file.
    dialogs.ClearCalls();
    AddFile("AlliedBases.cfg", {"Name=Malta", "LL=35xxN 01430E", "Name=Alexandria", "LL=3112N 02953E"});
    EXPECT_FALSE(loader.ReadBaseFile("/scen/AlliedBases.cfg", 1));
    EXPECT_EQ(Reports(), Lines{});
    EXPECT_EQ(state.BaseList.size(), 3u);
}

using SubZoneTest = LoaderFixture;

TEST_F(SubZoneTest, BadLinesAndLayerOrder) {
    AddFile("Subs1.cfg", {"LL=3600N 02200E", "Strength=1", "LL=3600N 02200E", "LL=36x0N 02300E", "Name=Kythera"});
    AddFile("Subs0.cfg", {"Name=A", "Strength=x", "Name=B", "Strength=1"});
    files.SetCurrentDirectory("/scen");
    loader.ReadSubZones("Subs1.cfg", kAlliedSubsLayer, 0xFF0000);
    loader.ReadSubZones("Subs0.cfg", kAxisSubsLayer, 0x0000FF);
    EXPECT_EQ(Reports(), (Lines{"Format error in LL string!\rString: LL=36x0N 02300E\rLine number: 3",
                                "Error reading submarine data!\rFile: Subs0.cfg\rLine no: 1\rLine: Strength=x"}));
    globe::TGlobeObjectSource& zones1 = *LayerByNameOrNew(globe, kAlliedSubsLayer).ObjectSource();
    ASSERT_EQ(zones1.Count(), 1);
    EXPECT_EQ(dynamic_cast<TSubZone&>(*zones1.Objects(0)).Chains().Chain(0).Count(), 1);
    EXPECT_EQ(LayerByNameOrNew(globe, kAxisSubsLayer).ObjectSource()->Count(), 1);  // the bad strength ends the file
    // Each file moves its layer to the bottom: the side 0 zones end below the side 1 zones.
    EXPECT_EQ(globe.LayerStore().IndexOfName(kAxisSubsLayer), 0);
    EXPECT_EQ(globe.LayerStore().IndexOfName(kAlliedSubsLayer), 1);
}

TEST(DiagnosticLineTest, ReadersCountFromZeroThePanelFromOne) {
    const struct { std::int64_t index; int line; } cases[] = {
        {0, 1}, {41, 42}, {-1, 0}, {99'999'999'999, 0},  // the last not a line of any file shown
    };
    for (const auto& c : cases) EXPECT_EQ(DiagnosticLine(c.index), c.line) << c.index;
}

class ProblemsCampaign : public RealFilesTest {
protected:
    void Load(const std::string& dir, bool whole = true) {
        TScenarioLoader loader(state, globe, log, files, platform::RegionalSettings{}, kProgramDir);
        loader.OnReadFile = [this](const std::string& file) { log.SetCurrentFile(file); };
        if (whole) {
            ASSERT_EQ(loader.LoadDirectory(dir), TScenarioKind::skCampaign);
        } else {
            state.ScenarioDir = dir;
            loader.ReadEnvironmentSetting(dir);
        }
    }
    std::string FileOf(std::size_t n) const { return fs::path(log.Problems().at(n).File).filename().string(); }

    globe::TPresenterClassesRegistration registration;
    globe::TVoduz4 globe;
    platform::testing::ScriptedDialogs shown;
    TProblemLog log{shown};
    TScenarioState state;
};

TEST_F(ProblemsCampaign, EveryMessageIsFiledUnderItsFileAndLine) {
    Load(kFixtures + "problems_campaign");
    const struct { const char* file; int line; const char* firstLine; } expected[] = {
        {"AxisBases.cfg", 4, "Error reading base file!"},   {"AxisBases.cfg", 0, "Error reading axis bases!"},
        {"Subs1.cfg", 0, "Error loading submarine info!"},   {"Subs0.cfg", 4, "Format error in LL string!"},
        {"AxisMissions.cfg", 10, "Error reading Mission!"},
    };
    const std::vector<TDiagnostic>& problems = log.Problems();
    ASSERT_EQ(problems.size(), std::size(expected));
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(FileOf(i), expected[i].file) << i;
        EXPECT_EQ(problems[i].Line, expected[i].line) << i;
        EXPECT_TRUE(problems[i].Text.starts_with(expected[i].firstLine)) << problems[i].Text;
        EXPECT_EQ(shown.Reports().at(i), problems[i].Text);  // the boxes were shown as well, in order
    }
}

TEST_F(ProblemsCampaign, MessagesOnlyRecordedWhenTheBoxesAreOffAndLinesOwned) {
    log.SetShowMessages(false);
    Load(kFixtures + "problems_campaign");
    EXPECT_EQ(log.Problems().size(), 5u);
    EXPECT_EQ(shown.Reports(), Lines{});
    // Each line belongs to the force and case above it.
    const platform::TextLines& axis = state.SideLines[0];
    ASSERT_EQ(axis[9], "WP=bad");
    // The bad waypoint (fourth row of case 1), "CASE1", the force's header, above any force, past the end.
    const struct { std::size_t index; bool force; int kase; int row; } cases[] = {
        {9, true, 1, 3}, {6, true, 1, 0}, {3, true, 0, -1}, {0, false, 0, -1}, {99, false, 0, -1}};
    for (const auto& c : cases) {
        const TLineOwner owner = FindLineOwner(axis, state.ForceList, 0, c.index);
        EXPECT_EQ(owner.Force != nullptr ? owner.Force->Title() : "", c.force ? "Italian Cruisers" : "") << c.index;
        EXPECT_EQ(owner.Case, c.kase) << c.index;
        EXPECT_EQ(owner.Row, c.row) << c.index;
    }
    // Only the forces of the side the lines belong to are looked for.
    EXPECT_EQ(FindLineOwner(axis, state.ForceList, 1, 9).Force, nullptr);
}

// An environment file with faults loads what can be read; its repairs come in one message, filed
// under the environment file.
TEST_F(ProblemsCampaign, EnvironmentRepairsAreOneMessageFiledUnderTheEnvironmentFile) {
    dir.Write("faulty.env", "<TGlobe MinTextHeight=\"9\" Odd>\r\n</TGlobe>\r\n</TGlobe>\r\n");
    dir.Write("ScenarioInfo.cfg", "EnvironmentFile=faulty.env\r\nEnvironmentFile=missing.env\r\n");
    const std::string folder = dir.Path.string() + "/";
    Load(folder, false);
    EXPECT_EQ(globe.MinTextHeight(), 9);
    ASSERT_EQ(log.Problems().size(), 2u);
    EXPECT_EQ(FileOf(0), "faulty.env");
    const std::string file = "Environment file " + folder + "faulty.env, ";
    EXPECT_EQ(log.Problems()[0].Text,
              file + "line 1: \"Odd\" in <TGlobe> is not an attribute (name=\"value\") and is ignored\r" + file +
                  "line 3: closing tag </TGlobe> without an open element: the rest is ignored");
    // The next message is the information file's again.
    EXPECT_EQ(FileOf(1), "ScenarioInfo.cfg");
    EXPECT_EQ(log.Problems()[1].Text, "Cannot find environment file: " + folder + "missing.env!");
}

TEST(JsonTextTest, TextsAndNumbersKeepTheOutputValid) {
    // UTF-8 stays; a code page byte (here a cut sequence) and a surrogate are their code page characters.
    for (const auto& [bytes, json] : std::vector<std::pair<std::string, std::string>>{
             {"a\"b\\c\rd\x01", R"("a\"b\\c\rd\u0001")"}, {"\xc3\xa4", "\"\xc3\xa4\""},
             {"\xe4", "\"\xc3\xa4\""}, {"\xed\xa0\x80", "\"\xc3\xad\xc2\xa0\xc2\x80\""}})
        EXPECT_EQ(JsonDump(JsonText(bytes)), json) << json;
    const TJson numbers = TJson::array({JsonNumber(-2), JsonNumber(15116.25), JsonNumber(1.0 / 0.0), JsonNumber(0.0 / 0.0)});
    EXPECT_EQ(JsonDump(numbers), "[-2,15116.25,null,null]");
}

class LoadCheckTest : public RealFilesTest {
protected:
    LoadCheckTest() { fs::create_directories(dir.Path / "prog" / "Data"); }
    std::string JsonOf(const std::string& scenario, Lines* messages = nullptr) {
        TLoadCheck check(files, platform::RegionalSettings{}, dir.File("prog"));
        check.Run(scenario);
        if (messages != nullptr) *messages = check.Messages();
        return check.Json();
    }
};

TEST_F(LoadCheckTest, HostileFilesAreReportedNotFatal) {
    const fs::path hostile = dir.Path / "hostile";
    fs::create_directories(hostile);
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
    dir.Write("hostile/ScenarioInfo.cfg", "StartDate=" + garbage);
    dir.Write("hostile/AxisBases.cfg", "");
    dir.Write("hostile/AlliedBases.cfg", "Name=" + std::string(100'000, 'x') + "\nLL=" + std::string(50'000, '9') + "\n");
    dir.Write("hostile/AxisShips.cfg", garbage);
    dir.Write("hostile/AlliedShips.cfg",
              "[TF1]\r\nNAME=" + garbage + "\r\nNUMBER=1\r\nSPEED=1\r\nMISSION=Convoy\r\nCASECOUNT=999999999\r\n");
    dir.Write("hostile/Subs0.cfg", "Strength=1\nLL=" + garbage);
    const std::string json = JsonOf(hostile.string());
    // Control bytes and bytes that are not UTF-8 are escaped.
    ASSERT_TRUE(json.ends_with("}\n"));
    for (const char c : json.substr(0, json.size() - 1)) ASSERT_GE(static_cast<unsigned char>(c), 0x20u);
    // A value is at most 200 characters.
    EXPECT_NE(json.find("\"title\":\"" + std::string(200, 'x') + "\""), std::string::npos);
    EXPECT_NE(json.find("Error reading allied bases!"), std::string::npos);
}

TEST_F(LoadCheckTest, MissingDataFolder) {
    fs::remove_all(dir.Path / "prog" / "Data");
    Lines messages;
    const std::string json = JsonOf(kFixtures + "small_scenario", &messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Data"), std::string::npos) << messages[0];
    EXPECT_NE(json.find(R"("kind":"none","caption":"Corvalis scenario editor")"), std::string::npos);
}

// Names in a scenario that are not files: a FIFO as a side file, as the environment or as a map
// file of the environment, and a device as the environment. Each load ends at once with a message
// naming the file, instead of waiting for a writer or reading without end (the globe takes only
// regular files as map files: a FIFO there is a missing map file, which a load check does not show).
TEST_F(LoadCheckTest, NamesThatAreNotRegularFilesEndWithAMessage) {
    const fs::path scenario = dir.Path / "scen";
    fs::copy(kFixtures + "small_scenario", scenario);
    auto fifo = [](const fs::path& path) {
        fs::remove(path);
        return ::mkfifo(path.c_str(), 0600) == 0;
    };
    auto environment = [&](const std::string& name) {
        std::ofstream(scenario / "ScenarioInfo.cfg") << "EnvironmentFile=" << name << "\nStartDate=19410520\n";
    };
    const struct { const char* what; std::function<bool()> make; std::string message; } cases[] = {
        {"a FIFO side file", [&] { return fifo(scenario / "AxisShips.cfg"); }, "AxisShips.cfg\". It is not a regular file."},
        {"the environment ../../../../dev/zero", [&] { environment("../../../../dev/zero"); return true; },
         "../../../../dev/zero\". It is not a regular file."},
        {"a FIFO environment", [&] { environment("World.env"); return fifo(scenario / "World.env"); },
         "World.env\". It is not a regular file."},
        {"a FIFO map file", [&] {
             environment("World.env");
             std::ofstream(scenario / "World.env") << R"(<TGlobe><LayerStore><Layer Class="TGlobeLayer" Name="Land">)"
                                                   << R"(<Objects Class="TGlobeLYRReader" Filename="Land.lyr" />)"
                                                   << "</Layer></LayerStore></TGlobe>";
             return fifo(scenario / "Land.lyr");
         }, ""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.make()) << c.what;
        const std::optional<std::string> messages = corvalis::testing::FinishesWithin(std::chrono::seconds(10), [&] {
            Lines shown;
            JsonOf(scenario.string(), &shown);
            std::string text;
            for (const std::string& message : shown) text += message + "\n";
            return text;
        });
        ASSERT_TRUE(messages.has_value()) << c.what << ": the load did not end";
        EXPECT_NE(messages->find(c.message), std::string::npos) << c.what << ": " << *messages;
        fs::remove_all(scenario);
        fs::copy(kFixtures + "small_scenario", scenario);
    }
}

constexpr std::int32_t Lat(int degrees, int minutes) { return degrees * 5'400'000 + minutes * 90'000; }

Lines Block(const std::string& name, const std::string& mission, const std::vector<Lines>& cases,
            const Lines& missionLines = {}) {
    Lines lines = {"[MISSION]", "NAME=" + name, "NUMBER=1", "SPEED=20", "MISSION=" + mission};
    lines.insert(lines.end(), missionLines.begin(), missionLines.end());
    lines.push_back("CASECOUNT=" + std::to_string(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        lines.push_back("CASE" + std::to_string(i + 1));
        lines.insert(lines.end(), cases[i].begin(), cases[i].end());
    }
    lines.insert(lines.end(), {"ENDMISSION", ""});
    return lines;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Three allied bases: Alexandria, VALLETTA and Haifa (with its own starting point).
struct ForceLoader : Loader {
    ForceLoader() {
        AddFile("AlliedBases.cfg", {"Name=Alexandria", "LL=3112N 02953E", "Port=2", "Name=VALLETTA",
                                    "LL=3554N 01431E", "Port=1", "Name=Haifa", "LL=3249N 03500E",
                                    "EP=3245N 03455E", "Port=1"});
        loader.ReadBaseFile("/scen/AlliedBases.cfg", 1);
    }
    void ReadMissions(const Lines& lines, std::int32_t side = 1) {
        AddFile("Missions.cfg", lines);
        loader.ReadMissionFile("/scen/Missions.cfg", side);
    }
    TForce& Force(std::size_t n) { return *state.ForceList.at(n); }
    std::string MissionColumn(std::size_t row) {
        loader.RefreshForcesList();
        return state.ForcesList.Rows.at(row).Mission;
    }
};

class ForceLoadingTest : public ::testing::Test, public ForceLoader {};

TEST_F(ForceLoadingTest, CaseLinesFillTheMission) {
    ReadMissions(Block("Force K", "Bombard", {{"RD=5", "DELAY=3", "CWPI=1", "WP=3400N 01600E", "Origin=Alexandria",
                                               "Target=Haifa"}}));
    EXPECT_EQ(Reports(), Lines{});
    ASSERT_TRUE(Force(0).Mission);
    EXPECT_EQ(Force(0).Mission->OriginBase, "Alexandria");
    EXPECT_EQ(Force(0).Mission->TargetPoints.Point(0).LatY, Lat(32, 45));  // Haifa's "EP=" point
    EXPECT_EQ(MissionColumn(0), "Bombard Haifa");
}

TEST_F(ForceLoadingTest, ForcesListKeepsTheSelectedForce) {
    ReadMissions(Join({Block("A", "Patrol", {{}}), Block("B", "Patrol", {{}})}));
    loader.RefreshForcesList();
    state.ForcesList.Selected = 1;
    std::swap(state.ForceList[0], state.ForceList[1]);
    loader.RefreshForcesList();
    EXPECT_EQ(state.ForcesList.Selected, 0);  // the same force, now first
    EXPECT_EQ(state.ForcesList.Rows[0].Name, "B");
}

TEST_F(ForceLoadingTest, CoverOnlySettingsAndMessagesGoOn) {
    ReadMissions(Block("P", "Patrol", {{"WP=3400N 01600E"}}, {"COVEREDFORCE=Convoy A", "RELEASE=50"}));
    EXPECT_EQ(Reports(), (Lines{"Only cover missions can have a covered force!",
                                "Only cover missions can have a release distance!"}));
    EXPECT_EQ(MissionColumn(0), "Patrol");
}

TEST(FaultyMissionsTest, AreReportedAndTheRestRead) {
    struct TCase { const char* name; Lines lines, reports; void (*check)(ForceLoader&); };
    const TCase cases[] = {
        {"an unknown target base discards the mission",
         Block("Force X", "Convoy", {{"WP=3400N 01600E", "Target=Nowhere"}}),
         {"Error reading Mission!\rLine no: 8\rLine: Target=Nowhere\rForce: Force X\r\rCannot find base Nowhere!"},
         [](ForceLoader& l) { EXPECT_EQ(l.MissionColumn(0), ""); }},
        {"a bad waypoint raises the conversion error", Block("Force Y", "Patrol", {{"WP=34x0N 01600E"}}),
         {"Error reading Mission!\rLine no: 7\rLine: WP=34x0N 01600E\rForce: Force Y\r\rLat/Long conversion error"},
         [](ForceLoader& l) { EXPECT_FALSE(l.Force(0).Mission); }},
        {"a missing case reads the lines after the terminator",
         {"[MISSION]", "NAME=Z", "NUMBER=1", "SPEED=10", "MISSION=Patrol", "CASECOUNT=2", "CASE2", "WP=3000N 01000E",
          "ENDMISSION", "LL=3500N 01500E", "", ""},
         {"Error reading mission!\rCase 1 not found!"},
         [](ForceLoader& l) { EXPECT_EQ(l.Force(0).GetCentroid().LatY, Lat(35, 0)); }},
        {"a case running to the end of the file is read, then the end fails",
         {"[MISSION]", "NAME=E", "NUMBER=1", "SPEED=10", "MISSION=Patrol", "CASECOUNT=1", "CASE1", "LL=3500N 01500E",
          "LOCATION=Nowhere"},
         {"Cannot find location \"Nowhere\" for TF E",
          "Error reading Mission!\rLine no: 9\rLine: \rForce: E\r\rList index out of bounds (9)"},
         [](ForceLoader& l) { EXPECT_EQ(l.Force(0).GetCentroid().LatY, Lat(35, 0)); }},
        {"the lowest case count",
         {"[MISSION]", "NAME=-5", "NUMBER=1", "SPEED=10", "MISSION=Patrol", "CASECOUNT=-2147483648", "CASE1",
          "ENDMISSION", "", ""},
         {"Error reading mission!\rCase 1 not found!"},  // below one case no header matches
         nullptr},
        {"a missing mission line, a bad number and an illegal keyword",
         {"[MISSION]", "NAME=A", "NUMBER=1", "SPEED=10", "ORDERS=Patrol", "", "[MISSION]", "NAME=B", "NUMBER=1",
          "SPEED=fast", "", "[MISSION]", "NAME=C", "NUMBER=1", "SPEED=10", "MISSION=bombard", "CASECOUNT=1",
          "CASE1", "ENDMISSION", ""},
         {"Error reading data for TF A\rCannot find Mission data!", "Error reading TF!\rLine no: 9\rLine: SPEED=fast",
          "Illegal mission type: bombard!"},
         [](ForceLoader& l) { EXPECT_EQ(l.Force(1).Title() + std::to_string(l.Force(1).Speed), "B0"); }},
        {"a header on the last line keeps the provisional title", {"", "[MISSION]"},
         {"Error reading TF!\rLine no: 2\rLine: "},
         [](ForceLoader& l) { EXPECT_EQ(l.Force(0).Title(), "Allied2"); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        ForceLoader loaded;
        loaded.ReadMissions(c.lines);
        EXPECT_EQ(loaded.Reports(), c.reports);
        ASSERT_FALSE(loaded.state.ForceList.empty());
        if (c.check != nullptr) c.check(loaded);
    }
}

// Files cut short: every force block still makes its force, a mission whose lines run out is
// dropped with its message (the reader stops at the last line) and the blocks before stay whole.
TEST(CutOffSideFilesTest, LoadTheSameForcesAndReadNothingPastTheLastLine) {
    const Lines first = Block("A", "Patrol", {{"WP=3400N 01600E"}});
    const Lines twoCases = Block("B", "Patrol", {{"WP=3500N 01700E", "WP=3600N 01800E"}, {"WP=3700N 01900E"}});
    const Lines oneCase = Block("B", "Patrol", {{"WP=3500N 01700E", "WP=3600N 01800E"}});
    const auto cut = [&first](Lines block, std::size_t lines) {
        block.resize(block.size() - lines);
        return Join({first, block});
    };
    const auto lost = [](int line) {
        const std::string n = std::to_string(line);
        return Lines{"Error reading Mission!\rLine no: " + n + "\rLine: \rForce: B\r\rList index out of bounds (" + n + ")"};
    };
    const struct { const char* name; Lines lines, reports, forces; } cases[] = {
        {"the whole file", Join({first, twoCases}), {}, {"A 1", "B 2"}},
        {"the last block ending in a blank line instead of ENDMISSION",
         Join({first, Lines(twoCases.begin(), twoCases.end() - 2), {""}}), {}, {"A 1", "B 2"}},
        {"the last block without ENDMISSION", cut(twoCases, 2), lost(21), {"A 1", "B none"}},
        {"a case that runs to the last line", cut(oneCase, 2), lost(19), {"A 1", "B none"}},
        {"ENDMISSION on the last line", cut(oneCase, 1), lost(20), {"A 1", "B none"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ForceLoader loaded;
        loaded.ReadMissions(c.lines);
        EXPECT_EQ(loaded.Reports(), c.reports);
        Lines forces;
        for (const TForce* force : loaded.state.ForceList) {
            forces.push_back(force->Title() + " " +
                             (force->Mission ? std::to_string(force->Mission->OriginPoints.Count()) : "none"));
        }
        EXPECT_EQ(forces, c.forces);
    }
}

class ShipsFileTest : public ForceLoadingTest {
protected:
    void ReadShips(const Lines& ships) {
        const Lines header = {"[TF0]", "NAME=Force A", "NUMBER=0", "SPEED=18", "MISSION=Intercept", "CASECOUNT=1",
                              "CASE1", "LOCATION=Alexandria", "ENDMISSION", "", "[TF0 DIVISION0]",
                              "FORMATION=Line ahead", "ENCUMBERED=1", ""};
        AddFile("AlliedShips.cfg", Join({header, ships}));
        loader.ReadShipFile("/scen/AlliedShips.cfg", 1);
    }
    Lines ShipNames() {
        Lines names;
        for (const auto& ship : Force(0).Divisions.at(0)->Ships) names.push_back(ship->Name());
        return names;
    }
    TBase& Alexandria() { return *state.BaseList.at(0); }
};

// A ship without its place is dropped; entries must be separated by one line; a bad number keeps the ship.
TEST_F(ShipsFileTest, UnknownLocationsBadNumbersAndUnseparatedEntries) {
    ReadShips({"NAME=Warspite", "TYPE=Battleship", "CLASS=Queen Elizabeth", "ENDURANCE=45", "LOCATION=Alexandria",
               "NAME=B", "TYPE=T", "CLASS=C", "ENDURANCE=1", "LOCATION=", "", "NAME=Kelly", "TYPE=Destroyer",
               "CLASS=K", "ENDURANCE=30", "LOCATION=Nowhere", "", "NAME=C", "TYPE=T", "CLASS=C", "ENDURANCE=many",
               "LOCATION=", "", ""});
    EXPECT_EQ(Reports(), (Lines{"Cannot find location \"Nowhere\" for ship Kelly",
                                "Error reading ship!\rShip Name: C\rLine no: 34\rLine: ENDURANCE=many"}));
    EXPECT_EQ(ShipNames(), (Lines{"Warspite", "C"}));
    EXPECT_EQ(Alexandria().Ships.size(), 1u);
}

// The force's case draw comes first; the presence draws are then 3, 86, 20 and 27 of 100 (the seed
// steps from 0 by seed * 134775813 + 1 mod 2^32, a draw is the upper half of 100 * seed). A ship stays
// unless its value is below the draw, so a value equal to its draw stays. An "RND=" line that is
// the file's last line is not reached and draws nothing.
TEST_F(ShipsFileTest, PresenceDrawsKeepAShipWhoseValueEqualsItsDraw) {
    Lines ships;
    for (const auto& [name, chance] : {std::pair{"Equal3", "3"}, {"Below86", "85"}, {"Equal20", "20"},
                                       {"Below27", "26"}, {"LastLine", "0"}}) {
        ships.insert(ships.end(), {std::string("NAME=") + name, "TYPE=Destroyer", "CLASS=K", "ENDURANCE=30",
                                   "LOCATION=Alexandria", std::string("RND=") + chance, ""});
    }
    ships.pop_back();  // the last "RND=" line ends the file
    ReadShips(ships);
    EXPECT_EQ(Reports(), Lines{});
    EXPECT_EQ(ShipNames(), (Lines{"Equal3", "Equal20", "LastLine"}));
    EXPECT_EQ(Alexandria().Ships.size(), 3u);  // the dropped ships are not left in their base
    EXPECT_EQ(state.Random.Random(100), 67);   // four presence draws, not five
}

TEST_F(ShipsFileTest, StructureErrorsEndTheFile) {
    for (const Lines& lines : {Lines{"NAME=Lost", "TYPE=T", "CLASS=C", "ENDURANCE=1", "LOCATION=Alexandria", "",
                                     "[TF0]"},
                               Lines{"[TFx]", "NAME=Force", "NUMBER=0"}}) {
        dialogs.ClearCalls();
        AddFile("AlliedShips.cfg", lines);
        loader.ReadShipFile("/scen/AlliedShips.cfg", 1);
        EXPECT_EQ(Reports(), Lines{"Debug: Error in ReadShipList function.\r/scen/AlliedShips.cfg"});
        EXPECT_TRUE(state.ForceList.empty());
    }
    EXPECT_TRUE(Alexandria().Ships.empty());  // the dropped ship is not left in its base
}

TEST(MissionTypesTest, KeywordsNamesAndIllegalValues) {
    platform::testing::ScriptedDialogs dialogs;
    for (int i = 0; i < kMissionTypeCount; ++i)
        EXPECT_EQ(static_cast<int>(MissionTypeFromKeyword(MissionTypeKeyword(static_cast<TMissionType>(i)), dialogs)), i);
    EXPECT_EQ(MissionTypeFromKeyword("Bombard ", dialogs), TMissionType::mtNone);
    EXPECT_EQ(MissionTypeName(16, dialogs) + MissionTypeName(17, dialogs, "kept"), "Nonekept");
    EXPECT_EQ(dialogs.Reports(), (Lines{"Illegal mission type: Bombard !", "Illegal mission type!"}));
}

}  // namespace
}  // namespace scenario
