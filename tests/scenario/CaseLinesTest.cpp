// A side's file lines: a force's cases located, read, checked and changed, the undo splice, and the
// texts of positions, label=value lines and start times.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "platform/ConvertError.h"
#include "platform/DateTime.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/AddCase.h"
#include "scenario/Base.h"
#include "scenario/CaseLineCheck.h"
#include "scenario/CaseLineEdit.h"
#include "scenario/CaseLines.h"
#include "scenario/CaseParser.h"
#include "scenario/ConfigLines.h"
#include "scenario/ForceHeader.h"
#include "scenario/LabelValue.h"
#include "scenario/LineEncoding.h"
#include "scenario/LinesSplice.h"
#include "scenario/MissionCases.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioTime.h"
#include "scenario/SideFile.h"

namespace scenario {
namespace {

using platform::TextLines;
using platform::testing::ScriptedDialogs;
using Strings = std::vector<std::string>;
using Range = std::pair<std::size_t, std::size_t>;

// Degrees and minutes north/east; negative degrees give south/west.
globe::TGeoPoint Point(std::int32_t latDeg, std::int32_t latMin, std::int32_t longDeg, std::int32_t longMin) {
    globe::TGeoPoint point;
    point.LatY = latDeg * 5'400'000 + (latDeg < 0 ? -latMin : latMin) * 90'000;
    point.LongX = longDeg * 5'400'000 + (longDeg < 0 ? -longMin : longMin) * 90'000;
    return point;
}

std::vector<globe::TGeoPoint> Points(const globe::TPointStore& store) {
    std::vector<globe::TGeoPoint> points;
    for (std::int32_t i = 0; i < store.Count(); ++i) points.push_back(store.Point(i));
    return points;
}

// Two forces whose names differ only in letter case; the first has two cases (CASE1 at 6, CASE2
// at 10, ENDMISSION at 16), the second only a case 3 (line 24).
const TextLines kSide = {"[TF0]", "NAME=Force X", "NUMBER=0", "SPEED=18", "MISSION=Intercept", "CASECOUNT=2",
                         "CASE1", "LOCATION=Alexandria", "WP=3300N 02700E", "WP=3400N 02500E", "CASE2",
                         "LL=3420N 02500E", "CWPI=1", "DELAY=6", "WP=3440N 02400E", "TP=3530S 02220W", "ENDMISSION",
                         "", "[TF1]", "NAME=FORCE X", "NUMBER=1", "SPEED=20", "MISSION=Patrol", "CASECOUNT=3",
                         "CASE3", "WP=3000N 01000E", "ENDMISSION"};

TEST(MissionCasesTest, ForceNameLinesAndCaseLocations) {
    EXPECT_EQ(FindForceNameLine(kSide, "force x"), 1u);  // the first equal ignoring letter case
    EXPECT_FALSE(FindForceNameLine(kSide, "Force"));      // equality, not a part of the line
    EXPECT_EQ(LocateCase(kSide, 1, 1), (TLineRange{7, 10}));
    EXPECT_EQ(LocateCase(kSide, 1, 2), (TLineRange{11, 16}));
    // Case 3 exists only in the next force's mission: the search stops at this one's end.
    EXPECT_FALSE(LocateCase(kSide, 1, 3));
    EXPECT_EQ(LocateCase(kSide, 19, 3), (TLineRange{25, 26}));
    // A blank line ends the search as "ENDMISSION" does; so does the end of the lines.
    EXPECT_FALSE(LocateCase({"NAME=A", "CASECOUNT=1", " \t", "CASE1", "WP=1N 1E"}, 0, 1));
    EXPECT_FALSE(LocateCase({"NAME=A", "CASE1", "WP=1N 1E"}, 0, 1));  // no case count
    // The case runs to the end of the lines without an end line.
    EXPECT_EQ(LocateCase({"NAME=A", "CASECOUNT=1", "CASE1", "X", "Y"}, 0, 1), (TLineRange{3, 5}));
}

TEST(MissionCasesTest, CaseBlockOfTheCaseListAndItsStore) {
    TCaseBlock block = FindCaseBlock(kSide, "force x", 2);
    EXPECT_EQ(Range(block.FirstLine, block.LastLine), Range(10, 15));
    EXPECT_EQ(block.Lines, TextLines(kSide.begin() + 10, kSide.begin() + 16));
    EXPECT_FALSE(block.MissingEnd);
    // No case 3 in the first force: both indexes at its "ENDMISSION" line, no lines.
    block = FindCaseBlock(kSide, "Force X", 3);
    EXPECT_EQ(Range(block.FirstLine, block.LastLine), Range(16, 16));
    EXPECT_TRUE(block.Lines.empty());
    block = FindCaseBlock({"NAME=A", "CASECOUNT=1", "CASE2", "WP=1N 1E"}, "A", 1);
    EXPECT_TRUE(block.MissingEnd && block.Lines.empty());
    // The last case of a file without its end line runs to the end.
    block = FindCaseBlock({"NAME=A", "CASECOUNT=1", "CASE1", "WP=1N 1E"}, "A", 1);
    EXPECT_EQ(block.Lines, (TextLines{"CASE1", "WP=1N 1E"}));
    EXPECT_EQ(block.LastLine, 3u);

    TextLines lines = kSide;
    StoreCaseBlock(lines, 6, 9, {"CASE1", "WP=1N 1E", "WP=2N 2E", "WP=3N 3E", "WP=4N 4E"});
    TextLines expected = kSide;
    expected.erase(expected.begin() + 7, expected.begin() + 10);
    expected.insert(expected.begin() + 7, {"WP=1N 1E", "WP=2N 2E", "WP=3N 3E", "WP=4N 4E"});
    EXPECT_EQ(lines, expected);
    // Deleting the only waypoint of case 3 of the second force leaves its header.
    lines = kSide;
    StoreCaseBlock(lines, 24, 25, {"CASE3"});
    EXPECT_EQ(TextLines(lines.begin() + 23, lines.end()), (TextLines{"CASECOUNT=3", "CASE3", "ENDMISSION"}));
}

// A map with one base, Alexandria, that case lines can name.
class AlexandriaTest : public ::testing::Test {
protected:
    AlexandriaTest() {
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

using CaseParserTest = AlexandriaTest;

TEST_F(CaseParserTest, ReadsStartRouteTargetsDelayAndCurrentWaypoint) {
    Parse(kSide, 7, 10, 1);
    Parse(kSide, 11, 16, 2);
    EXPECT_EQ(dialogs.Reports(), Strings{});
    EXPECT_EQ(cases.CaseStart[0], Point(31, 12, 29, 53));  // the base's location
    EXPECT_EQ(Points(cases.CaseWaypoints[0]), (std::vector{Point(33, 0, 27, 0), Point(34, 0, 25, 0)}));
    EXPECT_EQ(cases.CaseStart[1], Point(34, 20, 25, 0));
    EXPECT_EQ(std::make_pair(cases.CaseCWPI[1], cases.CaseDelay[1]), std::make_pair(1, 6));
    EXPECT_EQ(Points(cases.CaseWaypoints[1]), (std::vector{Point(34, 40, 24, 0)}));
    EXPECT_EQ(Points(cases.CaseTargets[1]), (std::vector{Point(-35, 30, -22, 20)}));
    // A delay that is not a number or not above zero leaves the delay; CWPI starts at 0 again.
    Parse({"DELAY=x", "DELAY=0", "Origin=Alexandria", "Target=Alexandria"}, 0, 4, 2);
    EXPECT_EQ(std::make_pair(cases.CaseCWPI[1], cases.CaseDelay[1]), std::make_pair(0, 6));
    EXPECT_EQ(Points(cases.CaseWaypoints[1]), (std::vector{Point(34, 40, 24, 0), Point(31, 12, 29, 53)}));
    EXPECT_EQ(cases.CaseTargets[1].Point(1), Point(31, 12, 29, 53));
}

TEST_F(CaseParserTest, ReportsLetTheParseGoOnErrorsEndTheCase) {
    Parse({"LL=33xxN 02700E", "LOCATION=Atlantis", "LL=", "WP=3300N 02700E"}, 0, 4, 3);
    EXPECT_EQ(dialogs.Reports(), (Strings{"Errror setting LL 33xxN 02700E case 3",
                                          "Cannot find location \"Atlantis\" Case 3"}));
    EXPECT_EQ(cases.CaseWaypoints[2].Count(), 1);
    EXPECT_EQ(cases.CaseStart[2], globe::TGeoPoint{});
    // An error names the line's index in the lines read and keeps what was read before it.
    dialogs.ClearCalls();
    Parse({"CASE1", "WP=3300N 02700E", "WP=33N", "WP=3400N 02500E"}, 1, 4, 1);
    Parse({"CWPI=two"}, 0, 1, 4);
    Parse({"TP=3000N 01000E", "Origin=Nowhere", "TP=3100N 01000E"}, 0, 3, 5);
    const Strings reports = dialogs.Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], "Error reading case!\rLine no: 2\rLine: WP=33N\rCase: 1\r\rLat/Long conversion error");
    EXPECT_TRUE(reports[1].starts_with("Error reading case!\rLine no: 0\rLine: CWPI=two\rCase: 4\r\r")) << reports[1];
    EXPECT_EQ(reports[2], "Error reading case!\rLine no: 1\rLine: Origin=Nowhere\rCase: 5\r\rCannot find base Nowhere!");
    EXPECT_EQ(Points(cases.CaseWaypoints[0]), (std::vector{Point(33, 0, 27, 0)}));
    EXPECT_EQ(cases.CaseTargets[4].Count(), 1);
}

TEST_F(CaseParserTest, CapitalsLLInABaseNameMakeTheLineAStartLine) {
    bases.front()->SetTitle("MALLORCA");
    Parse({"Target=MALLORCA", "Origin=MALLORCA"}, 0, 2, 1);
    EXPECT_EQ(dialogs.Reports(), (Strings{"Error reading data line!\rSearched label: LL\rActual label: Target",
                                          "Error reading data line!\rSearched label: LL\rActual label: Origin"}));
    EXPECT_EQ(cases.CaseTargets[0].Count() + cases.CaseWaypoints[0].Count(), 0);
}

// The one reading of case lines: each line's faults with their codes, the points with the lines
// they stand on, read whole for the checks or up to the first fault that ends the case.
TEST_F(CaseParserTest, OneReadingGivesEachLinesFaultsAndThePointsLines) {
    const TextLines lines = {"CASE1", "LL", "WP=3300N 02700E", "LOCATION=Atlantis", "FORMATIONHEADING=east",
                             "TP=33N", "CWPI=1", "Target=Alexandria", "DELAY=4", "XWP=3400N 02500E"};
    const TParsedCase whole = ParseCaseLines(lines, 1, 99, bases);
    ASSERT_EQ(whole.Lines.size(), 9u);
    std::vector<std::string> faults;
    for (const TParsedCase::TSkipped& skipped : whole.Faults())
        faults.push_back(std::to_string(skipped.Line) + " " + std::string(CaseFaultCode(skipped.Fault.Fault)) + " " +
                         skipped.Fault.Text + (skipped.Fault.EndsCase ? " ends" : ""));
    EXPECT_EQ(faults, (Strings{"1 missing-equals LL", "1 wrong-label ", "3 unknown-base Atlantis",
                               "4 bad-number 'east' is not a valid integer value ends", "5 bad-position 33N ends",
                               "9 wrong-label XWP", "9 bad-position  ends"}));
    EXPECT_FALSE(whole.StoppedAt);
    EXPECT_EQ(whole.Waypoints.size(), 1u);
    ASSERT_EQ(whole.Targets.size(), 1u);
    EXPECT_EQ(std::make_pair(whole.Targets[0].Line, whole.Targets[0].AtBase), std::make_pair(std::size_t{7}, true));
    EXPECT_EQ(std::make_tuple(whole.CWPI, whole.CWPILine, whole.Delay),
              std::make_tuple(1, std::optional<std::size_t>(6), std::optional<std::int32_t>(4)));
    // The editor passes over formation headings and stops at the target point that does not read.
    const TParsedCase editor = ParseCaseLines(lines, 1, 99, bases, TCaseReading::StopAtFault);
    EXPECT_EQ(editor.StoppedAt, 5u);
    EXPECT_TRUE(editor.Lines[3].Faults.empty());
    EXPECT_EQ(std::make_tuple(editor.CWPI, editor.Targets.size(), editor.Delay.has_value()),
              std::make_tuple(0, std::size_t{0}, false));
    // The loader words the start faults for its force.
    EXPECT_EQ(CaseFaultMessage(whole.Lines[2], whole.Lines[2].Faults[0], "for TF A", "for TF A"),
              "Cannot find location \"Atlantis\" for TF A");
}

// What the case-line rules would report is the reason an edited line is refused; lines they read
// without a report, and lines they do not read, are accepted.
using CaseLineCheckTest = AlexandriaTest;

TEST_F(CaseLineCheckTest, AcceptedAndRefusedLines) {
    for (const char* line : {"LOCATION=Alexandria", "Target=Alexandria", "CWPI=2", "SPEED=18", "RD=x", "Some note",
                             "WP=9000N 18000W", "WP=3700N 2400E", "TP=370030S 240059W", "LL="})
        EXPECT_EQ(CaseLineRefusal(line, 2, bases), "") << line;
    const struct { const char* line; const char* reason; } refused[] = {
        {"TP=north", "Lat/Long conversion error"},
        {"LL=ab40N 02330E", "Errror setting LL ab40N 02330E case 2"},
        {"LOCATION=Atlantis", "Cannot find location \"Atlantis\" Case 2"},
        {"Origin=alexandria", "Cannot find base alexandria!"},  // names are exact
        {"CWPI=one", "'one' is not a valid integer value"},
    };
    for (const auto& c : refused) EXPECT_EQ(CaseLineRefusal(c.line, 2, bases), c.reason) << c.line;
    EXPECT_TRUE(CaseLineRefusal("WP=9999X 99999Q", 1, bases).starts_with("Not a position on the globe: \"9999X 99999Q\""));
    // Positions the reader takes but that lie off the globe; any line holding "LL" is read as a
    // start position, so its label must then be "LL".
    for (const char* line : {"WP=3760N 02400E", "TP=3700N 02400X", "LL=3700E 02400N", "WP=9100N 00000E",
                             "WP=370000N 0240060E", "WP=3700N  02400E", "WP=3700N 02400E LL"})
        EXPECT_NE(CaseLineRefusal(line, 1, bases), "") << line;
}

// A line typed in the Edit box (UTF-8) is stored in its side file's encoding: UTF-8 when every
// line of the file is, else Windows-1252 (files from Windows); what that encoding cannot hold,
// and control characters (a pasted line break, a tab), are refused with the reason.
TEST_F(CaseLineCheckTest, TypedLinesTakeTheFilesEncodingOrAreRefused) {
    const std::string windowsLine = "NAME=Br\xE9st";  // not UTF-8
    EXPECT_EQ(LinesEncoding({"[TF0]", "NAME=Br\xC3\xA9st", ""}), TLineEncoding::Utf8);
    EXPECT_EQ(LinesEncoding({"[TF0]", windowsLine, "WP=3700N 02400E"}), TLineEncoding::Windows1252);
    const struct { const char* typed; TLineEncoding encoding; const char* bytes; } stored[] = {
        {"Target=Br\xC3\xA9st", TLineEncoding::Windows1252, "Target=Br\xE9st"},
        {"Note \xE2\x82\xAC 5 \xE2\x80\x94 \xC5\x92", TLineEncoding::Windows1252, "Note \x80 5 \x97 \x8C"},
        {"Note \xC2\x80", TLineEncoding::Windows1252, "Note \x80"},  // as a 0x80 of the file is shown
        {"Target=Br\xC3\xA9st \xE2\x82\xAC", TLineEncoding::Utf8, "Target=Br\xC3\xA9st \xE2\x82\xAC"},
        {"WP=3700N 02400E", TLineEncoding::Windows1252, "WP=3700N 02400E"},
    };
    for (const auto& c : stored) {
        EXPECT_EQ(TypedTextRefusal(c.typed, c.encoding), "") << c.typed;
        EXPECT_EQ(TypedTextBytes(c.typed, c.encoding), c.bytes) << c.typed;
    }
    const struct { const char* typed; TLineEncoding encoding; const char* reason; } refused[] = {
        {"Note \xE2\x86\x92 east", TLineEncoding::Windows1252,
         "The character \"\xE2\x86\x92\" cannot be written in this file: its lines are in the Windows character set (Windows-1252)."},
        {"WP=3700N\r\nWP=3800N", TLineEncoding::Utf8, "A line cannot hold a control character (code 13): no line breaks or tabs."},
        {"WP=3700N\n", TLineEncoding::Windows1252, "A line cannot hold a control character (code 10): no line breaks or tabs."},
        {"Note\tx", TLineEncoding::Utf8, "A line cannot hold a control character (code 9): no line breaks or tabs."},
        {"Note \xC2\x85", TLineEncoding::Utf8, "A line cannot hold a control character (code 133): no line breaks or tabs."},
        {"Note \xE9", TLineEncoding::Utf8, "The text is not valid UTF-8."},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(TypedTextRefusal(c.typed, c.encoding), c.reason) << c.typed;
        EXPECT_EQ(TypedCaseLineRefusal(c.typed, c.encoding, 2, bases), c.reason) << c.typed;
        EXPECT_THROW(TypedTextBytes(c.typed, c.encoding), std::invalid_argument) << c.typed;
    }
    // Past the encoding, the case-line rules read the line as it will be stored.
    EXPECT_EQ(TypedCaseLineRefusal("LOCATION=Alexandria", TLineEncoding::Windows1252, 2, bases), "");
    EXPECT_EQ(TypedCaseLineRefusal("LOCATION=Atlantis", TLineEncoding::Windows1252, 2, bases),
              "Cannot find location \"Atlantis\" Case 2");
}

TEST(AddCaseTest, CopiesTheLastCaseAndCountsIt) {
    TextLines lines = {"[TF0]", "NAME=F", "MISSION=Patrol", "CASECOUNT=2", "CASE1", "WP=1N 1E", "WP=2N 2E", "CASE2",
                       "FORMATIONHEADING=90", "WP=3N 3E", "TP=4N 4E", "ENDMISSION", "", "[TF1]"};
    ScriptedDialogs dialogs;
    EXPECT_EQ(AddCase(lines, 11, 1, dialogs), 3);
    EXPECT_EQ(lines, (TextLines{"[TF0]", "NAME=F", "MISSION=Patrol", "CASECOUNT=3", "CASE1", "WP=1N 1E",
                                "WP=2N 2E", "CASE2", "FORMATIONHEADING=90", "WP=3N 3E", "TP=4N 4E", "CASE3",
                                "FORMATIONHEADING=90", "WP=3N 3E", "TP=4N 4E", "ENDMISSION", "", "[TF1]"}));
    lines = {"NAME=F", "CASECOUNT=0", "ENDMISSION"};  // without cases the count gives the number
    EXPECT_EQ(AddCase(lines, 2, 0, dialogs), 1);
    EXPECT_EQ(lines, (TextLines{"NAME=F", "CASECOUNT=1", "CASE1", "ENDMISSION"}));
    EXPECT_EQ(dialogs.Reports(), Strings{});
    // Without a case count (the force before has one) or with a bad number nothing changes.
    const TextLines noCount = {"NAME=E", "CASECOUNT=1", "CASE1", "WP=1N 1E", "ENDMISSION",
                               "NAME=F", "MISSION=Patrol", "ENDMISSION"};
    lines = noCount;
    EXPECT_FALSE(AddCase(lines, 7, 5, dialogs));
    EXPECT_EQ(lines, noCount);
    EXPECT_EQ(dialogs.Reports(), Strings{"Cannot find first case!\rThere must be at least one case for each TF!\r"
                                         "Please add it manually in the file if needed"});
    for (const TextLines& bad : {TextLines{"NAME=F", "CASECOUNT=2", "CASE1", "CASE2 ", "WP=1N 1E", "ENDMISSION"},
                                 TextLines{"NAME=F", "CASECOUNT=", "ENDMISSION"}}) {
        lines = bad;
        EXPECT_THROW(AddCase(lines, lines.size() - 1, 0, dialogs), platform::EConvertError);
        EXPECT_EQ(lines, bad);
    }
}

TEST(ForceHeaderTest, SpeedLinesOfTheHeaderOnly) {
    TextLines lines = {"[TF0]", "NAME=Force B", "SPEED=12", "NUMBER=2", "SPEED=40",
                       "MISSION=Cover", "CASECOUNT=1", "CASE1", "SPEED=5", "ENDMISSION"};
    const TLineRange header = ForceHeaderLines(lines, "Force B");
    EXPECT_EQ(header, (TLineRange{1, 6}));
    ScriptedDialogs dialogs;
    EXPECT_EQ(HeaderSpeed(lines, header, dialogs), 40);  // the last one read
    ReplaceHeaderSpeed(lines, header, 32);
    EXPECT_EQ(lines, (TextLines{"[TF0]", "NAME=Force B", "SPEED=32", "NUMBER=2", "SPEED=32", "MISSION=Cover",
                                "CASECOUNT=1", "CASE1", "SPEED=5", "ENDMISSION"}));
    EXPECT_EQ(FindForceHeader(lines, "Force B"), 0u);
    EXPECT_FALSE(HeaderSpeed(lines, ForceHeaderLines(lines, "Force C"), dialogs));
    EXPECT_FALSE(FindForceHeader({"NAME=Force C"}, "Force C"));  // no line before it
    // The header test is a part of a line, case-sensitive.
    EXPECT_EQ(ForceHeaderLines({"X", "NAME=Force BB", "CASECOUNT=1"}, "Force B"), (TLineRange{1, 2}));
    lines[2] = "SPEED=fast";
    EXPECT_THROW(HeaderSpeed(lines, header, dialogs), platform::EConvertError);
}

TEST(LinesSpliceTest, DiffIsTheSmallestChangeAndRoundTripsExactly) {
    const struct {
        const char* name;
        TextLines before, after;
        std::size_t first;
        TextLines removed, inserted;
    } cases[] = {
        {"one line edited", {"a", "b", "c"}, {"a", "B", "c"}, 1, {"b"}, {"B"}},
        {"line inserted as a copy", {"a", "b", "c"}, {"a", "b", "b", "c"}, 2, {}, {"b"}},
        {"no change", {"a", "b"}, {"a", "b"}, 2, {}, {}},
        {"to nothing", {"x", "y"}, {}, 0, {"x", "y"}, {}},
        {"bytes kept: trailing blank and CR", {"WP=1 ", "b\r"}, {"WP=1", "b\r"}, 0, {"WP=1 "}, {"WP=1"}},
        {"repeated lines", {"a", "a", "a"}, {"a", "a"}, 2, {"a"}, {}},
        {"two runs apart become one", {"a", "b", "c", "d"}, {"A", "b", "c", "D"}, 0, {"a", "b", "c", "d"},
         {"A", "b", "c", "D"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TLinesSplice splice = DiffLines(c.before, c.after);
        EXPECT_EQ(splice.First, c.first);
        EXPECT_EQ(splice.Removed, c.removed);
        EXPECT_EQ(splice.Inserted, c.inserted);
        EXPECT_EQ(splice.Empty(), c.before == c.after);
        TextLines lines = c.before;
        ApplySplice(lines, splice);
        EXPECT_EQ(lines, c.after);
        RevertSplice(lines, splice);
        EXPECT_EQ(lines, c.before);
    }
    // A splice of other lines is refused and changes nothing.
    const TLinesSplice splice = DiffLines({"a", "b", "c"}, {"a", "B", "c"});
    TextLines other = {"a", "x", "c"}, shorter = {"a"};
    EXPECT_THROW(ApplySplice(other, splice), std::logic_error);
    EXPECT_THROW(RevertSplice(shorter, splice), std::logic_error);
    EXPECT_EQ(other, (TextLines{"a", "x", "c"}));
}

TEST(CaseLineEditTest, ReplacesAndInsertsWithinTheCaseBlockOnly) {
    const TextLines mission = {"NAME=Force A1", "CASECOUNT=2", "CASE1", "WP=3500N 02300E", "WP=3510N 02310E",
                               "CASE2", "WP=3600N 02400E", "ENDMISSION"};
    TextLines expected = mission;
    expected[4] = "WP=3520N 02320E";
    EXPECT_EQ(WithCaseLineReplaced(mission, "force a1", 1, 2, "WP=3520N 02320E"), expected);
    expected = mission;
    expected.insert(expected.begin() + 6, "WP=3550N 02350E");
    EXPECT_EQ(WithCaseLineInserted(mission, "Force A1", 2, 1, "WP=3550N 02350E"), expected);
    // After the block's last line: still inside the case, before "ENDMISSION".
    expected = mission;
    expected.insert(expected.begin() + 7, "TP=3700N 02500E");
    EXPECT_EQ(WithCaseLineInserted(mission, "Force A1", 2, 2, "TP=3700N 02500E"), expected);
    // A missing force, case or row gives nothing.
    EXPECT_FALSE(WithCaseLineReplaced(mission, "Force B", 1, 1, "x"));
    EXPECT_FALSE(WithCaseLineReplaced(mission, "Force A1", 1, 3, "x"));  // the block has 3 lines
    EXPECT_FALSE(WithCaseLineInserted(mission, "Force A1", 1, 0, "x"));  // above "CASE1"
    EXPECT_FALSE(WithCaseLineInserted({"NAME=Force A1", "CASECOUNT=0", "ENDMISSION"}, "Force A1", 1, 1, "x"));
}

// Builds a point by field writes so that no normalisation hides a fault.
globe::TGeoPoint Units(int32_t longX, int32_t latY) {
    globe::TGeoPoint p;
    p.LongX = longX;
    p.LatY = latY;
    return p;
}

// The position of a text that must be read; the height is set to 0.
globe::TGeoPoint Parsed(const std::string& text) {
    globe::TGeoPoint p = Units(11, 22);
    p.Height = 33;
    const auto [lat, lon] = SplitPositionText(text);
    EXPECT_TRUE(ParseLatLong(lat, lon, p)) << text;
    EXPECT_EQ(p.Height, 0);
    return p;
}

TEST(ParseLatLong, ReadsMinutesSecondsHemispheresAndOddLengthsWithoutError) {
    const struct { const char* text; globe::TGeoPoint point; } cases[] = {
        {"513015N 0001030W", Units(-945000, 278122500)},
        {"5130N 001030W", Units(-945000, 278100000)},  // two-digit longitude degrees: a "0" in front
        {"5130S 15112E", Units(151 * 5400000 + 12 * 90000, -278100000)},
        {"5130s 00010w", Units(900000, 278100000)},  // only upper-case "S" and "W" negate
        {"513N 010E", Units(0, 0)},                  // too short: no degrees or minutes
        {"5130xN 00010xxxxW", Units(-900000, 278100000)},  // no seconds field: degrees and minutes only
        // 999 degrees 99 minutes = 5,403,510,000 GlobeUnit, minus 2^32.
        {"0000N 99999W", Units(-1108542704, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(Parsed(c.text), c.point) << c.text;
}

TEST(ParseLatLong, FailuresLeaveThePointAndTextsSplitAtTheFirstBlank) {
    for (auto [lat, lon] : {std::pair<const char*, const char*>{"51A0N", "00010W"}, {"5130N", "0001A0W"},
                            {"51301xN", "00010W"}, {"5130N", ""}, {"5130N", "00010W "}}) {  // blank: seconds "0W"
        globe::TGeoPoint p = Units(7, 8);
        EXPECT_FALSE(ParseLatLong(lat, lon, p)) << lat << '|' << lon;
        EXPECT_EQ(p, Units(7, 8));
    }
    std::mt19937 random(42);  // arbitrary texts never read out of bounds
    for (int i = 0; i < 5000; ++i) {
        std::string text(random() % 12, ' ');
        for (char& c : text) c = "0123456789NSEWnsew $x-+ \t\xFF"[random() % 26];
        auto [lat, lon] = SplitPositionText(text);
        globe::TGeoPoint p = Units(1, 2);
        EXPECT_TRUE(ParseLatLong(lat, lon, p) || p == Units(1, 2)) << text;
    }
    // The text splits at the first blank.
    using Split = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitPositionText("5130N  00010W"), Split("5130N", " 00010W"));
    EXPECT_EQ(SplitPositionText("5130N00010W"), Split("", "5130N00010W"));
}

// The reading takes any two digits as minutes; a position on the globe keeps to the clock and the poles.
TEST(ParseLatLong, OnTheGlobeWithinNinetyAndOneEightyDegreesAndBelowSixtyMinutesAndSeconds) {
    const struct { const char* text; bool onGlobe; } cases[] = {
        {"9000N 18000W", true},       {"895959S 1795959E", true}, {"3700N 2400E", true},
        {"513N 010E", true},          // too short for its fields: 0 degrees
        {"9001N 00000E", false},      {"900001S 0000000E", false}, {"0000N 18001E", false},
        {"0000N 1800001W", false},    {"3760N 02400E", false},     {"3700N 02460W", false},
        {"370060N 0240000E", false},  {"3700N 0240060E", false},   {"9999X 99999Q", false},
        {"-130N 02400E", false},      // a negative field
        {"34X0N 02400E", false},      // does not read at all
    };
    for (const auto& c : cases) EXPECT_EQ(IsPositionOnGlobe(c.text), c.onGlobe) << c.text;
}

TEST(FormatPosition, PadsAndTruncatesToTheShownUnitAndParsesBack) {
    EXPECT_EQ(FormatPosition(Units(0, 278100000 + 81000), false), "5130N 00000E");  // 51 30.9' is still 5130N
    EXPECT_EQ(FormatPosition(Units(816525000, -182890500), true), "335207S 1511230E");
    // |INT32_MIN| is 397 degrees 40 minutes and a rest.
    EXPECT_EQ(FormatPosition(Units(INT32_MIN, INT32_MIN), false), "39740S 39740W");
    for (globe::TGeoPoint p : {Units(-945000 - 1499, 278122500 + 1499), Units(816525000 + 77, -182890500 - 77)}) {
        EXPECT_EQ(Parsed(FormatPosition(p, true)), Units(p.LongX / 1500 * 1500, p.LatY / 1500 * 1500));
        EXPECT_EQ(Parsed(FormatPosition(p, false)), Units(p.LongX / 90000 * 90000, p.LatY / 90000 * 90000));
    }
    // Typed angles are trimmed and their digits left-padded.
    EXPECT_EQ(PadLatitudeText(" 001N ", false) + PadLatitudeText("5130N", true), "0001N005130N");
    EXPECT_EQ(PadLongitudeText("1W", true) + PadLongitudeText("12345678E", false), "0000001W12345678E");
    EXPECT_EQ(PadLatitudeText("  ", false), "");
}

TEST(ConfigLines, LabelValueAfterTheFirstEqualsOrAReportAndLineIndexesInRange) {
    const std::string long200 = std::string(199, 'v') + "x", long250 = long200 + std::string(50, 'v');
    const struct { std::string line, label, value; Strings reports; } cases[] = {
        {"A=B=C", "A", "B=C", {}},
        {"LL= 5130N 00010W ", "LL", " 5130N 00010W ", {}},
        {"NOTE=" + long250, "NOTE", long200, {}},  // values are cut to 200 characters
        {long250, "", long200, {"Error in file data format! Missing \"=\"!\rLine: " + long250}},
        {"NAME=Force H", "SPEED", "", {"Error reading data line!\rSearched label: SPEED\rActual label: NAME"}},
        // Blanks belong to the label, and the comparison is case-sensitive.
        {"NAME = Force H", "NAME", "", {"Error reading data line!\rSearched label: NAME\rActual label: NAME "}},
        // With a label expected, the empty actual label is reported as well.
        {"CASE1", "LL", "", {"Error in file data format! Missing \"=\"!\rLine: CASE1",
                             "Error reading data line!\rSearched label: LL\rActual label: "}},
    };
    for (const auto& c : cases) {
        platform::testing::ScriptedDialogs dialogs;
        EXPECT_EQ(ReadLabelValue(c.line, c.label, dialogs), c.value) << c.line;
        EXPECT_EQ(dialogs.Reports(), c.reports) << c.line;
    }
    // Indexes outside the lines are errors.
    const platform::TextLines lines{"a", "b"};
    EXPECT_EQ(LineAt(lines, 1), "b");
    EXPECT_THROW(LineAt(lines, 2), ELineIndexError);
    EXPECT_THROW(LineAt(lines, -1), ELineIndexError);
}

// 1941-05-24 counted from 1899-12-30 (see the platform date tests).
constexpr double k24May1941 = 15120.0;

TEST(ScenarioStart, DateHourTimeGroupsAndLabels) {
    EXPECT_EQ(StartDateFromText("19410524xx"), k24May1941);  // text after the eight digits is ignored
    EXPECT_DOUBLE_EQ(AddStartHour(k24May1941, " 7"), k24May1941 + 7.0 / 24);  // a blank before the hour
    EXPECT_EQ(CampaignStart(k24May1941 + 14.0 / 24), k24May1941 + 0.25);
    for (const char* bad : {"19410229", "19411301", "194105", "1941O524", "00000101"})
        EXPECT_THROW(StartDateFromText(bad), platform::EConvertError) << bad;
    for (const char* bad : {"24", "-1", "14 "})
        EXPECT_THROW(AddStartHour(k24May1941, bad), platform::EConvertError) << bad;
    EXPECT_EQ(FormatTimeGroup(k24May1941 + 14.0 / 24 + 5.0 / 1440), "241405");
    // An arrival computed by adding hours lands on the whole minute despite rounding noise.
    double eta = k24May1941 + 14.0 / 24;
    for (int i = 0; i < 30; ++i) eta += 1.0 / 24 / 10;  // 30 steps of 6 minutes
    EXPECT_EQ(FormatTimeGroup(eta), "241700");
    platform::RegionalSettings settings;
    EXPECT_EQ(ScenarioStartLabel(k24May1941 + 14.0 / 24, settings), "24/05/1941 14:00:00 14:00");
    EXPECT_EQ(ScenarioStartLabel(k24May1941, settings), "24/05/1941 00:00");
    settings.dateSeparator = ".";
    settings.timeSeparator = ".";
    EXPECT_EQ(CampaignStartLabel(k24May1941 + 0.25, settings), "24.05.1941 06.00");
}

}  // namespace
}  // namespace scenario
