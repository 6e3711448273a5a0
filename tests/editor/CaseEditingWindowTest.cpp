// The force, case and line editing of the main window on a copy of the demo scenario, with the
// file written back byte for byte and the failure paths of saving on the real file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/editor/CreteWindowFixture.h"
#include "tests/support/WriteTraps.h"

namespace editor {
namespace {

using namespace editor::fixtures;

TEST_F(CaseEditingWindowTest, SelectingAForceShowsItsCasesInTheTabsAndTheListDeletedLinesGoWithTheirRoute) {
  Load();
  SelectForce("Sagittario convoy");
  EXPECT_EQ(window->Cases.CaseDelay[1], 4);  // its case 2 waits four hours
  SelectLine(3);
  ASSERT_NE(window->SelectedPoint.LatY, 0);
  // Another force starts without the previous force's delays and waypoint circle.
  SelectForce("Lupo convoy");
  EXPECT_EQ(window->Cases.CaseDelay[1], 0);
  EXPECT_EQ(window->SelectedPoint.LatY, 0);
  EXPECT_EQ(window->CurrentForce, &Force("Lupo convoy"));
  EXPECT_EQ(std::pair(window->tcCasesTabs->currentIndex(), window->CurrentCase), std::pair(0, 1));
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE1", "FORMATIONHEADING=200", "LL=3740N 02330E", "WP=3700N 02400E",
                                                "WP=3650N 02400E", "TP=3545N 02350E", "Target=Maleme",
                                                "Origin=Piraeus"}));
  // Lines 7 .. 14 of AxisShips.cfg (zero-based 6 .. 13).
  EXPECT_EQ(std::pair(window->CaseFirstLine, window->CaseLastLine), std::pair(6, 13));
  // Both cases parsed: start, waypoints with the origin base (Piraeus' entry point) at the end.
  const scenario::TForceCases& cases = window->Cases;
  EXPECT_EQ(cases.CaseStart[0], NorthEast(37, 40, 23, 30));
  ASSERT_EQ(cases.CaseWaypoints[0].Count(), 3);
  EXPECT_EQ(cases.CaseWaypoints[0].Point(0), NorthEast(37, 0, 24, 0));
  EXPECT_EQ(cases.CaseWaypoints[0].Point(2), NorthEast(37, 50, 23, 30));
  EXPECT_EQ(cases.CaseTargets[0].Count(), 2);  // TP= and the target base
  EXPECT_EQ(cases.CaseStart[1], NorthEast(37, 45, 23, 25));
  EXPECT_EQ(cases.CaseWaypoints[1].Count(), 2);
  EXPECT_EQ(cases.CaseWaypoints[2].Count(), 0);
  SelectTab(1);
  EXPECT_EQ(window->CurrentCase, 2);
  EXPECT_EQ(ShownLines().front(), "CASE2");
  EXPECT_EQ(ShownLines().back(), "Target=Maleme");
  // A case the mission does not have: an empty list, and its popup offers Add case.
  SelectTab(2);
  EXPECT_TRUE(ShownLines().empty());
  EXPECT_EQ(std::pair(window->CaseFirstLine, window->CaseLastLine), std::pair(20, 20));  // the "ENDMISSION" line
  window->puCaseListPopup();
  EXPECT_TRUE(window->Addcase1->isVisible() && window->AddcaseSeparator->isVisible());
  SelectTab(0);
  window->puCaseListPopup();
  EXPECT_FALSE(window->Addcase1->isVisible());
  // Clicking a waypoint line selects its point; any other line clears it.
  SelectLine(4);
  EXPECT_EQ(window->SelectedPoint, NorthEast(36, 50, 24, 0));
  SelectLine(6);
  EXPECT_EQ(window->SelectedPoint.LatY, 0);
  EXPECT_TRUE(dialogs->Reports().empty());
  EXPECT_FALSE(Modified());
  // A deleted waypoint line takes its circle along.
  SelectLine(4);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Delete1->trigger();
  EXPECT_EQ(window->SelectedPoint.LatY, 0);
  // Deleting every line but the header leaves no route; the header stands right before the
  // mission's end.
  SelectTab(1);
  while (ShownLines().size() > 1) {
    SelectLine(1);
    dialogs->QueueAnswer(DialogAnswer::Ok);
    window->Delete1->trigger();
  }
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE2"}));
  EXPECT_EQ(window->Cases.CaseWaypoints[1].Count(), 0);
  EXPECT_EQ(window->Cases.CaseTargets[1].Count(), 0);
  const platform::TextLines& lines = window->Scenario().SideLines[0];
  EXPECT_EQ(lines[static_cast<std::size_t>(window->CaseFirstLine)], "CASE2");
  EXPECT_EQ(lines[static_cast<std::size_t>(window->CaseFirstLine) + 1], "ENDMISSION");
}

