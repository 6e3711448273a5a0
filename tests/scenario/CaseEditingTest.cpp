// Locating, reading and changing a force's cases in its side's file lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "platform/ConvertError.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/AddCase.h"
#include "scenario/Base.h"
#include "scenario/CaseParser.h"
#include "scenario/ForceHeader.h"
#include "scenario/MissionCases.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/SideFile.h"

namespace scenario {
namespace {

using platform::TextLines;
using platform::testing::ScriptedDialogs;

constexpr std::int32_t kDegree = 5'400'000;
constexpr std::int32_t kMinute = 90'000;

globe::TGeoPoint Point(std::int32_t latDeg, std::int32_t latMin, std::int32_t longDeg, std::int32_t longMin) {
    globe::TGeoPoint point;
    point.LatY = latDeg * kDegree + (latDeg < 0 ? -latMin : latMin) * kMinute;
    point.LongX = longDeg * kDegree + (longDeg < 0 ? -longMin : longMin) * kMinute;
    return point;
}

std::vector<globe::TGeoPoint> Points(const globe::TPointStore& store) {
    std::vector<globe::TGeoPoint> points;
    for (std::int32_t i = 0; i < store.Count(); ++i) points.push_back(store.Point(i));
    return points;
}

// Two forces whose names differ only in letter case; the first has two cases.
const TextLines kSide = {
    "[TF0]",                // 0
    "NAME=Force X",         // 1
    "NUMBER=0",             // 2
    "SPEED=18",             // 3
    "MISSION=Intercept",    // 4
    "CASECOUNT=2",          // 5
    "CASE1",                // 6
    "LOCATION=Alexandria",  // 7
    "WP=3300N 02700E",      // 8
    "WP=3400N 02500E",      // 9
    "CASE2",                // 10
    "LL=3420N 02500E",      // 11
    "CWPI=1",               // 12
    "DELAY=6",              // 13
    "WP=3440N 02400E",      // 14
    "TP=3530S 02220W",      // 15
    "ENDMISSION",           // 16
    "",                     // 17
    "[TF1]",                // 18
    "NAME=FORCE X",         // 19
    "NUMBER=1",             // 20
    "SPEED=20",             // 21
    "MISSION=Patrol",       // 22
    "CASECOUNT=3",          // 23
    "CASE3",                // 24
    "WP=3000N 01000E",      // 25
    "ENDMISSION",           // 26
};

TEST(MissionCasesTest, ForceNameLineIsTheFirstEqualIgnoringLetterCase) {
    EXPECT_EQ(FindForceNameLine(kSide, "Force X"), 1u);
    EXPECT_EQ(FindForceNameLine(kSide, "FORCE X"), 1u);
    EXPECT_EQ(FindForceNameLine(kSide, "force x"), 1u);
    EXPECT_FALSE(FindForceNameLine(kSide, "Force"));  // equality, not a part of the line
    EXPECT_FALSE(FindForceNameLine({"NAME=Force X "}, "Force X"));
}

TEST(MissionCasesTest, CasesAreLocatedAfterTheCaseCountAndEndAtTheNextCase) {
    EXPECT_EQ(LocateCase(kSide, 1, 1), (TLineRange{7, 10}));
    EXPECT_EQ(LocateCase(kSide, 1, 2), (TLineRange{11, 16}));
    // Case 3 exists only in the next force's mission: the search stops at this one's end.
    EXPECT_FALSE(LocateCase(kSide, 1, 3));
    EXPECT_EQ(LocateCase(kSide, 19, 3), (TLineRange{25, 26}));
    // A blank line ends the search as "ENDMISSION" does; so does the end of the lines.
    EXPECT_FALSE(LocateCase({"NAME=A", "CASECOUNT=1", " \t", "CASE1", "WP=1N 1E"}, 0, 1));
    EXPECT_FALSE(LocateCase({"NAME=A", "CASE1", "WP=1N 1E"}, 0, 1));  // no case count
    // The header must equal "CASE" + n; the case runs to the end of the lines without an end line.
    EXPECT_FALSE(LocateCase({"NAME=A", "CASECOUNT=1", "CASE1 ", "X"}, 0, 1));
    EXPECT_EQ(LocateCase({"NAME=A", "CASECOUNT=1", "CASE1", "X", "Y"}, 0, 1), (TLineRange{3, 5}));
}

TEST(MissionCasesTest, CaseBlockOfTheCaseList) {
    TCaseBlock block = FindCaseBlock(kSide, "force x", 2);
    EXPECT_EQ(block.FirstLine, 10u);
    EXPECT_EQ(block.LastLine, 15u);
    EXPECT_EQ(block.Lines, TextLines(kSide.begin() + 10, kSide.begin() + 16));
    EXPECT_FALSE(block.MissingEnd);

    // No case 3 in the first force: both indexes at its "ENDMISSION" line, no lines.
    block = FindCaseBlock(kSide, "Force X", 3);
    EXPECT_EQ(block.FirstLine, 16u);
    EXPECT_EQ(block.LastLine, 16u);
    EXPECT_TRUE(block.Lines.empty());

    block = FindCaseBlock(kSide, "Nobody", 1);
    EXPECT_EQ(block.FirstLine, 0u);
    EXPECT_EQ(block.LastLine, 0u);
    EXPECT_FALSE(block.MissingEnd);

    block = FindCaseBlock({"NAME=A", "CASECOUNT=1", "CASE2", "WP=1N 1E"}, "A", 1);
    EXPECT_TRUE(block.MissingEnd);
    EXPECT_TRUE(block.Lines.empty());
    // The last case of a file without its end line runs to the end.
    block = FindCaseBlock({"NAME=A", "CASECOUNT=1", "CASE1", "WP=1N 1E"}, "A", 1);
    EXPECT_EQ(block.Lines, (TextLines{"CASE1", "WP=1N 1E"}));
    EXPECT_EQ(block.LastLine, 3u);
}

TEST(MissionCasesTest, StoringTheCaseListReplacesOnlyItsBlock) {
    TextLines lines = kSide;
    StoreCaseBlock(lines, 6, 9, {"CASE1", "WP=1N 1E", "WP=2N 2E", "WP=3N 3E", "WP=4N 4E"});
    ASSERT_EQ(lines.size(), kSide.size() + 1);
    EXPECT_EQ(TextLines(lines.begin(), lines.begin() + 6), TextLines(kSide.begin(), kSide.begin() + 6));
    EXPECT_EQ(lines[10], "WP=4N 4E");
    EXPECT_EQ(TextLines(lines.begin() + 11, lines.end()), TextLines(kSide.begin() + 10, kSide.end()));

    // Deleting the only waypoint of case 3 of the second force leaves its header.
    lines = kSide;
    StoreCaseBlock(lines, 24, 25, {"CASE3"});
    EXPECT_EQ(lines.size(), kSide.size() - 1);
    EXPECT_EQ(lines[24], "CASE3");
    EXPECT_EQ(lines[25], "ENDMISSION");

    // A block past the lines is not touched.
    lines = kSide;
    StoreCaseBlock(lines, 26, 40, {"X"});
    EXPECT_EQ(lines, kSide);
}

class CaseParserTest : public ::testing::Test {
protected:
    CaseParserTest() {
        TBase* base = LayerByNameOrNew(globe, kBasesLayer).ObjectSource()->NewObject<TBase>();
        base->SetTitle("Alexandria");
        base->Location = Point(31, 12, 29, 53);
        bases.push_back(base);
    }

