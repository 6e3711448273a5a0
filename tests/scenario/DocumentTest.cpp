// The scenario document: each edit's splice and bytes, apply then revert back to the same bytes,
// the cases, the force's header and the findings following the lines both ways, and the
// listeners told what changed.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/view/PresenterClasses.h"
#include "platform/LocalFileSystem.h"
#include "platform/RegionalSettings.h"
#include "platform/testing/MemoryFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/AddCase.h"
#include "scenario/Force.h"
#include "scenario/ReadForceAgain.h"
#include "scenario/RecoveryStore.h"
#include "scenario/ScenarioDocument.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"
#include "tests/globe_data/TempFile.h"

namespace scenario {
namespace {

using platform::TextLines;

// Two forces of a campaign's Axis missions file: Force A (cases 1 and 2), Force B (case 1, whose
// current waypoint lies past its only waypoint).
const TextLines kAxis = {
    "[MISSION0]", "NAME=Force A", "NUMBER=0", "SPEED=18", "MISSION=Intercept", "CASECOUNT=2",  // 0..5
    "CASE1", "LL=3420N 02500E", "WP=3300N 02700E", "WP=3400N 02500E",                          // 6..9
    "CASE2", "LL=3500N 02400E", "WP=3440N 02400E", "ENDMISSION", "",                           // 10..14
    "[MISSION1]", "NAME=Force B", "NUMBER=1", "SPEED=20", "MISSION=Patrol", "CASECOUNT=1",     // 15..20
    "CASE1", "CWPI=5", "WP=3000N 01000E", "ENDMISSION", ""};                                   // 21..25

// kAxis with lines from `at` on replaced: `removed` lines out, `inserted` in.
TextLines Changed(std::size_t at, std::size_t removed, const TextLines& inserted) {
    TextLines lines = kAxis;
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(at);
    lines.insert(lines.erase(first, first + static_cast<std::ptrdiff_t>(removed)), inserted.begin(), inserted.end());
    return lines;
}

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() {
        std::string bytes;
        for (const std::string& line : kAxis) bytes += line + "\r\n";
        files.AddDirectory("/scen");
        files.AddFile("/scen/AxisMissions.cfg", bytes);
        auto state = std::make_unique<TScenarioState>();
        state->ScenarioDir = "/scen/";
        state->IsCampaign = true;
        document = std::make_unique<TScenarioDocument>(std::move(state));
        loader = std::make_unique<TScenarioLoader>(document->State(), globe, dialogs, files,
                                                   platform::RegionalSettings{}, "/prog");
        loader->ReadMissionFile("/scen/AxisMissions.cfg", 0);
        document->MarkSaved(0);
        document->SetForceReader([this](TForce& force) { ReadForceAgain(*loader, document->State(), force); });
        document->Lint(nullptr, files);
        forceA = document->Forces().at(0);
        forceB = document->Forces().at(1);
    }
    const TextLines& Axis() const { return document->SideLines(0); }
    // The findings as "line code force".
    std::vector<std::string> Findings() const {
        std::vector<std::string> texts;
        for (const TLintFinding& finding : document->Findings())
            texts.push_back(std::to_string(finding.Line) + " " + finding.Code + " " +
                            (finding.Force != nullptr ? finding.Force->Title() : ""));
        return texts;
    }