TEST_F(CaseEditingWindowTest, EveryCaseOfEveryDemoForceHasARouteToDraw) {
  bool first = true;
  for (const fs::path& demo : {kCrete, fs::path(kProgramDir) / "Scenarios" / "Malta1941"}) {
    SCOPED_TRACE(demo.filename().string());
    if (!first) {
      TearDown();  // one scenario per window: a new window for the next demo
      SetUp();
    }
    first = false;
    Load(demo);
    for (int row = 0; row < window->lvForces->topLevelItemCount(); ++row) {
      window->lvForces->clearSelection();
      window->lvForces->topLevelItem(row)->setSelected(true);
      for (int n = 0; n < kCaseCount; ++n) {
        const int count = window->Cases.CaseWaypoints[static_cast<std::size_t>(n)].Count();
        // A case's current waypoint is one of its waypoints.
        if (count == 0) continue;
        EXPECT_LT(window->Cases.CaseCWPI[static_cast<std::size_t>(n)], count)
            << window->CurrentForce->Title() << " case " << n + 1;
      }
    }
    EXPECT_TRUE(dialogs->Reports().empty());
  }
}

TEST_F(CaseEditingWindowTest, EditInsertDeleteAndAddCaseAreSavedByteForByteUndoneAndRedone) {
  Load();
  EditLupoWaypoint();
  EXPECT_TRUE(Modified());
  ASSERT_EQ(dialogs->Calls().size(), 1u);
  EXPECT_EQ(dialogs->Calls()[0].title, "Edit line");
  EXPECT_EQ(dialogs->Calls()[0].text, "Edit case line");
  EXPECT_EQ(dialogs->Calls()[0].defaultText, "WP=3700N 02400E");
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));  // parsed again at once
  SelectLine(4);
  window->Insert1->trigger();  // a copy above the selected line
  EXPECT_EQ(ShownLines()[4], "WP=3650N 02400E");
  EXPECT_EQ(ShownLines()[5], "WP=3650N 02400E");
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Count(), 4);
  SelectLine(6);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Delete1->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).back(), "Delete point TP=3545N 02350E?");
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::OkCancel);
  EXPECT_EQ(window->Cases.CaseTargets[0].Count(), 1);
  // Cancel deletes nothing.
  SelectLine(6);
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  window->Delete1->trigger();
  EXPECT_EQ(ShownLines().size(), 8u);
  // Add case on the empty third tab copies case 2, whatever tab was shown.
  SelectTab(2);
  window->Addcase1->trigger();
  EXPECT_EQ(window->tcCasesTabs->currentIndex(), 2);
  EXPECT_EQ(window->CurrentCase, 3);
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE3", "FORMATIONHEADING=210", "LL=3745N 02325E",
                                                "WP=3710N 02340E", "WP=3620N 02330E", "Target=Maleme"}));
  window->Save1->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Message).back(), "File saved as: AxisShips.cfg");
  EXPECT_FALSE(Modified());
  EXPECT_FALSE(window->SideLinesChanged(0));
  std::string expected = OriginalAxisFile();
  expected = ReplacedOnce(expected, "WP=3700N 02400E\r\nWP=3650N 02400E\r\nTP=3545N 02350E\r\n",
                          "WP=3705N 02410E\r\nWP=3650N 02400E\r\nWP=3650N 02400E\r\n");
  expected = ReplacedOnce(expected, "CASECOUNT=2", "CASECOUNT=3");
  expected = ReplacedOnce(expected, "Target=Maleme\r\nENDMISSION\r\n",
                          "Target=Maleme\r\nCASE3\r\nFORMATIONHEADING=210\r\nLL=3745N 02325E\r\nWP=3710N 02340E\r\n"
                          "WP=3620N 02330E\r\nTarget=Maleme\r\nENDMISSION\r\n");
  EXPECT_EQ(AxisFile(), expected);
  EXPECT_EQ(ReadFile(scenarioDir / "AlliedShips.cfg"), ReadFile(kCrete / "AlliedShips.cfg"));
  // Each step undone in turn: Add case shows the empty third tab again, with no route for it;
  // the delete brings the target line back on the first tab.
  QUndoStack& stack = window->UndoStack();
  ASSERT_EQ(stack.count(), 4);
  EXPECT_EQ(stack.text(0), "Edit line 4 of Lupo convoy case 1");
  EXPECT_EQ(stack.text(1), "Insert line 5 of Lupo convoy case 1");
  EXPECT_EQ(stack.text(2), "Delete line 7 of Lupo convoy case 1");
  EXPECT_EQ(stack.text(3), "Add case 3 to Lupo convoy");
  const platform::TextLines edited = window->Scenario().SideLines[0];
  window->Undo1->trigger();
  EXPECT_EQ(window->CurrentCase, 3);
  EXPECT_TRUE(ShownLines().empty());
  EXPECT_EQ(window->Cases.CaseWaypoints[2].Count(), 0);
  window->Undo1->trigger();
  EXPECT_EQ(window->tcCasesTabs->currentIndex(), 0);
  EXPECT_EQ(ShownLines()[6], "TP=3545N 02350E");
  EXPECT_EQ(window->Cases.CaseTargets[0].Count(), 2);
  window->Undo1->trigger();
  window->Undo1->trigger();
  EXPECT_EQ(platform::JoinLinesCrLf(window->Scenario().SideLines[0]), OriginalAxisFile());
  EXPECT_FALSE(window->Undo1->isEnabled());
  EXPECT_TRUE(Modified());  // differs from the saved file
  for (int i = 0; i < 4; ++i) window->Redo1->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0], edited);
  EXPECT_EQ(window->CurrentCase, 3);  // Add case redone: its tab, drawn
  EXPECT_EQ(window->Cases.CaseWaypoints[2].Count(), 2);
  EXPECT_FALSE(Modified());
}

