#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "platform/FileError.h"
#include "scenario/Base.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/SubZone.h"
#include "tests/scenario/LoaderFixture.h"

namespace scenario::testing {
namespace {

using Lines = std::vector<std::string>;

const Lines kMinimalInfo = {"StartDate=19410524", "StartHour=14"};

class DirectoryLoadingTest : public LoaderFixture {};

TEST_F(DirectoryLoadingTest, DirectoryWithBothInformationFilesIsAScenario) {
    AddFile("ScenarioInfo.cfg", {"EnvironmentFile=scen.env"});
    AddFile("campaigninfo.cfg", {"EnvironmentFile=camp.env"});
    EXPECT_EQ(loader.LoadDirectory("/scen"), TScenarioKind::skScenario);
    EXPECT_FALSE(state.IsCampaign);
    EXPECT_EQ(state.Caption, "VRK scenario editor - scen");
    EXPECT_EQ(state.ScenarioDir, "/scen/");
    const Lines reports = Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports[0], "Cannot find environment file: /scen/scen.env!");
}

// An environment file with faults loads what can be read; its repairs come in one message.
TEST_F(DirectoryLoadingTest, FaultyEnvironmentFileLoadsWithOneMessageOfRepairs) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("corvalis_env_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string env = "<TGlobe MinTextHeight=\"9\" Odd>\r\n</TGlobe>\r\n</TGlobe>\r\n";
    std::ofstream(dir / "faulty.env", std::ios::binary) << env;
    const std::string scenario = dir.string() + "/";
    files.AddDirectory(dir.string());
    files.AddFile(scenario + "ScenarioInfo.cfg", "EnvironmentFile=faulty.env\r\n");
    files.AddFile(scenario + "faulty.env", env);
    loader.ReadEnvironmentSetting(scenario);
    fs::remove_all(dir);
    EXPECT_EQ(globe.MinTextHeight(), 9);
    const std::string file = "Environment file " + scenario + "faulty.env, ";
    EXPECT_EQ(Reports(), Lines{file + "line 1: \"Odd\" in <TGlobe> is not an attribute (name=\"value\") and is ignored\r" +
                               file + "line 3: closing tag </TGlobe> without an open element: the rest is ignored"});
    EXPECT_FALSE(globe.OnEnvironmentWarning);
}

TEST_F(DirectoryLoadingTest, CampaignFileInAnyLetterCase) {
    AddFile("CAMPAIGNINFO.CFG", kMinimalInfo);
    EXPECT_EQ(loader.LoadDirectory("/scen"), TScenarioKind::skCampaign);
    EXPECT_TRUE(state.IsCampaign);
    // A campaign starts at 06:00 of its start day whatever the hour said.
    EXPECT_EQ(state.TimeLabel, "24/05/1941 06:00");
}

TEST_F(DirectoryLoadingTest, DirectoryWithoutInformationFileIsRefused) {
    EXPECT_EQ(loader.LoadDirectory("/scen"), TScenarioKind::skNone);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].kind, platform::testing::DialogKind::Error);
    EXPECT_EQ(dialogs.Calls()[0].text, "This directory does not appear to contain a Varnel scenario or campaign!");
    EXPECT_EQ(state.Caption, "Corvalis scenario editor");
}

TEST_F(DirectoryLoadingTest, MissingDataFolderEndsAScenarioLoad) {
    platform::testing::MemoryFileSystem bare;
    bare.AddFile("/scen/ScenarioInfo.cfg", "StartDate=19410524\r\n");
    TScenarioLoader bareLoader{state, globe, dialogs, bare, platform::RegionalSettings{}, "/prog"};
    EXPECT_THROW(bareLoader.LoadDirectory("/scen"), platform::EFileError);
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(state.Caption, "Corvalis scenario editor");
}

TEST_F(DirectoryLoadingTest, ScenarioTimeLabelAndMissingFilesInOrder) {
    AddFile("ScenarioInfo.cfg", kMinimalInfo);
    loader.LoadDirectory("/scen");
    EXPECT_EQ(state.TimeLabel, "24/05/1941 14:00:00 14:00");
    const Lines expected = {
        "Cannot find basefile: /scen/AxisBases.cfg!",
        "Error reading axis bases!",
        "Cannot find basefile: /scen/AlliedBases.cfg!",
        "Error reading allied bases!",
        "Error loading submarine info!\rFile: Subs1.cfg does not exist!",
        "Error loading submarine info!\rFile: Subs0.cfg does not exist!",
        "Error loading ship info!\rFile: /scen/AlliedShips.cfg does not exist!",
        "Error loading ship info!\rFile: /scen/AxisShips.cfg does not exist!",
    };
    EXPECT_EQ(Reports(), expected);
}

