// The force, case and line editing of the main window on a copy of the demo scenario, with the
// file written back byte for byte and the failure paths of saving on the real file system.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "editor/EditMain.h"
#include "editor/ForceInfo.h"
#include "platform/FileError.h"
#include "platform/LocalFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/Force.h"
#include "tests/editor/CreteWindowFixture.h"
#include "tests/support/WriteTraps.h"

namespace editor {
namespace {

using namespace editor::fixtures;

TEST_F(CaseEditingWindowTest, SelectingAForceShowsItsCasesInTheTabsAndTheList) {
  Load();
  SelectForce("Lupo convoy");
  ASSERT_NE(window->CurrentForce, nullptr);
  EXPECT_EQ(window->CurrentForce->Title(), "Lupo convoy");
  EXPECT_EQ(window->tcCasesTabs->currentIndex(), 0);
  EXPECT_EQ(window->CurrentCase, 1);
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE1", "FORMATIONHEADING=200", "LL=3740N 02330E", "WP=3700N 02400E",
                                                "WP=3650N 02400E", "TP=3545N 02350E", "Target=Maleme",
                                                "Origin=Piraeus"}));
  // Lines 7 .. 14 of AxisShips.cfg (zero-based 6 .. 13).
  EXPECT_EQ(window->CaseFirstLine, 6);
  EXPECT_EQ(window->CaseLastLine, 13);

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
  EXPECT_EQ(window->CaseFirstLine, 20);  // the "ENDMISSION" line
  EXPECT_EQ(window->CaseLastLine, 20);
  window->puCaseListPopup();
  EXPECT_TRUE(window->Addcase1->isVisible());
  EXPECT_TRUE(window->AddcaseSeparator->isVisible());
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
}

TEST_F(CaseEditingWindowTest, WaypointCircleGoesWithAnotherForceOrItsDeletedLine) {
  Load();
  SelectForce("Lupo convoy");
  SelectLine(3);
  ASSERT_NE(window->SelectedPoint.LatY, 0);
  SelectForce("Force A1");
  EXPECT_EQ(window->SelectedPoint.LatY, 0);
  SelectLine(4);
  ASSERT_NE(window->SelectedPoint.LatY, 0);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Delete1->trigger();
  EXPECT_EQ(window->SelectedPoint.LatY, 0);
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

TEST_F(CaseEditingWindowTest, AnotherForceStartsWithoutThePreviousForcesDelays) {
  Load();
  SelectForce("Sagittario convoy");
  EXPECT_EQ(window->Cases.CaseDelay[1], 4);  // its case 2 waits four hours
  SelectForce("Lupo convoy");                 // whose case 2 has no delay line
  EXPECT_EQ(window->Cases.CaseDelay[1], 0);
  EXPECT_EQ(window->Cases.CaseStart[1], NorthEast(37, 45, 23, 25));
}

TEST_F(CaseEditingWindowTest, EditInsertDeleteAndAddCaseAreSavedByteForByte) {
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
}

TEST_F(CaseEditingWindowTest, SaveQuestionOnceAtAForceChangeAndNoDiscardsTheEdit) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueAnswer(DialogAnswer::No);
  SelectForce("Force A1");
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to ship file?"}));
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::YesNo);
  EXPECT_EQ(window->CurrentForce->Title(), "Force A1");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  EXPECT_FALSE(window->SideLinesChanged(0));  // the declined edit is gone from the lines
  SelectForce("Sagittario convoy");
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).size(), 1u);  // asked once

  window->Save1->trigger();  // the Axis side: the file as it was
  EXPECT_EQ(AxisFile(), OriginalAxisFile());

  // Yes saves the side of the force selected so far.
  EditLupoWaypoint();
  SelectLine(2);
  dialogs->QueueInput("LL=3741N 02330E");
  window->Edit1->trigger();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_NE(AxisFile().find("LL=3741N 02330E\r\n"), std::string::npos);
}

TEST_F(CaseEditingWindowTest, CancelledEditKeepsTheLineButSetsModified) {
  Load();
  SelectForce("Lupo convoy");
  const platform::TextLines before = window->Scenario().SideLines[0];
  SelectLine(3);
  dialogs->QueueInputCancel();
  window->Edit1->trigger();
  EXPECT_TRUE(Modified());
  EXPECT_EQ(window->Scenario().SideLines[0], before);
  EXPECT_FALSE(window->SideLinesChanged(0));
}

TEST_F(CaseEditingWindowTest, DeletingEveryLineButTheHeaderLeavesNoRoute) {
  Load();
  SelectForce("Lupo convoy");
  SelectTab(1);
  while (ShownLines().size() > 1) {
    SelectLine(1);
    dialogs->QueueAnswer(DialogAnswer::Ok);
    window->Delete1->trigger();
  }
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE2"}));
  EXPECT_EQ(window->Cases.CaseWaypoints[1].Count(), 0);
  EXPECT_EQ(window->Cases.CaseTargets[1].Count(), 0);
  // The header stands right before the mission's end.
  const platform::TextLines& lines = window->Scenario().SideLines[0];
  EXPECT_EQ(lines[static_cast<std::size_t>(window->CaseFirstLine)], "CASE2");
  EXPECT_EQ(lines[static_cast<std::size_t>(window->CaseFirstLine) + 1], "ENDMISSION");
}

TEST_F(CaseEditingWindowTest, EditForceWritesTheSpeedCappedAt32AndReadsTheForceAgain) {
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

TEST_F(CaseEditingWindowTest, ClosingAsksPerChangedSideAndCancelKeepsTheWindow) {
  Load();
  window->show();
  EXPECT_TRUE(window->CloseQuery());  // nothing changed: no question
  EXPECT_TRUE(dialogs->Calls().empty());

  EditLupoWaypoint();
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to AxisShips.cfg?"}));
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::YesNoCancel);

  // Yes saves that side; a failed save keeps the window open.
  fs::permissions(scenarioDir / "AxisShips.cfg", fs::perms::owner_read);
  dialogs->QueueAnswer(DialogAnswer::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  fs::permissions(scenarioDir / "AxisShips.cfg", fs::perms::owner_read | fs::perms::owner_write);
  dialogs->QueueAnswer(DialogAnswer::Yes);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
}

TEST_F(CaseEditingWindowTest, ClosingAsksForEachSideAndNoDiscardsTheEdits) {
  Load();
  window->show();
  EditLupoWaypoint();
  // The Allied side changed too, without a force change.
  ASSERT_TRUE(window->ReplaceCaseLine(Force("Force A1"), 1, 1, "FORMATIONHEADING=301"));
  EXPECT_EQ(window->CurrentForce->Title(), "Force A1");
  EXPECT_TRUE(window->SideLinesChanged(0));
  EXPECT_TRUE(window->SideLinesChanged(1));
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::No);
  dialogs->QueueAnswer(DialogAnswer::No);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm),
            (std::vector<std::string>{"Save changes to AxisShips.cfg?", "Save changes to AlliedShips.cfg?"}));
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  EXPECT_EQ(ReadFile(scenarioDir / "AlliedShips.cfg"), ReadFile(kCrete / "AlliedShips.cfg"));
}

}  // namespace
}  // namespace editor