// "No" at the question discards the edit as a step of its own: undone, the edit is back.
TEST_F(CaseEditingWindowTest, SaveQuestionOnceAtAForceChangeAndNoDiscardsTheEditUndoably) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueAnswer(DialogAnswer::No);
  SelectForce("Force A1");
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to ship file?"}));
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::YesNo);
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(window->CurrentForce->Title(), "Force A1");
  EXPECT_EQ(window->Undo1->text(), "Undo Discard changes to AxisShips.cfg");
  EXPECT_FALSE(Modified());
  EXPECT_FALSE(window->SideLinesChanged(0));  // the declined edit is gone from the lines
  window->Save1->trigger();  // Force A1's side; the Axis file was never written
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  SelectForce("Sagittario convoy");
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).size(), 1u);  // asked once
  window->Save1->trigger();  // the Axis side: the file as it was
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  window->Undo1->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0][9], "WP=3705N 02410E");
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  window->Redo1->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0][9], "WP=3700N 02400E");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
}

TEST_F(CaseEditingWindowTest, EditForceWritesTheSpeedCappedAt32ReadsTheForceAgainAndIsUndone) {
  Load();
  SelectForce("Lupo convoy");
  // A header speed above the dialog's limit.
  platform::TextLines& lines = window->Scenario().SideLines[0];
  ASSERT_EQ(lines[3], "SPEED=7");
  lines[3] = "SPEED=40";
  int shownSpeed = -1;
  QString overview;
  QTimer::singleShot(0, [&] {
    ASSERT_NE(window->dlgForceInfo, nullptr);
    shownSpeed = window->dlgForceInfo->seSpeed->value();
    overview = window->dlgForceInfo->Memo1->toPlainText();
    window->dlgForceInfo->OKBtn->click();
  });
  window->Editforce1->trigger();
  EXPECT_EQ(shownSpeed, 32);
  EXPECT_EQ(overview, "NAME=Lupo convoy\nNUMBER=0\nSPEED=40\nMISSION=SlTacTransport");
  EXPECT_EQ(lines[3], "SPEED=32");
  EXPECT_EQ(window->CurrentForce->Title(), "Lupo convoy");
  EXPECT_EQ(window->CurrentForce->Speed, 32);
  const auto row = window->lvForces->findItems("Lupo convoy", Qt::MatchExactly, 0);
  ASSERT_FALSE(row.isEmpty());
  EXPECT_TRUE(row.front()->isSelected());
  EXPECT_EQ(row.front()->text(1), "32");
  EXPECT_FALSE(Modified());  // Edit force does not count as an edit
  EXPECT_EQ(ShownLines().front(), "CASE1");
  // Cancel changes nothing.
  QTimer::singleShot(0, [&] {
    window->dlgForceInfo->seSpeed->setValue(3);
    window->dlgForceInfo->CancelBtn->click();
  });
  window->Editforce1->trigger();
  EXPECT_EQ(lines[3], "SPEED=32");
  // OK with another speed is a step; undone, the force has its speed again.
  QTimer::singleShot(0, [&] {
    window->dlgForceInfo->seSpeed->setValue(12);
    window->dlgForceInfo->OKBtn->click();
  });
  window->Editforce1->trigger();
  ASSERT_EQ(lines[3], "SPEED=12");
  EXPECT_EQ(window->Undo1->text(), "Undo Edit force Lupo convoy");
  window->Undo1->trigger();
  EXPECT_EQ(lines[3], "SPEED=32");
  EXPECT_EQ(window->CurrentForce->Speed, 32);
  EXPECT_EQ(window->lvForces->findItems("Lupo convoy", Qt::MatchExactly, 0).front()->text(1), "32");
  window->Redo1->trigger();
  EXPECT_EQ(window->CurrentForce->Speed, 12);
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
}