TEST_F(DirectoryLoadingTest, EmptyInformationFileReportsLineZeroTwice) {
    AddFile("ScenarioInfo.cfg", {});
    files.SetCurrentDirectory("/scen");
    const double before = state.StartTime = 123.0;
    loader.ReadEnvironmentSetting(kScenarioDir);
    loader.ReadStartInfo("ScenarioInfo.cfg");
    const Lines expected = {
        "Error reading scenario data!\rFile: /scen/ScenarioInfo.cfg\rLine no: 0\rLine: ",
        "Error reading scenario data!\rFile: ScenarioInfo.cfg\rLine no: 0\rLine: ",
    };
    EXPECT_EQ(Reports(), expected);
    EXPECT_EQ(state.StartTime, before);
}

TEST_F(DirectoryLoadingTest, FleetStartLines) {
    AddFile("ScenarioInfo.cfg", {"LL=garbage", "FSL0=Alexandria", "LL=31xxN 02953E", "FSLx=Piraeus",
                                 "StartDate=19410524"});
    files.SetCurrentDirectory("/scen");
    loader.ReadStartInfo("ScenarioInfo.cfg");
    const Lines expected = {
        "Format error in LL string!\rString: LL=31xxN 02953E\rLine number: 2",
        "Error reading scenario data!\rFile: ScenarioInfo.cfg\rLine no: 3\rLine: FSLx=Piraeus",
    };
    EXPECT_EQ(Reports(), expected);
    EXPECT_EQ(state.StartTime, 0.0);  // the file ended before the start date
}

TEST_F(DirectoryLoadingTest, MissingStartFilesHaveTheirOwnMessages) {
    files.SetCurrentDirectory("/scen");
    loader.ReadStartInfo("ScenarioInfo.cfg");
    loader.ReadStartInfo("CampaignInfo.cfg");
    const Lines expected = {"Error loading scenarioinfo!\rFile: ScenarioInfo.cfg does not exist!",
                            "Error loading Campaigninfo!\rFile: CampaignInfo.cfg does not exist!"};
    EXPECT_EQ(Reports(), expected);
}

class BaseFileTest : public LoaderFixture {
protected:
    TBase& Base(std::size_t n) { return *state.BaseList.at(n); }
};