    globe::TPresenterClassesRegistration registration;
    globe::TCustomVoduz4 globe;  // outlives the document, whose state refers to its objects
    platform::testing::MemoryFileSystem files;
    platform::testing::ScriptedDialogs dialogs;
    std::unique_ptr<TScenarioDocument> document;
    std::unique_ptr<TScenarioLoader> loader;
    TForce* forceA = nullptr;
    TForce* forceB = nullptr;
};

TEST_F(DocumentTest, EachEditIsASpliceThatApplyMakesAndRevertTakesBackToTheSameBytes) {
    ASSERT_EQ(Axis(), kAxis);
    ASSERT_EQ(document->Forces().size(), 2u);
    const globe::TGeoPoint picked(20 * 5'400'000, 31 * 5'400'000 + 30 * 90'000);  // 3130N 02000E
    const struct { const char* what; std::optional<TSideSplice> splice; TextLines after; } edits[] = {
        {"edit", document->EditLine(*forceA, 1, 2, "WP=3310N 02710E"), Changed(8, 1, {"WP=3310N 02710E"})},
        {"insert", document->InsertLine(*forceA, 1, 1, "LL=3420N 02500E"), Changed(7, 0, {"LL=3420N 02500E"})},
        {"insert above CASE", document->InsertLine(*forceB, 1, 0, "CASE1"), Changed(21, 0, {"CASE1"})},
        {"delete", document->DeleteLine(*forceA, 2, 1), Changed(11, 1, {})},
        {"drag", document->ReplaceCaseLine(*forceB, 1, 2, "WP=3000N 01100E"), Changed(23, 1, {"WP=3000N 01100E"})},
        {"shift click", document->InsertCaseLine(*forceA, 2, 3, "WP=3430N 02300E"),
         Changed(13, 0, {"WP=3430N 02300E"})},
        {"pick point", document->PickPoint(*forceA, 1, 1, picked), Changed(7, 1, {"LL=3130N 02000E"})},
        {"add case", document->AddCase(*forceA, dialogs),
         Changed(5, 9, {"CASECOUNT=3", "CASE1", "LL=3420N 02500E", "WP=3300N 02700E", "WP=3400N 02500E", "CASE2",
                        "LL=3500N 02400E", "WP=3440N 02400E", "CASE3", "LL=3500N 02400E", "WP=3440N 02400E",
                        "ENDMISSION"})},
        {"speed", document->EditForceSpeed(*forceB, 25), Changed(18, 1, {"SPEED=25"})},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.what);
        ASSERT_TRUE(edit.splice.has_value());
        EXPECT_EQ(Axis(), kAxis);  // working the splice out changes nothing
        document->Apply(*edit.splice);
        EXPECT_EQ(Axis(), edit.after);
        EXPECT_TRUE(document->SideDiffersFromSaved(0));
        document->Revert(*edit.splice);
        EXPECT_EQ(Axis(), kAxis);
        EXPECT_FALSE(document->SideDiffersFromSaved(0));
    }
    // The editor shows the tab of the case Add case put in place: the splice's last "CASE" line.
    EXPECT_EQ(AddedCaseNumber(edits[7].splice->Splice), 3);
    EXPECT_EQ(AddedCaseNumber(edits[0].splice->Splice), 0);
    // Nothing to change: no such row or case, the same text, above the "CASE" line on the map.
    EXPECT_FALSE(document->EditLine(*forceA, 1, 4, "WP=1N 1E"));
    EXPECT_FALSE(document->DeleteLine(*forceB, 2, 0));
    EXPECT_FALSE(document->InsertLine(*forceA, 1, 5, "WP=1N 1E"));
    EXPECT_FALSE(document->EditLine(*forceA, 1, 2, "WP=3300N 02700E"));
    EXPECT_FALSE(document->InsertCaseLine(*forceA, 1, 0, "WP=1N 1E"));
    EXPECT_FALSE(document->DiscardSideChanges(0));
    for (const std::string& report : dialogs.Reports()) ADD_FAILURE() << report;
    // Discarding takes every change since the save back in one splice.
    document->Apply(*document->EditLine(*forceA, 1, 2, "WP=3310N 02710E"));
    document->Apply(*document->EditForceSpeed(*forceB, 25));
    const auto discard = document->DiscardSideChanges(0);
    ASSERT_TRUE(discard);
    document->Apply(*discard);
    EXPECT_EQ(Axis(), kAxis);
    // A splice made on other lines is refused and leaves the lines.
    EXPECT_THROW(document->Apply(*discard), std::logic_error);
    EXPECT_EQ(Axis(), kAxis);
    document->Revert(*discard);
    EXPECT_EQ(Axis()[18], "SPEED=25");
}

TEST_F(DocumentTest, CasesHeaderAndFindingsFollowTheLinesBothWays) {
    const TParsedCase* case1 = document->Case(*forceA, 1);
    ASSERT_NE(case1, nullptr);
    EXPECT_EQ(case1->Waypoints.size(), 2u);
    EXPECT_EQ(case1->Waypoints[1].Line, 9u);  // the side's line index
    EXPECT_EQ(document->Case(*forceA, 3), nullptr);
    EXPECT_EQ(Findings(), (std::vector<std::string>{"23 cwpi-out-of-range Force B"}));

    // A waypoint that does not read ends the case there and is found; Force B's finding moves down
    // with its line when a line is inserted above it, without Force B being checked again.
    const auto bad = document->EditLine(*forceA, 1, 2, "WP=bad");
    document->Apply(*bad);
    EXPECT_EQ(document->Case(*forceA, 1)->StoppedAt, 8u);
    EXPECT_TRUE(document->Case(*forceA, 1)->Waypoints.empty());
    EXPECT_EQ(Findings(), (std::vector<std::string>{"9 bad-position Force A", "23 cwpi-out-of-range Force B"}));
    const auto inserted = document->InsertLine(*forceA, 2, 1, "WP=3450N 02410E");
    document->Apply(*inserted);
    EXPECT_EQ(Findings(), (std::vector<std::string>{"9 bad-position Force A", "24 cwpi-out-of-range Force B"}));
    EXPECT_EQ(document->CasesOf(*forceA).CaseWaypoints[1].Count(), 2);
    document->Revert(*inserted);
    document->Revert(*bad);
    EXPECT_EQ(document->Case(*forceA, 1)->Waypoints.size(), 2u);
    EXPECT_EQ(Findings(), (std::vector<std::string>{"23 cwpi-out-of-range Force B"}));

    // The header's speed is read again with the lines, and goes back with them, also when the
    // side's edits are discarded.
    const auto speed = document->EditForceSpeed(*forceB, 25);
    document->Apply(*speed);
    EXPECT_EQ(forceB->Speed, 25);
    const auto discard = document->DiscardSideChanges(0);
    document->Apply(*discard);
    EXPECT_EQ(forceB->Speed, 20);
    document->Revert(*discard);
    EXPECT_EQ(forceB->Speed, 25);
    document->Revert(*speed);
    EXPECT_EQ(forceB->Speed, 20);
    // Fixing Force B's current waypoint clears its finding; undoing brings it back.
    const auto fixed = document->EditLine(*forceB, 1, 1, "CWPI=0");
    document->Apply(*fixed);
    EXPECT_TRUE(Findings().empty());
    document->Revert(*fixed);
    EXPECT_EQ(Findings(), (std::vector<std::string>{"23 cwpi-out-of-range Force B"}));
    // The panel's list: the load's diagnostics, then the findings with full file name and force.
    document->SetLoadDiagnostics({MessageDiagnostic("a message", 3, "/scen/AxisMissions.cfg")});
    const std::vector<TDiagnostic> all = document->Diagnostics();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].File, "/scen/AxisMissions.cfg");
    EXPECT_EQ(std::make_tuple(all[1].Line, all[1].Force, all[1].Case), std::make_tuple(23, forceB, 1));
}