TEST_F(CaseEditingWindowTest, CampaignSideIsSavedToItsMissionsFileWithCrLfLineEnds) {
  const fs::path malta = fs::path(kProgramDir) / "Scenarios" / "Malta1941";
  const std::string original = ReadFile(malta / "AlliedMissions.cfg");
  ASSERT_EQ(original.substr(original.size() - 4), "\r\n\r\n");
  // The copy has bare line feeds.
  prepare = [&] {
    std::string bare;
    for (char c : original) {
      if (c != '\r') bare += c;
    }
    std::ofstream(scenarioDir / "AlliedMissions.cfg", std::ios::binary | std::ios::trunc) << bare;
  };
  Load(malta);
  window->Save1->trigger();  // no force selected yet: nothing is written
  EXPECT_TRUE(dialogs->Calls().empty());
  SelectForce("Force H");
  window->Save1->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Message), (std::vector<std::string>{"File saved as: AlliedMissions.cfg"}));
  EXPECT_EQ(ReadFile(scenarioDir / "AlliedMissions.cfg"), original);
  EXPECT_EQ(ReadFile(scenarioDir / "AxisMissions.cfg"), ReadFile(malta / "AxisMissions.cfg"));
}

// The case list's Edit checks the new text with the case-line rules: a refused text stays in
// the box with its reason, and no line changes until an accepted text or Cancel closes it.
TEST_F(CaseEditingWindowTest, EachRefusedKindKeepsTheBoxOpenAndChangesNoLine) {
  Load();
  SelectForce("Lupo convoy");
  const platform::TextLines loaded = window->Scenario().SideLines[0];
  for (const char* refused : {"WP=9999X 99999Q", "TP=north", "LL=37 40", "LOCATION=Atlantis", "Target=Atlantis",
                              "Origin=Nowhere", "CWPI=one", "SPEED=fast"}) {
    SCOPED_TRACE(refused);
    dialogs->ClearCalls();
    SelectLine(3);
    dialogs->QueueInput(refused);
    dialogs->QueueInputCancel();  // the user gives up on the open box
    window->Edit1->trigger();
    // One box: the refusal is shown in it, not in a message box of its own.
    EXPECT_EQ(dialogs->Texts(DialogKind::Input).size(), 1u);
    ASSERT_EQ(dialogs->Texts(DialogKind::Refusal).size(), 1u);
    EXPECT_FALSE(dialogs->Texts(DialogKind::Refusal).front().empty());
    EXPECT_TRUE(dialogs->Reports().empty());
    EXPECT_EQ(window->Scenario().SideLines[0], loaded);
    EXPECT_EQ(ShownLines()[3], "WP=3700N 02400E");
  }
  EXPECT_EQ(window->UndoStack().count(), 0);
  EXPECT_TRUE(Modified());  // a cancelled edit keeps the line but counts as an edit
  EXPECT_FALSE(window->SideLinesChanged(0));
}

