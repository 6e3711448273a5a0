#include <gtest/gtest.h>

#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObjectSource.h"
#include "scenario/Base.h"
#include "scenario/Force.h"
#include "scenario/Overlay.h"
#include "scenario/ScenarioLayers.h"
#include "tests/scenario/LoaderFixture.h"

namespace scenario::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr std::int32_t Lat(int degrees, int minutes) { return degrees * 5'400'000 + minutes * 90'000; }

// A missions-file block with one case per entry of `cases` (each a list of case lines).
Lines Block(const std::string& name, const std::string& mission, const std::vector<Lines>& cases,
            const Lines& missionLines = {}) {
    Lines lines = {"[MISSION]", "NAME=" + name, "NUMBER=1", "SPEED=20", "MISSION=" + mission};
    lines.insert(lines.end(), missionLines.begin(), missionLines.end());
    lines.push_back("CASECOUNT=" + std::to_string(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        lines.push_back("CASE" + std::to_string(i + 1));
        lines.insert(lines.end(), cases[i].begin(), cases[i].end());
    }
    lines.push_back("ENDMISSION");
    lines.push_back("");
    return lines;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class ForceLoadingTest : public LoaderFixture {
protected:
    ForceLoadingTest() {
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
};

TEST_F(ForceLoadingTest, CaseChoiceFollowsTheGenerator) {
    const Lines a = {"LL=3000N 01000E"}, b = {"LL=3100N 01000E"}, c = {"LL=3200N 01000E"};
    // Draws in order: bound 0, bound 1, bound 2 (gives 1), bound 2 (gives 0).
    ReadMissions(Join({Block("One", "Patrol", {a}), Block("Two", "Patrol", {a, b}),
                       Block("ThreeA", "Patrol", {a, b, c}), Block("ThreeB", "Patrol", {a, b, c})}));
    EXPECT_TRUE(Reports().empty());
    ASSERT_EQ(state.ForceList.size(), 4u);
    EXPECT_EQ(Force(0).GetCentroid().LatY, Lat(30, 0));
    EXPECT_EQ(Force(1).GetCentroid().LatY, Lat(30, 0));
    EXPECT_EQ(Force(2).GetCentroid().LatY, Lat(31, 0));
    EXPECT_EQ(Force(3).GetCentroid().LatY, Lat(30, 0));
    EXPECT_EQ(Force(2).Title(), "ThreeA");
    EXPECT_EQ(Force(2).TrackOverlay->Chains().Chain(0).Count(), 1);
    EXPECT_EQ(Force(2).Side, 1);
    ASSERT_TRUE(Force(2).Mission);
    EXPECT_EQ(Force(2).CWPI, 0);
}

TEST_F(ForceLoadingTest, CaseLinesFillTheMission) {
    ReadMissions(Block("Force K", "Bombard",
                       {{"FORMATIONHEADING=90", "CWPI=2", "RD=5", "DELAY=3", "WP=3400N 01600E", "WP=3430N 01700E",
                         "TP=3300N 01200E", "Target=Haifa", "Origin=Alexandria"}}));
    EXPECT_TRUE(Reports().empty());
    TForce& force = Force(0);
    EXPECT_EQ(force.Heading, 1'458'000'000);
    EXPECT_EQ(force.CWPI, 2);
    ASSERT_TRUE(force.Mission);
    const TMission& mission = *force.Mission;
    EXPECT_EQ(mission.MissionType, TMissionType::mtBombard);
    ASSERT_EQ(mission.OriginPoints.Count(), 3);
    EXPECT_EQ(mission.OriginPoints.Point(1).LatY, Lat(34, 30));
    EXPECT_EQ(mission.OriginPoints.Point(2).LatY, Lat(31, 12));
    ASSERT_EQ(mission.TargetPoints.Count(), 2);
    EXPECT_EQ(mission.TargetPoints.Point(1).LatY, Lat(32, 45));  // the base's "EP=" point
    EXPECT_EQ(mission.TargetBase, "Haifa");
    EXPECT_EQ(mission.OriginBase, "Alexandria");
    loader.RefreshForcesList();
    ASSERT_EQ(state.ForcesList.Rows.size(), 1u);
    EXPECT_EQ(state.ForcesList.Rows[0].Name, "Force K");
    EXPECT_EQ(state.ForcesList.Rows[0].Speed, "20");
    EXPECT_EQ(state.ForcesList.Rows[0].Mission, "Bombard Haifa");
}

TEST_F(ForceLoadingTest, ForcesListKeepsTheSelectedForce) {
    ReadMissions(Join({Block("A", "Patrol", {{}}), Block("B", "Patrol", {{}})}));
    loader.RefreshForcesList();
    ASSERT_EQ(state.ForcesList.Rows.size(), 2u);
    EXPECT_EQ(state.ForcesList.Selected, -1);
    state.ForcesList.Selected = 1;
    loader.RefreshForcesList();
    EXPECT_EQ(state.ForcesList.Selected, 1);
    std::swap(state.ForceList[0], state.ForceList[1]);
    loader.RefreshForcesList();
    EXPECT_EQ(state.ForcesList.Selected, 0);  // the same force, now first
    EXPECT_EQ(state.ForcesList.Rows[0].Name, "B");
}

TEST_F(ForceLoadingTest, LocationPlacesTheForceAtTheBaseStartingPoint) {
    ReadMissions(Block("Force H", "Patrol", {{"LOCATION=Haifa", "LOCATION=", "LL="}}));
    EXPECT_TRUE(Reports().empty());
    TForce& force = Force(0);
    EXPECT_EQ(force.GetCentroid().LatY, Lat(32, 45));  // the base's "EP=" point
    EXPECT_EQ(force.CurrentSpeed, 15);
    EXPECT_EQ(force.Speed, 20);
    EXPECT_EQ(force.TrackOverlay->Chains().Chain(0).Count(), 0);  // the lines are not extended
}

TEST_F(ForceLoadingTest, TargetBaseWithDoubleLIsTakenForAPositionLine) {
    ReadMissions(Block("Force B", "Bombard", {{"Target=VALLETTA"}}));
    EXPECT_EQ(Reports(), Lines{"Error reading data line!\rSearched label: LL\rActual label: Target"});
    ASSERT_TRUE(Force(0).Mission);
    EXPECT_EQ(Force(0).Mission->TargetBase, "");
    EXPECT_EQ(Force(0).Mission->TargetPoints.Count(), 0);
}

TEST_F(ForceLoadingTest, CoverOnlySettingsAndMessagesGoOn) {
    ReadMissions(Join({Block("P", "Patrol", {{"WP=3400N 01600E"}}, {"COVEREDFORCE=Convoy A", "RELEASE=50"}),
                       Block("C", "Cover", {{}}, {"COVEREDFORCE=Convoy A", "RELEASE=50"})}));
    const Lines expected = {"Only cover missions can have a covered force!",
                            "Only cover missions can have a release distance!"};
    EXPECT_EQ(Reports(), expected);
    ASSERT_TRUE(Force(0).Mission);
    EXPECT_EQ(Force(0).Mission->OriginPoints.Count(), 1);
    ASSERT_TRUE(Force(1).Mission);
    EXPECT_EQ(Force(1).Mission->CoveredForce, "Convoy A");
    EXPECT_EQ(Force(1).Mission->ReleaseDistance, 50);
    loader.RefreshForcesList();
    EXPECT_EQ(state.ForcesList.Rows[1].Mission, "Cover Convoy A");
    EXPECT_EQ(state.ForcesList.Rows[0].Mission, "Patrol");
}

TEST_F(ForceLoadingTest, UnknownTargetBaseDiscardsTheMission) {
    Lines lines = Block("Force X", "Convoy", {{"WP=3400N 01600E", "Target=Nowhere"}});
    ReadMissions(lines);
    const Lines expected = {"Error reading Mission!\rLine no: 8\rLine: Target=Nowhere\rForce: Force X\r\r"
                            "Cannot find base Nowhere!"};
    EXPECT_EQ(Reports(), expected);
    ASSERT_EQ(state.ForceList.size(), 1u);
    EXPECT_FALSE(Force(0).Mission);
    loader.RefreshForcesList();
    EXPECT_EQ(state.ForcesList.Rows[0].Mission, "");
}

TEST_F(ForceLoadingTest, BadWaypointRaisesTheConversionError) {
    ReadMissions(Block("Force Y", "Patrol", {{"WP=34x0N 01600E"}}));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_TRUE(Reports()[0].ends_with("\r\rLat/Long conversion error")) << Reports()[0];
    EXPECT_FALSE(Force(0).Mission);
}

TEST_F(ForceLoadingTest, FirstDateLineShiftsTheSpeedLine) {
    ReadMissions({"[MISSION 7]", "NAME=", "NUMBER=1", "FIRSTDATE=19410524", "FIRSTHOUR=6", "SPEED=12",
                  "MISSION=Patrol", "CASECOUNT=1", "CASE1", "ENDMISSION", ""});
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Force(0).Title(), "[MISSION 7]");
    EXPECT_EQ(Force(0).Speed, 12);
}

TEST_F(ForceLoadingTest, MissingCaseReadsTheLinesAfterTheTerminator) {
    ReadMissions({"[MISSION]", "NAME=Z", "NUMBER=1", "SPEED=10", "MISSION=Patrol", "CASECOUNT=2", "CASE2",
                  "WP=3000N 01000E", "ENDMISSION", "LL=3500N 01500E", "", ""});
    EXPECT_EQ(Reports(), Lines{"Error reading mission!\rCase 1 not found!"});
    EXPECT_EQ(Force(0).GetCentroid().LatY, Lat(35, 0));
    ASSERT_TRUE(Force(0).Mission);
    EXPECT_EQ(Force(0).Mission->OriginPoints.Count(), 0);
}

TEST_F(ForceLoadingTest, CaseCountBelowOneFindsNoCase) {
    ReadMissions({"[MISSION]", "NAME=Z", "NUMBER=1", "SPEED=10", "MISSION=Patrol", "CASECOUNT=0", "CASE1",
                  "LL=3000N 01000E", "ENDMISSION", "", "", "", "[MISSION]", "NAME=-5", "NUMBER=1", "SPEED=10",
                  "MISSION=Patrol", "CASECOUNT=-2147483648", "CASE1", "ENDMISSION", "", ""});
    ASSERT_EQ(Reports().size(), 2u);
    // The first draw of the generator with the bound -1 is -1: case 0.
    EXPECT_EQ(Reports()[0], "Error reading mission!\rCase 0 not found!");
    EXPECT_TRUE(Reports()[1].starts_with("Error reading mission!\rCase ")) << Reports()[1];
    ASSERT_EQ(state.ForceList.size(), 2u);
    EXPECT_EQ(Force(0).TrackOverlay->Chains().Chain(0).Count(), 0);
}

TEST_F(ForceLoadingTest, FileEndingWithEndMissionLosesTheMission) {
    Lines lines = Block("Last", "Patrol", {{"WP=3400N 01600E"}});
    lines.pop_back();  // no blank line after "ENDMISSION"
    ReadMissions(lines);
    // The reader looks past the last line; the message shows that line as empty.
    const Lines expected = {"Error reading Mission!\rLine no: 9\rLine: \rForce: Last\r\rList index out of bounds (9)"};
    EXPECT_EQ(Reports(), expected);
    EXPECT_FALSE(Force(0).Mission);
}

TEST_F(ForceLoadingTest, MissingMissionLineAndIllegalKeyword) {
    ReadMissions({"[MISSION]", "NAME=A", "NUMBER=1", "SPEED=10", "ORDERS=Patrol", "", "[MISSION]", "NAME=B",
                  "NUMBER=1", "SPEED=fast", "", "[MISSION]", "NAME=C", "NUMBER=1", "SPEED=10", "MISSION=bombard",
                  "CASECOUNT=1", "CASE1", "ENDMISSION", ""});
    const Lines expected = {"Error reading data for TF A\rCannot find Mission data!",
                            "Error reading TF!\rLine no: 9\rLine: SPEED=fast", "Illegal mission type: bombard!"};
    EXPECT_EQ(Reports(), expected);
    ASSERT_EQ(state.ForceList.size(), 3u);
    EXPECT_EQ(Force(1).Title(), "B");
    EXPECT_EQ(Force(1).Speed, 0);
}

TEST_F(ForceLoadingTest, HeaderOnTheLastLineKeepsTheProvisionalTitle) {
    ReadMissions({"", "[MISSION]"});
    EXPECT_EQ(Reports(), Lines{"Error reading TF!\rLine no: 2\rLine: "});
    ASSERT_EQ(state.ForceList.size(), 1u);
    EXPECT_EQ(Force(0).Title(), "Allied2");
}

TEST_F(ForceLoadingTest, ForcePresentersAreSharedAndLinesColoured) {
    ReadMissions(Join({Block("A", "Patrol", {{}}), Block("B", "Patrol", {{}})}), 0);
    EXPECT_EQ(Force(0).PresenterID(), Force(1).PresenterID());
    EXPECT_EQ(Force(0).TrackOverlay->PresenterID(), Force(1).TrackOverlay->PresenterID());
    EXPECT_NE(Force(0).TrackOverlay->PresenterID(), Force(0).RouteOverlay->PresenterID());
    EXPECT_EQ(Force(0).SpareOverlay->PresenterID(), 0);
    EXPECT_EQ(LayerByNameOrNew(globe, kTrackingLayer).ObjectSource()->Count(), 8);
}

class ShipsFileTest : public ForceLoadingTest {
protected:
    void ReadShips(const Lines& lines) {
        AddFile("AlliedShips.cfg", lines);
        loader.ReadShipFile("/scen/AlliedShips.cfg", 1);
    }
    const Lines header = {"[TF0]", "NAME=Force A", "NUMBER=0", "SPEED=18", "MISSION=Intercept", "CASECOUNT=1",
                          "CASE1", "LOCATION=Alexandria", "ENDMISSION", "", "[TF0 DIVISION0]",
                          "FORMATION=Line ahead", "ENCUMBERED=1", ""};
    TBase& Alexandria() { return *state.BaseList.at(0); }
};

TEST_F(ShipsFileTest, ForcesDivisionsShipsAndPresence) {
    ReadShips(Join({header,
                    {"NAME=Warspite", "TYPE=Battleship", "CLASS=Queen Elizabeth", "ENDURANCE=45",
                     "CURRENTENDURANCE=40", "RECONRANGE=30", "LOCATION=Alexandria", "",
                     "NAME=Valiant", "TYPE=Battleship", "CLASS=Queen Elizabeth", "ENDURANCE=45", "LOCATION=",
                     "RND=99", "",
                     "NAME=Barham", "TYPE=Battleship", "CLASS=Queen Elizabeth", "ENDURANCE=44",
                     "LOCATION=Alexandria", "RND=-1", "",
                     "NAME=Kelly", "TYPE=Destroyer", "CLASS=K", "ENDURANCE=30", "LOCATION=Nowhere", "", "", ""}}));
    EXPECT_EQ(Reports(), Lines{"Cannot find location \"Nowhere\" for ship Kelly"});
    ASSERT_EQ(state.ForceList.size(), 1u);
    TForce& force = Force(0);
    EXPECT_EQ(force.Title(), "Force A");
    EXPECT_EQ(force.CurrentSpeed, 15);
    ASSERT_EQ(force.Divisions.size(), 1u);
    const TDivision& division = *force.Divisions[0];
    EXPECT_EQ(division.Formation, "Line ahead");
    EXPECT_EQ(division.Encumbered, "1");
    ASSERT_EQ(division.Ships.size(), 2u);
    const TShip& warspite = *division.Ships[0];
    EXPECT_EQ(warspite.Name(), "Warspite");
    EXPECT_EQ(warspite.Type(), "Battleship");
    EXPECT_EQ(warspite.Endurance, 40);
    EXPECT_EQ(warspite.MaxEndurance, 45);
    EXPECT_EQ(warspite.ReconRange, 30);
    EXPECT_EQ(division.Ships[1]->Name(), "Valiant");  // RND=99 always stays
    // Barham (RND=-1) was freed and is no longer in its base's list.
    ASSERT_EQ(Alexandria().Ships.size(), 1u);
    EXPECT_EQ(Alexandria().Ships[0], &warspite);
}

TEST_F(ShipsFileTest, EntriesMustBeSeparatedByOneLine) {
    ReadShips(Join({header, {"NAME=A", "TYPE=T", "CLASS=C", "ENDURANCE=1", "LOCATION=", "NAME=B", "TYPE=T",
                             "CLASS=C", "ENDURANCE=1", "LOCATION=", "", "NAME=C", "TYPE=T", "CLASS=C",
                             "ENDURANCE=1", "LOCATION=", "", ""}}));
    EXPECT_TRUE(Reports().empty());
    const auto& ships = Force(0).Divisions.at(0)->Ships;
    ASSERT_EQ(ships.size(), 2u);
    EXPECT_EQ(ships[0]->Name(), "A");
    EXPECT_EQ(ships[1]->Name(), "C");
}

TEST_F(ShipsFileTest, BadShipNumberKeepsThePartlyReadShip) {
    ReadShips(Join({header, {"NAME=A", "TYPE=T", "CLASS=C", "ENDURANCE=many", "LOCATION=", "", "NAME=B", "TYPE=T",
                             "CLASS=C", "ENDURANCE=1", "LOCATION=", "", ""}}));
    EXPECT_EQ(Reports(), Lines{"Error reading ship!\rShip Name: A\rLine no: 17\rLine: ENDURANCE=many"});
    const auto& ships = Force(0).Divisions.at(0)->Ships;
    ASSERT_EQ(ships.size(), 2u);
    EXPECT_EQ(ships[0]->Type(), "T");
}

TEST_F(ShipsFileTest, StructureErrorsEndTheFile) {
    ReadShips({"NAME=Lost", "TYPE=T", "CLASS=C", "ENDURANCE=1", "LOCATION=Alexandria", "", "[TF0]"});
    EXPECT_EQ(Reports(), Lines{"Debug: Error in ReadShipList function.\r/scen/AlliedShips.cfg"});
    EXPECT_TRUE(Alexandria().Ships.empty());  // the dropped ship is not left in its base
    EXPECT_TRUE(state.ForceList.empty());

    dialogs.ClearCalls();
    ReadShips({"[TFx]", "NAME=Force", "NUMBER=0"});
    EXPECT_EQ(Reports(), Lines{"Debug: Error in ReadShipList function.\r/scen/AlliedShips.cfg"});
    EXPECT_TRUE(state.ForceList.empty());
}


}  // namespace
}  // namespace scenario::testing