TEST_F(DocumentTest, ListenersHearEachChangeWithTheForcesItTouched) {
    std::vector<std::string> heard;
    const int id = document->AddListener([&heard](const TDocumentChange& change) {
        std::string text = std::to_string(change.Side) + (change.Forward ? " apply" : " revert") + " @" +
                           std::to_string(change.Splice->First);
        for (const TForce* force : change.Forces) text += " " + force->Title();
        heard.push_back(text);
    });
    const auto deleted = document->DeleteLine(*forceA, 2, 2);  // the last line of Force A's block
    document->Apply(*deleted);
    document->Revert(*deleted);
    document->Apply(*document->EditForceSpeed(*forceB, 25));
    document->Apply(*document->DiscardSideChanges(0));
    document->RemoveListener(id);
    document->Apply(*document->EditLine(*forceA, 1, 1, "LL=3400N 02500E"));
    EXPECT_EQ(heard, (std::vector<std::string>{"0 apply @12 Force A", "0 revert @12 Force A", "0 apply @18 Force B",
                                               "0 apply @18 Force B"}));
    document->SetCurrent(forceB, 9);
    EXPECT_EQ(std::make_pair(document->CurrentForce(), document->CurrentCase()), std::make_pair(forceB, 6));
}

// ---- Unsaved lines kept for a restart after a crash -----------------------------------------