TEST_F(CaseEditingWindowTest, ACorrectedTextInTheSameBoxIsStored) {
  Load();
  SelectForce("Lupo convoy");
  SelectLine(3);
  dialogs->QueueInput("WP=3705N 0241OE");  // a letter O for a zero
  dialogs->QueueInput("WP=3705N 02410E");
  window->Edit1->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Refusal), (std::vector<std::string>{"Lat/Long conversion error"}));
  EXPECT_EQ(ShownLines()[3], "WP=3705N 02410E");
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));
  // Lines the case rules do not read are stored as typed.
  SelectLine(1);
  dialogs->QueueInput("FORMATIONHEADING=2OO  ");
  window->Edit1->trigger();
  EXPECT_EQ(ShownLines()[1], "FORMATIONHEADING=2OO  ");
  EXPECT_EQ(dialogs->Texts(DialogKind::Refusal).size(), 1u);
}

// ---- Failure paths of saving: the old file, the lines and Modified stay -----------------------

class SaveFailureTest : public CaseEditingWindowTest {
 protected:
  void ExpectNothingSaved(const platform::TextLines& edited) {
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("AxisShips.cfg"), std::string::npos) << Errors()[0];
    EXPECT_EQ(AxisFile(), OriginalAxisFile());
    EXPECT_TRUE(Modified());
    EXPECT_EQ(window->Scenario().SideLines[0], edited);
    EXPECT_TRUE(dialogs->Texts(DialogKind::Message).empty());  // no "File saved as"
  }
};

TEST_F(SaveFailureTest, ReadOnlyFile) {
  Load();
  EditLupoWaypoint();
  const platform::TextLines edited = window->Scenario().SideLines[0];
  fs::permissions(scenarioDir / "AxisShips.cfg", fs::perms::owner_read | fs::perms::group_read);
  window->Save1->trigger();
  ExpectNothingSaved(edited);
  EXPECT_NE(Errors()[0].find("read-only"), std::string::npos) << Errors()[0];
}