    void Parse(const TextLines& lines, std::size_t first, std::size_t end, int n) {
        ParseCase(lines, first, end, n, cases, bases, dialogs);
    }

    globe::TCustomVoduz4 globe;
    std::vector<TBase*> bases;
    TForceCases cases;
    ScriptedDialogs dialogs;
};

TEST_F(CaseParserTest, ReadsStartRouteTargetsDelayAndCurrentWaypoint) {
    Parse(kSide, 7, 10, 1);
    Parse(kSide, 11, 16, 2);
    EXPECT_TRUE(dialogs.Reports().empty()) << dialogs.Reports().front();

    EXPECT_EQ(cases.CaseStart[0], Point(31, 12, 29, 53));  // the base's location
    EXPECT_EQ(Points(cases.CaseWaypoints[0]), (std::vector{Point(33, 0, 27, 0), Point(34, 0, 25, 0)}));
    EXPECT_EQ(cases.CaseDelay[0], 0);
    EXPECT_EQ(cases.CaseCWPI[0], 0);

    EXPECT_EQ(cases.CaseStart[1], Point(34, 20, 25, 0));
    EXPECT_EQ(cases.CaseCWPI[1], 1);
    EXPECT_EQ(cases.CaseDelay[1], 6);
    EXPECT_EQ(Points(cases.CaseWaypoints[1]), (std::vector{Point(34, 40, 24, 0)}));
    EXPECT_EQ(Points(cases.CaseTargets[1]), (std::vector{Point(-35, 30, -22, 20)}));

    // A delay that is not a number or not above zero leaves the delay; CWPI starts at 0 again.
    Parse({"DELAY=x", "DELAY=0", "Origin=Alexandria", "Target=Alexandria"}, 0, 4, 2);
    EXPECT_EQ(cases.CaseDelay[1], 6);
    EXPECT_EQ(cases.CaseCWPI[1], 0);
    EXPECT_EQ(cases.CaseWaypoints[1].Count(), 2);
    EXPECT_EQ(cases.CaseWaypoints[1].Point(1), Point(31, 12, 29, 53));
    EXPECT_EQ(cases.CaseTargets[1].Point(1), Point(31, 12, 29, 53));
}

TEST_F(CaseParserTest, ReportedValuesLetTheParseGoOn) {
    Parse({"LL=33xxN 02700E", "LOCATION=Atlantis", "LL=", "WP=3300N 02700E"}, 0, 4, 3);
    EXPECT_EQ(dialogs.Reports(), (std::vector<std::string>{"Errror setting LL 33xxN 02700E case 3",
                                                           "Cannot find location \"Atlantis\" Case 3"}));
    EXPECT_EQ(cases.CaseWaypoints[2].Count(), 1);
    EXPECT_EQ(cases.CaseStart[2], globe::TGeoPoint{});
}

TEST_F(CaseParserTest, AnErrorEndsTheCaseWithTheLineIndexInTheLinesRead) {
    const TextLines lines = {"CASE1", "WP=3300N 02700E", "WP=33N", "WP=3400N 02500E"};
    Parse(lines, 1, 4, 1);
    ASSERT_EQ(dialogs.Reports().size(), 1u);
    EXPECT_EQ(dialogs.Reports()[0],
              "Error reading case!\rLine no: 2\rLine: WP=33N\rCase: 1\r\rLat/Long conversion error");
    EXPECT_EQ(Points(cases.CaseWaypoints[0]), (std::vector{Point(33, 0, 27, 0)}));  // read before the error

    dialogs.ClearCalls();
    Parse({"CWPI=two"}, 0, 1, 4);
    ASSERT_EQ(dialogs.Reports().size(), 1u);
    EXPECT_EQ(dialogs.Reports()[0].rfind("Error reading case!\rLine no: 0\rLine: CWPI=two\rCase: 4\r\r", 0), 0u);

    dialogs.ClearCalls();
    Parse({"TP=3000N 01000E", "Origin=Nowhere", "TP=3100N 01000E"}, 0, 3, 5);
    EXPECT_EQ(dialogs.Reports(),
              (std::vector<std::string>{
                  "Error reading case!\rLine no: 1\rLine: Origin=Nowhere\rCase: 5\r\rCannot find base Nowhere!"}));
    EXPECT_EQ(cases.CaseTargets[4].Count(), 1);
}

TEST_F(CaseParserTest, CapitalsLLInABaseNameMakeTheLineAStartLine) {
    TBase* base = bases.front();
    base->SetTitle("MALLORCA");
    Parse({"Target=MALLORCA", "Origin=MALLORCA"}, 0, 2, 1);
    // Both lines are taken by the "LL" test, which expects that label and adds no point.
    EXPECT_EQ(dialogs.Reports(),
              (std::vector<std::string>{"Error reading data line!\rSearched label: LL\rActual label: Target",
                                        "Error reading data line!\rSearched label: LL\rActual label: Origin"}));
    EXPECT_EQ(cases.CaseTargets[0].Count(), 0);
    EXPECT_EQ(cases.CaseWaypoints[0].Count(), 0);
}

TEST(AddCaseTest, CopiesTheLastCaseAndCountsIt) {
    TextLines lines = {"[TF0]",    "NAME=F",          "MISSION=Patrol",  "CASECOUNT=2",     "CASE1",
                       "WP=1N 1E", "WP=2N 2E",        "CASE2",           "FORMATIONHEADING=90", "WP=3N 3E",
                       "TP=4N 4E", "ENDMISSION",      "",                "[TF1]"};
    ScriptedDialogs dialogs;
    EXPECT_EQ(AddCase(lines, 11, 1, dialogs), 3);
    EXPECT_EQ(lines, (TextLines{"[TF0]", "NAME=F", "MISSION=Patrol", "CASECOUNT=3", "CASE1", "WP=1N 1E",
                                "WP=2N 2E", "CASE2", "FORMATIONHEADING=90", "WP=3N 3E", "TP=4N 4E", "CASE3",
                                "FORMATIONHEADING=90", "WP=3N 3E", "TP=4N 4E", "ENDMISSION", "", "[TF1]"}));
    EXPECT_TRUE(dialogs.Reports().empty());
}

TEST(AddCaseTest, WithoutCasesTheCountGivesTheNumber) {
    TextLines lines = {"NAME=F", "CASECOUNT=0", "ENDMISSION"};
    ScriptedDialogs dialogs;
    EXPECT_EQ(AddCase(lines, 2, 0, dialogs), 1);
    EXPECT_EQ(lines, (TextLines{"NAME=F", "CASECOUNT=1", "CASE1", "ENDMISSION"}));
}

TEST(AddCaseTest, WithoutACaseCountNothingChanges) {
    // The force before has a case count; the walk back must not reach it.
    const TextLines before = {"NAME=E", "CASECOUNT=1", "CASE1", "WP=1N 1E", "ENDMISSION",
                              "NAME=F", "MISSION=Patrol", "ENDMISSION"};
    TextLines lines = before;
    ScriptedDialogs dialogs;
    EXPECT_FALSE(AddCase(lines, 7, 5, dialogs));
    EXPECT_EQ(lines, before);
    EXPECT_EQ(dialogs.Reports(), (std::vector<std::string>{"Cannot find first case!\rThere must be at least one "
                                                           "case for each TF!\rPlease add it manually in the "
                                                           "file if needed"}));
}

TEST(AddCaseTest, ANumberThatIsNotADigitStopsBeforeAnyChange) {
    const TextLines before = {"NAME=F", "CASECOUNT=2", "CASE1", "CASE2 ", "WP=1N 1E", "ENDMISSION"};
    TextLines lines = before;
    ScriptedDialogs dialogs;
    EXPECT_THROW(AddCase(lines, 5, 0, dialogs), platform::EConvertError);
    EXPECT_EQ(lines, before);
    lines = {"NAME=F", "CASECOUNT=", "ENDMISSION"};
    EXPECT_THROW(AddCase(lines, 2, 0, dialogs), platform::EConvertError);
    EXPECT_EQ(lines[1], "CASECOUNT=");
}

TEST(ForceHeaderTest, SpeedLinesOfTheHeaderOnly) {
    TextLines lines = {"[TF0]",      "NAME=Force B", "SPEED=12", "NUMBER=2", "SPEED=40",
                       "MISSION=Cover", "CASECOUNT=1", "CASE1", "SPEED=5", "ENDMISSION"};
    const TLineRange header = ForceHeaderLines(lines, "Force B");
    EXPECT_EQ(header, (TLineRange{1, 6}));
    ScriptedDialogs dialogs;
    EXPECT_EQ(HeaderSpeed(lines, header, dialogs), 40);  // the last one read
    ReplaceHeaderSpeed(lines, header, 32);
    EXPECT_EQ(lines[2], "SPEED=32");
    EXPECT_EQ(lines[4], "SPEED=32");
    EXPECT_EQ(lines[8], "SPEED=5");  // after the case count
    EXPECT_EQ(FindForceHeader(lines, "Force B"), 0u);

    EXPECT_EQ(ForceHeaderLines(lines, "Force C"), (TLineRange{lines.size(), lines.size()}));
    EXPECT_FALSE(HeaderSpeed(lines, ForceHeaderLines(lines, "Force C"), dialogs));
    EXPECT_FALSE(FindForceHeader(lines, "Force C"));
    EXPECT_FALSE(FindForceHeader({"NAME=Force C"}, "Force C"));  // no line before it
    // The header test is a part of a line, case-sensitive.
    EXPECT_EQ(ForceHeaderLines({"X", "NAME=Force BB", "CASECOUNT=1"}, "Force B"), (TLineRange{1, 2}));

    lines[2] = "SPEED=fast";
    EXPECT_THROW(HeaderSpeed(lines, header, dialogs), platform::EConvertError);
}

TEST(SideFileTest, NamesBySideAndKind) {
    EXPECT_EQ(SideFileName(false, 0), "AxisShips.cfg");
    EXPECT_EQ(SideFileName(false, 1), "AlliedShips.cfg");
    EXPECT_EQ(SideFileName(true, 0), "AxisMissions.cfg");
    EXPECT_EQ(SideFileName(true, 1), "AlliedMissions.cfg");
}

}  // namespace
}  // namespace scenario