TEST(RecoveryStoreTest, KeepsEveryByteAndIgnoresADamagedFile) {
    // The file names must be the same in the next run: the hash's published FNV-1a values.
    EXPECT_EQ(RecoveryHash(""), "cbf29ce484222325");
    EXPECT_EQ(RecoveryHash("a"), "af63dc4c8601ec8c");

    const globe::testing::TempDir dir;
    platform::LocalFileSystem files;
    TRecoveryStore store(files, dir.Path.string());
    // Windows-1252 bytes, CR LF and lone CR or LF inside lines, empty lines, lines that look like
    // the file's own fields.
    const TRecoveryCopy axis{"/scen/Crete1941/", "AxisShips.cfg", 1796000000, RecoveryHash("AxisShips.cfg bytes"),
                             {"NAME=Kr\xe9ta \x80\x9c", "", "WP=3705N\r\n02410E", "\r", "\n", "line 3", "end 0", ""}};
    const TRecoveryCopy allied{"/scen/Crete1941", "AlliedShips.cfg", -5, "", {}};
    store.Keep(axis);
    store.Keep(allied);
    TRecoveryCopy axisRead = axis;
    axisRead.Folder = "/scen/Crete1941";
    EXPECT_EQ(store.Find("/scen/Crete1941", "AxisShips.cfg").Copy, axisRead);
    EXPECT_EQ(store.Find("/scen/Crete1941/", "AlliedShips.cfg").Copy, allied);
    const TRecoveryFound none = store.Find("/scen/Malta1941", "AxisShips.cfg");
    EXPECT_TRUE(!none.Copy && none.Note.empty());

    // Cut short anywhere, or a length or count that does not fit: ignored with a note naming it.
    const std::string name = store.FileName("/scen/Crete1941", "AxisShips.cfg");
    const std::string whole = globe::testing::ReadWholeFile(name);
    std::vector<std::string> damaged;
    for (std::size_t cut = 0; cut < whole.size(); ++cut) damaged.push_back(whole.substr(0, cut));
    for (const auto& [from, to] : {std::pair{"lines 1\n8", "lines 1\n9"}, {"line 16\n", "line 17\n"},
                                   {"time 10\n", "time 1x\n"}, {"line 0\n", "line 5\n"}, {"end 0\n\n", "end 0\n\nx"}}) {
        std::string changed = whole;
        ASSERT_NE(changed.find(from), std::string::npos) << from;
        damaged.push_back(changed.replace(changed.find(from), std::string_view(from).size(), to));
    }
    for (const std::string& bytes : damaged) {
        dir.Write(name.substr(name.rfind('/') + 1), bytes);
        const TRecoveryFound found = store.Find("/scen/Crete1941", "AxisShips.cfg");
        EXPECT_FALSE(found.Copy) << bytes;
        EXPECT_EQ(found.Note, "The unsaved changes kept in " + name + " are damaged and were ignored.");
    }

    store.Remove("/scen/Crete1941", "AxisShips.cfg");
    store.Remove("/scen/Crete1941", "AxisShips.cfg");
    EXPECT_FALSE(files.FileExists(name));
    EXPECT_TRUE(store.Find("/scen/Crete1941", "AlliedShips.cfg").Copy);
}

}  // namespace
}  // namespace scenario