TEST_F(BaseFileTest, FieldsPositionsAndTolerantKeys) {
    AddFile("AxisBases.cfg", {"Name=Piraeus", "LL=3756N 02338E", "EP=3750N 02330E", "Port=2", "Mines=10",
                              "ReconRange=150", "ReconDir=abc", "ReconWidth=60", "StrikeRange=200",
                              "ReconType=Cant Z.506", "StrikePlanes=12", "HitChance=7", "Comment line", "",
                              "Name=Eleusis", "EP=3750N 02330E", "LL=3804N 02333E", "Port=0"});
    ASSERT_TRUE(loader.ReadBaseFile("/scen/AxisBases.cfg", 0));
    EXPECT_TRUE(Reports().empty());
    ASSERT_EQ(state.BaseList.size(), 2u);
    TBase& piraeus = Base(0);
    EXPECT_EQ(piraeus.Title(), "Piraeus");
    EXPECT_EQ(piraeus.Side, 0);
    EXPECT_EQ(piraeus.Mines, 900'000);
    EXPECT_EQ(piraeus.ReconRange, 150 * 90'000);
    EXPECT_EQ(piraeus.StrikeRange, 200 * 90'000);
    EXPECT_EQ(piraeus.ReconDir, 0);
    EXPECT_EQ(piraeus.ReconWidth, 60);
    EXPECT_EQ(piraeus.ReconType, "Cant Z.506");
    EXPECT_EQ(piraeus.StrikePlanes, 12);
    EXPECT_EQ(piraeus.StrikePlanesAvailable, 12);
    EXPECT_EQ(piraeus.HitChance, 7);
    // "EP=" after "LL=" moves only the starting point; the drawn position stays.
    const std::int32_t lat3756 = 37 * 5'400'000 + 56 * 90'000, lat3750 = 37 * 5'400'000 + 50 * 90'000;
    EXPECT_EQ(piraeus.GetCentroid().LatY, lat3756);
    EXPECT_EQ(piraeus.Location.LatY, lat3750);
    EXPECT_EQ(piraeus.ReconOutline[0].LatY, lat3756);
    // "LL=" after "EP=" sets both.
    TBase& eleusis = Base(1);
    EXPECT_EQ(eleusis.Location.LatY, 38 * 5'400'000 + 4 * 90'000);
    EXPECT_EQ(eleusis.GetCentroid().LatY, eleusis.Location.LatY);
    EXPECT_EQ(LayerByNameOrNew(globe, kBasesLayer).ObjectSource()->Count(), 2);
}

TEST_F(BaseFileTest, BadNumbersAndKeysBeforeTheFirstBase) {
    AddFile("AxisBases.cfg", {"Name=Taranto", "Delay=abc", "Name=Never read"});
    AddFile("AlliedBases.cfg", {"LL=3112N 02953E", "Name=Never read"});
    loader.ReadAllBases(kScenarioDir);
    const Lines expected = {
        "Error reading base file!\rFile: /scen/AxisBases.cfg\rLine no: 1\rLine: Delay=abc",
        "Error reading axis bases!",
        "Error reading base file!\rFile: /scen/AlliedBases.cfg\rLine no: 0\rLine: LL=3112N 02953E",
        "Error reading allied bases!",
    };
    EXPECT_EQ(Reports(), expected);
    ASSERT_EQ(state.BaseList.size(), 1u);  // bases made before the error stay
}

TEST_F(BaseFileTest, MalformedPositionOnlyFailsTheSideAfterTheWholeFile) {
    AddFile("AlliedBases.cfg", {"Name=Malta", "LL=35xxN 01430E", "Name=Alexandria", "LL=3112N 02953E"});
    EXPECT_FALSE(loader.ReadBaseFile("/scen/AlliedBases.cfg", 1));
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(state.BaseList.size(), 2u);
}

TEST_F(BaseFileTest, HugeRadiusWrapsLikeThirtyTwoBitArithmetic) {
    AddFile("AxisBases.cfg", {"Name=Far", "Mines=50000", "StrikeRange=-50000"});
    ASSERT_TRUE(loader.ReadBaseFile("/scen/AxisBases.cfg", 0));
    // 50,000 x 90,000 = 4,500,000,000, which is 205,032,704 after wrapping to 32 bits.
    EXPECT_EQ(Base(0).Mines, 205'032'704);
    EXPECT_EQ(Base(0).StrikeRange, -205'032'704);
}

class SubZoneTest : public LoaderFixture {};

TEST_F(SubZoneTest, ZonesNamesPointsAndLayerOrder) {
    AddFile("Subs1.cfg", {"LL=3600N 02200E", "Strength=1", "LL=3600N 02200E", "LL=36x0N 02300E",
                          "Name=Kythera", "Strength=2", "LL=3620N 02240E", "LL=3620N 02330E", "Strength=4"});
    AddFile("Subs0.cfg", {"Name=Malta", "Strength=3", "LL=3550N 01430E"});
    files.SetCurrentDirectory("/scen");
    loader.ReadSubZones("Subs1.cfg", kAlliedSubsLayer, 0xFF0000);
    loader.ReadSubZones("Subs0.cfg", kAxisSubsLayer, 0x0000FF);
    EXPECT_EQ(Reports(), Lines{"Format error in LL string!\rString: LL=36x0N 02300E\rLine number: 3"});

    globe::TGlobeObjectSource& zones1 = *LayerByNameOrNew(globe, kAlliedSubsLayer).ObjectSource();
    ASSERT_EQ(zones1.Count(), 3);
    const auto zone = [&](int i) { return dynamic_cast<TSubZone*>(zones1.Objects(i)); };
    EXPECT_EQ(zone(0)->Title(), "");
    EXPECT_EQ(zone(0)->Chains().Chain(0).Count(), 1);
    EXPECT_EQ(zone(1)->Title(), "Kythera");
    EXPECT_EQ(zone(1)->Strength, 2);
    EXPECT_EQ(zone(1)->Chains().Chain(0).Count(), 2);
    EXPECT_EQ(zone(2)->Title(), "Kythera");  // no "Name=" of its own
    EXPECT_EQ(zone(0)->PresenterID(), zone(2)->PresenterID());
    // Each file moves its layer to the bottom: the side 0 zones end below the side 1 zones.
    EXPECT_EQ(globe.LayerStore().IndexOfName(kAxisSubsLayer), 0);
    EXPECT_EQ(globe.LayerStore().IndexOfName(kAlliedSubsLayer), 1);
}

TEST_F(SubZoneTest, BadStrengthEndsTheFile) {
    AddFile("Subs0.cfg", {"Name=A", "Strength=x", "Name=B", "Strength=1"});
    files.SetCurrentDirectory("/scen");
    loader.ReadSubZones("Subs0.cfg", kAxisSubsLayer, 0x0000FF);
    EXPECT_EQ(Reports(), Lines{"Error reading submarine data!\rFile: Subs0.cfg\rLine no: 1\rLine: Strength=x"});
    EXPECT_EQ(LayerByNameOrNew(globe, kAxisSubsLayer).ObjectSource()->Count(), 1);
}

}  // namespace
}  // namespace scenario::testing