// Where no new file can be made beside it, or other hard links share it, the file is written in
// place and the save succeeds.
TEST_F(CaseEditingWindowTest, SavingIntoAFolderThatTakesNoNewFileWritesTheFileInPlace) {
  Load();
  EditLupoWaypoint();
  corvalis::testing::ReadOnlyFolder locked(scenarioDir);
  if (!locked.Active()) GTEST_SKIP() << "no way to make a read-only or immutable folder here";
  window->Save1->trigger();
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  EXPECT_FALSE(Modified());
}

TEST_F(CaseEditingWindowTest, SavingThroughAHardLinkChangesEveryName) {
  const fs::path kept = root / "kept.cfg";
  prepare = [&] {
    std::error_code ec;
    fs::create_hard_link(scenarioDir / "AxisShips.cfg", kept, ec);
  };
  Load();
  if (!fs::exists(kept)) GTEST_SKIP() << "no hard links here";
  EditLupoWaypoint();
  window->Save1->trigger();
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  const std::string expected = ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E");
  EXPECT_EQ(AxisFile(), expected);
  EXPECT_EQ(ReadFile(kept), expected);
  EXPECT_EQ(fs::hard_link_count(kept), 2u);
}

TEST_F(SaveFailureTest, FullDisk) {
  const fs::path small = root / "small";
  corvalis::testing::SmallFileSystem disk(small, 64 * 1024);
  if (disk.Mounted()) {
    scenarioDir = small / "Crete1941";
  } else {
    window->SetFileSystem(std::make_unique<FullDiskFileSystem>());
  }
  Load();
  if (disk.Mounted()) {
    // Whatever room is left is taken.
    std::ofstream filler(small / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
  }
  EditLupoWaypoint();
  const platform::TextLines edited = window->Scenario().SideLines[0];
  window->Save1->trigger();
  ExpectNothingSaved(edited);
  // The force change that asked for the save does not happen either.
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_EQ(Errors().size(), 1u);
  EXPECT_EQ(window->CurrentForce->Title(), "Lupo convoy");
  EXPECT_TRUE(Modified());
  const auto row = window->lvForces->findItems("Lupo convoy", Qt::MatchExactly, 0);
  EXPECT_TRUE(row.front()->isSelected());
}

// ---- Closing with unsaved lines ---------------------------------------------------------------

// Edits undone to the saved lines ask nothing; otherwise each changed side is asked about in
// turn, Cancel or a failed save keeps the window, No drops that side's edits.
TEST_F(CaseEditingWindowTest, ClosingAsksPerChangedSideAndCancelOrAFailedSaveKeepsTheWindow) {
  Load();
  window->show();
  EditLupoWaypoint();
  SelectLine(2);
  dialogs->QueueInput("LL=3741N 02330E");
  window->Edit1->trigger();
  window->Undo1->trigger();
  window->Undo1->trigger();
  dialogs->ClearCalls();
  EXPECT_TRUE(window->CloseQuery());
  EXPECT_TRUE(dialogs->Calls().empty());
  EditLupoWaypoint();
  // The Allied side changed too, without a force change.
  ASSERT_TRUE(window->ReplaceCaseLine(Force("Force A1"), 1, 1, "FORMATIONHEADING=301"));
  EXPECT_EQ(window->CurrentForce->Title(), "Force A1");
  EXPECT_TRUE(window->SideLinesChanged(0) && window->SideLinesChanged(1));
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to AxisShips.cfg?"}));
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::YesNoCancel);
  fs::permissions(scenarioDir / "AxisShips.cfg", fs::perms::owner_read);
  dialogs->QueueAnswer(DialogAnswer::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  fs::permissions(scenarioDir / "AxisShips.cfg", fs::perms::owner_read | fs::perms::owner_write);
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  dialogs->QueueAnswer(DialogAnswer::No);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm),
            (std::vector<std::string>{"Save changes to AxisShips.cfg?", "Save changes to AlliedShips.cfg?"}));
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  EXPECT_EQ(ReadFile(scenarioDir / "AlliedShips.cfg"), ReadFile(kCrete / "AlliedShips.cfg"));
}

}  // namespace
}  // namespace editor
