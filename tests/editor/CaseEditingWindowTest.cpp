// Force, case and line editing on a copy of the demo, saved byte for byte, undone, and failing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <QFont>
#include <QLineEdit>
#include <QStatusBar>
#include <QWindow>
#include <QScrollBar>
#include <QTest>

#include "editor/ProblemsPanel.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using namespace editor::fixtures;

TEST_F(CaseEditingWindowTest, SelectingAForceShowsItsCasesInTheTabsAndTheListDeletedLinesGoWithTheirRoute) {
  Load();
  SelectForce("Sagittario convoy");
  EXPECT_EQ(window->EditState().Cases.CaseDelay[1], 4);  // its case 2 waits four hours
  SelectLine(3);
  ASSERT_NE(window->EditState().SelectedPoint.LatY, 0);
  SelectForce("Lupo convoy");
  EXPECT_EQ(window->EditState().Cases.CaseDelay[1], 0);
  EXPECT_EQ(window->EditState().SelectedPoint.LatY, 0);
  EXPECT_EQ(window->CaseEditor().CurrentCase(), 1);
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE1", "FORMATIONHEADING=200", "LL=3740N 02330E", "WP=3700N 02400E",
                                                "WP=3650N 02400E", "TP=3545N 02350E", "Target=Maleme",
                                                "Origin=Piraeus"}));
  // A case the mission does not have: an empty list, and its popup offers Add case.
  SelectTab(2);
  EXPECT_TRUE(ShownLines().empty());
  const QList<QAction*> popup = Child<QMenu>("puCaseList")->actions();  // Add case and its separator first
  EXPECT_TRUE(popup.at(0)->isVisible() && popup.at(1)->isVisible());
  SelectTab(0);
  EXPECT_FALSE(window->Actions()[TCommand::AddCase]->isVisible());
  // Clicking a waypoint line selects its point; any other line clears it.
  SelectLine(4);
  EXPECT_EQ(window->EditState().SelectedPoint, NorthEast(36, 50, 24, 0));
  SelectLine(6);
  EXPECT_EQ(window->EditState().SelectedPoint.LatY, 0);
  SelectLine(4);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Actions()[TCommand::DeleteLine]->trigger();
  EXPECT_EQ(window->EditState().SelectedPoint.LatY, 0);
}

TEST_F(CaseEditingWindowTest, EditInsertDeleteAndAddCaseAreSavedByteForByteUndoneAndRedone) {
  Load();
  EditLupoWaypoint();
  EXPECT_EQ(dialogs->Calls().at(0).defaultText, "WP=3700N 02400E");
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));  // parsed again at once
  SelectLine(4);
  window->Actions()[TCommand::InsertLine]->trigger();  // a copy above the selected line
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Count(), 4);
  SelectLine(6);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Actions()[TCommand::DeleteLine]->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).back(), "Delete point TP=3545N 02350E?");
  EXPECT_EQ(window->EditState().Cases.CaseTargets[0].Count(), 1);
  SelectLine(6);
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  window->Actions()[TCommand::DeleteLine]->trigger();
  EXPECT_EQ(ShownLines().size(), 8u);
  // Add case on the empty third tab copies case 2, whatever tab was shown.
  SelectTab(2);
  window->Actions()[TCommand::AddCase]->trigger();
  EXPECT_EQ(ShownLines(), (platform::TextLines{"CASE3", "FORMATIONHEADING=210", "LL=3745N 02325E",
                                                "WP=3710N 02340E", "WP=3620N 02330E", "Target=Maleme"}));
  window->Actions()[TCommand::Save]->trigger();
  // Said in the status bar; the message box only when chosen in the View menu.
  EXPECT_EQ(window->statusBar()->currentMessage(), "Saved AxisShips.cfg");
  EXPECT_TRUE(dialogs->Texts(DialogKind::Message).empty());
  EXPECT_FALSE(Modified());
  std::string expected = OriginalAxisFile();
  expected = ReplacedOnce(expected, "WP=3700N 02400E\r\nWP=3650N 02400E\r\nTP=3545N 02350E\r\n",
                          "WP=3705N 02410E\r\nWP=3650N 02400E\r\nWP=3650N 02400E\r\n");
  expected = ReplacedOnce(expected, "CASECOUNT=2", "CASECOUNT=3");
  expected = ReplacedOnce(expected, "Target=Maleme\r\nENDMISSION\r\n",
                          "Target=Maleme\r\nCASE3\r\nFORMATIONHEADING=210\r\nLL=3745N 02325E\r\nWP=3710N 02340E\r\n"
                          "WP=3620N 02330E\r\nTarget=Maleme\r\nENDMISSION\r\n");
  EXPECT_EQ(AxisFile(), expected);
  // Undone in turn: Add case shows its empty tab again, the delete brings the target line back.
  ASSERT_EQ(window->UndoStack().count(), 4);
  EXPECT_EQ(window->UndoStack().text(2), "Delete line 7 of Lupo convoy case 1");
  const platform::TextLines edited = window->Scenario().SideLines[0];
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_TRUE(window->CaseEditor().CurrentCase() == 3 && ShownLines().empty());
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[2].Count(), 0);
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(ShownLines()[6], "TP=3545N 02350E");
  for (int i = 0; i < 2; ++i) window->Actions()[TCommand::Redo]->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0], edited);
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[2].Count(), 2);  // Add case redone: its tab, drawn
}

// Undo shows the place of the step again, the force too when it changed since; the window's
// public calls are steps of their own.
TEST_F(CaseEditingWindowTest, UndoShowsTheStepsPlaceAlsoAcrossAForceChangeAndPublicCallsAreSteps) {
  Load();
  SelectForce("Lupo convoy");
  scenario::TForce& forceA1 = Force("Force A1");
  ASSERT_TRUE(window->CaseEditor().ReplaceCaseLine(forceA1, 2, 3, "WP=3445N 02405E", "Move waypoint"));
  EXPECT_EQ(std::pair(window->CaseEditor().CurrentCase(), CurrentLine()), std::pair(2, 3));
  ASSERT_TRUE(window->CaseEditor().InsertCaseLine(forceA1, 2, 4, "WP=3500N 02300E"));
  EXPECT_EQ(window->UndoStack().text(1), "Insert line 5 of Force A1 case 2");
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(window->Actions()[TCommand::Undo]->text(), "Undo Move waypoint");
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Title(), "Lupo convoy");  // where the first step started
  EditLupoWaypoint();
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(CurrentLine(), 3);
  EXPECT_EQ(window->EditState().SelectedPoint, NorthEast(37, 0, 24, 0));
  EXPECT_EQ(window->Actions()[TCommand::Redo]->text(), "Redo Edit line 4 of Lupo convoy case 1");
  window->Actions()[TCommand::Redo]->trigger();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  const std::string edited = ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E");
  EXPECT_EQ(AxisFile(), edited);
  dialogs->ClearCalls();
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Title(), "Lupo convoy");
  EXPECT_TRUE(ForcesView().selectionModel()->isRowSelected(window->Forces().RowOf("Lupo convoy")));
  EXPECT_EQ(ShownLines()[3], "WP=3700N 02400E");
  EXPECT_TRUE(Modified());  // differs from the saved file now
  EXPECT_TRUE(dialogs->Calls().empty());
}

// "No" at the question discards the edit as a step of its own: undone, the edit is back.
TEST_F(CaseEditingWindowTest, SaveQuestionOnceAtAForceChangeAndNoDiscardsTheEditUndoably) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueAnswer(DialogAnswer::No);
  SelectForce("Force A1");
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to AxisShips.cfg?"}));
  EXPECT_EQ(window->Actions()[TCommand::Undo]->text(), "Undo Discard changes to AxisShips.cfg");
  EXPECT_FALSE(Modified() || window->Saving().SideLinesChanged(0));  // the declined edit is gone from the lines
  SelectForce("Sagittario convoy");
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).size(), 1u);  // asked once
  window->Actions()[TCommand::Save]->trigger();  // the Axis side: the file as it was
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0][9], "WP=3705N 02410E");
  window->Actions()[TCommand::Save]->trigger();
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  EXPECT_TRUE(Errors().empty()) << Errors().front();
}

// Edit force changes only what the user changed: a file speed beyond the box's 32 knots stays
// as it is on an untouched OK, and a typed speed beyond it is held visibly before OK takes it.
TEST_F(CaseEditingWindowTest, EditForceKeepsAnUntouchedSpeedHoldsATypedOneVisiblyAndIsUndone) {
  Load();
  SelectForce("Abdiel");
  platform::TextLines& lines = window->Scenario().SideLines[1];
  const std::size_t speedLine = static_cast<std::size_t>(std::ranges::find(lines, "SPEED=34") - lines.begin());
  ASSERT_LT(speedLine, lines.size());
  TdlgForceInfo* dialog = nullptr;
  int shownSpeed = -1;
  QString note, overview;
  int overviewScroll = -1;
  QTimer::singleShot(0, [&] {
    dialog = Child<TdlgForceInfo>("dlgForceInfo");
    ASSERT_NE(dialog, nullptr);
    shownSpeed = dialog->seSpeed->value();
    note = dialog->lbSpeedHeld->text();
    overview = dialog->Memo1->toPlainText();
    overviewScroll = dialog->Memo1->horizontalScrollBar()->value();
    dialog->OKBtn->click();
  });
  window->Actions()[TCommand::EditForce]->trigger();
  EXPECT_EQ(shownSpeed, 32);
  EXPECT_TRUE(note.contains("34")) << note.toStdString();
  EXPECT_TRUE(overview.startsWith("NAME=Abdiel\nNUMBER=4\nSPEED=34\nMISSION=Minelaying")) << overview.toStdString();
  EXPECT_EQ(overviewScroll, 0);  // opens at the start of its lines
  EXPECT_EQ(lines[speedLine], "SPEED=34");
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Speed, 34);
  EXPECT_FALSE(Modified());
  EXPECT_FALSE(window->Actions()[TCommand::Undo]->isEnabled());
  // A typed 40: the first OK holds it to 32 in the box and says why; the next OK stores it.
  bool stayedOpen = false;
  QTimer::singleShot(0, [&] {
    dialog->seSpeed->lineEdit()->selectAll();
    QTest::keyClicks(dialog->seSpeed->lineEdit(), "40");
    dialog->OKBtn->click();
    stayedOpen = dialog->isVisible();
    shownSpeed = dialog->seSpeed->value();
    note = dialog->seSpeed->lineEdit()->text() + " " + dialog->lbSpeedHeld->text();
    dialog->OKBtn->click();
  });
  window->Actions()[TCommand::EditForce]->trigger();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(shownSpeed, 32);
  EXPECT_TRUE(note.startsWith("32 ") && note.contains("40")) << note.toStdString();
  EXPECT_EQ(lines[speedLine], "SPEED=32");
  // OK with another speed is a step; undone, the force has its speed again.
  QTimer::singleShot(0, [&] {
    dialog->seSpeed->setValue(12);
    dialog->OKBtn->click();
  });
  window->Actions()[TCommand::EditForce]->trigger();
  ASSERT_EQ(lines[speedLine], "SPEED=12");
  EXPECT_EQ(window->Actions()[TCommand::Undo]->text(), "Undo Edit force Abdiel");
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(lines[speedLine], "SPEED=32");
  EXPECT_EQ(ForceCell("Abdiel", 1), "32");
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
}

// The question names the side file; Cancel keeps the force and its edits.
TEST_F(CaseEditingWindowTest, CancelAtTheSaveQuestionKeepsTheForceAndItsEdits) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  SelectForce("Force A1");
  ASSERT_EQ(dialogs->Calls().size(), 2u);
  EXPECT_EQ(dialogs->Calls().back().text, "Save changes to AxisShips.cfg?");
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::YesNoCancel);
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Title(), "Lupo convoy");
  EXPECT_TRUE(ForcesView().selectionModel()->isRowSelected(window->Forces().RowOf("Lupo convoy")));
  EXPECT_EQ(ShownLines()[3], "WP=3705N 02410E");
  EXPECT_TRUE(Modified());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

// A case line naming no base is said once per load, as a record in the Problems panel, and in a
// message box only when the load's messages do not go to the panel only; selecting the force
// again says nothing more.
TEST_F(CaseEditingWindowTest, AnUnknownCaseLocationIsSaidOncePerLoadInThePanelWhenChosen) {
  prepare = [this] {
    const fs::path file = scenarioDir / "AxisShips.cfg";
    const std::string bytes = ReplacedOnce(ReadFile(file), "LL=3740N 02330E", "LOCATION=Nowhere");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  };
  const std::string message = "Cannot find location \"Nowhere\" for TF Lupo convoy";
  const auto panelRecords = [&] {
    return std::ranges::count_if(Child<TdkProblems>("dkProblems")->Problems(), [&](const scenario::TDiagnostic& problem) {
      return problem.Text.starts_with("Cannot find location \"Nowhere\"");
    });
  };
  fs::create_directories(scenarioDir);
  for (const auto& entry : fs::directory_iterator(kCrete)) fs::copy_file(entry.path(), scenarioDir / entry.path().filename());
  prepare();
  for (const bool panelOnly : {false, true}) {
    window->Actions()[TCommand::PanelOnly]->setChecked(panelOnly);
    dialogs->ClearCalls();
    ASSERT_TRUE(window->OpenDirectory(scenarioDir.string()));
    for (int selection = 0; selection < 3; ++selection) {
      SelectForce("Lupo convoy");
      SelectForce("Force A1");
    }
    EXPECT_EQ(dialogs->Texts(DialogKind::Message), panelOnly ? std::vector<std::string>{} : std::vector{message});
    EXPECT_EQ(panelRecords(), 1) << panelOnly;
  }
}

TEST_F(CaseEditingWindowTest, CampaignSideIsSavedToItsMissionsFileWithCrLfLineEnds) {
  const fs::path malta = fs::path(kProgramDir) / "Scenarios" / "Malta1941";
  const std::string original = ReadFile(malta / "AlliedMissions.cfg");
  ASSERT_EQ(original.substr(original.size() - 4), "\r\n\r\n");
  prepare = [&] {
    std::string bare = original;
    std::erase(bare, '\r');
    std::ofstream(scenarioDir / "AlliedMissions.cfg", std::ios::binary | std::ios::trunc) << bare;
  };
  Load(malta);
  EXPECT_TRUE(window->Saving().SaveSideLines());  // no force selected yet: nothing is written
  EXPECT_TRUE(dialogs->Calls().empty());
  SelectForce("Force H");
  EXPECT_FALSE(window->Actions()[TCommand::Save]->isEnabled());  // offered for unsaved edits only
  window->Actions()[TCommand::ConfirmSaves]->trigger();
  EXPECT_TRUE(window->Saving().SaveSideLines());
  EXPECT_EQ(dialogs->Texts(DialogKind::Message), (std::vector<std::string>{"File saved as: AlliedMissions.cfg"}));
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());  // the file is as loaded, LF ends and all
  EXPECT_EQ(ReadFile(scenarioDir / "AlliedMissions.cfg"), original);
  EXPECT_EQ(ReadFile(scenarioDir / "AxisMissions.cfg"), ReadFile(malta / "AxisMissions.cfg"));
}

// The case list's Edit checks the new text with the case-line rules: a refused text stays in
// the box with its reason, and no line changes until an accepted text or Cancel closes it.
TEST_F(CaseEditingWindowTest, ARefusedTextStaysInTheBoxWithItsReasonUntilCorrectedOrCancelled) {
  Load();
  SelectForce("Lupo convoy");
  const platform::TextLines loaded = window->Scenario().SideLines[0];
  SelectLine(3);
  dialogs->QueueInput("Target=Atlantis");  // what the rules refuse: CaseLineCheckTest
  dialogs->QueueInputCancel();  // the user gives up on the open box
  window->Actions()[TCommand::EditLine]->trigger();
  // One box: the refusal is shown in it, not in a message box of its own.
  EXPECT_EQ(dialogs->Texts(DialogKind::Input).size(), 1u);
  EXPECT_EQ(dialogs->Texts(DialogKind::Refusal).size(), 1u);
  EXPECT_TRUE(dialogs->Reports().empty());
  EXPECT_EQ(window->Scenario().SideLines[0], loaded);
  EXPECT_EQ(window->UndoStack().count(), 0);
  EXPECT_TRUE(Modified() && !window->Saving().SideLinesChanged(0));  // a cancelled edit counts as an edit
  dialogs->ClearCalls();
  SelectLine(3);
  dialogs->QueueInput("WP=3705N 0241OE");  // a letter O for a zero
  dialogs->QueueInput("WP=3705N 02410E");
  window->Actions()[TCommand::EditLine]->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Refusal), (std::vector<std::string>{"Lat/Long conversion error"}));
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));
  // Lines the case rules do not read are stored as typed.
  SelectLine(1);
  dialogs->QueueInput("FORMATIONHEADING=2OO  ");
  window->Actions()[TCommand::EditLine]->trigger();
  EXPECT_EQ(ShownLines()[1], "FORMATIONHEADING=2OO  ");
  EXPECT_EQ(dialogs->Texts(DialogKind::Refusal).size(), 1u);
}

// A line typed into a side file from Windows (lines that are not UTF-8) is stored in the file's
// encoding, every other line byte for byte (what the encoding refuses: CaseLinesTest).
TEST_F(CaseEditingWindowTest, ATypedLineIsStoredInTheSideFilesEncoding) {
  prepare = [this] {
    const fs::path file = scenarioDir / "AxisShips.cfg";
    const std::string bytes = ReplacedOnce(ReadFile(file), "NAME=Lupo\r\n", "NAME=Lup\xF6\r\n");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  };
  Load();
  const std::string windowsFile = AxisFile();
  SelectForce("Lupo convoy");
  SelectLine(1);
  dialogs->QueueInput("FORMATIONHEADING=200 \xE2\x86\x92 Maleme");  // an arrow: no such byte, refused in the box
  dialogs->QueueInput("FORMATIONHEADING=200 \xE2\x80\x94 Mal\xC3\xA8me");
  window->Actions()[TCommand::EditLine]->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Refusal).size(), 1u);
  window->Actions()[TCommand::Save]->trigger();
  EXPECT_EQ(AxisFile(), ReplacedOnce(windowsFile, "FORMATIONHEADING=200\r\n", "FORMATIONHEADING=200 \x97 Mal\xE8me\r\n"));
}

// A failed save names the file and keeps the old file, the edited lines and Modified; the force
// change that asked for the save does not happen either. (A read-only file fails at closing.)
TEST_F(CaseEditingWindowTest, AFailedSaveKeepsTheOldFileAndTheEdits) {
  window->SetFileSystem(std::make_unique<FullDiskFileSystem>());
  Load();
  EditLupoWaypoint();
  const platform::TextLines edited = window->Scenario().SideLines[0];
  window->Actions()[TCommand::Save]->trigger();
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("AxisShips.cfg"), std::string::npos) << Errors()[0];
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(dialogs->Texts(DialogKind::Message).empty());  // no "File saved as"
  dialogs->QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_EQ(Errors().size(), 2u);
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Title(), "Lupo convoy");
  EXPECT_EQ(window->Scenario().SideLines[0], edited);
}

// A side file another program changed since the load or the last save is overwritten only when
// the user says so: No keeps the file and the edits as they are.
TEST_F(CaseEditingWindowTest, ASideFileChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo) {
  Load();
  EditLupoWaypoint();
  const std::string theirs = ReplacedOnce(OriginalAxisFile(), "NAME=Lupo", "NAME=Lupo II");
  std::ofstream(scenarioDir / "AxisShips.cfg", std::ios::binary | std::ios::trunc) << theirs;
  dialogs->QueueAnswer(DialogAnswer::No);
  EXPECT_FALSE(window->Saving().SaveSideLines());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm),
            (std::vector<std::string>{"AxisShips.cfg was changed on disk by another program since it was loaded or "
                                      "last saved. Overwrite it with your edits?"}));
  EXPECT_EQ(AxisFile(), theirs);
  EXPECT_TRUE(Modified() && window->Saving().SideLinesChanged(0));
  dialogs->QueueAnswer(DialogAnswer::Yes);
  EXPECT_TRUE(window->Saving().SaveSideLines());
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  // The file as this save wrote it asks nothing at the next save.
  dialogs->ClearCalls();
  SelectLine(3);
  dialogs->QueueInput("WP=3700N 02400E");
  window->Actions()[TCommand::EditLine]->trigger();
  EXPECT_TRUE(window->Saving().SaveSideLines());
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

// Each changed side is asked about in turn (edits undone to the saved lines ask nothing:
// SessionTest), Cancel or a failed save keeps the window, No drops that side's edits.
TEST_F(CaseEditingWindowTest, ClosingAsksPerChangedSideAndCancelOrAFailedSaveKeepsTheWindow) {
  Load();
  window->show();
  EditLupoWaypoint();
  ASSERT_TRUE(window->CaseEditor().ReplaceCaseLine(Force("Force A1"), 1, 1, "FORMATIONHEADING=301"));
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to AxisShips.cfg?"}));
  EXPECT_EQ(dialogs->Calls().back().buttons, DialogButtons::YesNoCancel);
  fs::permissions(scenarioDir / "AxisShips.cfg", fs::perms::owner_read);
  dialogs->QueueAnswer(DialogAnswer::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_NE(Errors().at(0).find("read-only"), std::string::npos) << Errors()[0];
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

// The window's steps, Save and discard reach the unsaved marks (their rules:
// EditorDocumentTest); Save is offered for the current force's side only while it is unsaved.
TEST_F(ShownCreteWindowTest, UnsavedMarksFollowEveryStepSaveAndDiscard) {
  const auto marks = [this] {
    std::string shown = window->windowHandle()->title().endsWith('*') ? "*" : "";
    for (const char* force : {"Lupo convoy", "Force A1"})
      if (window->Forces().index(window->Forces().RowOf(force), 0).data(Qt::FontRole).value<QFont>().bold())
        shown += std::string(" ") + force;
    return shown + (window->Actions()[TCommand::Save]->isEnabled() ? " Save" : "");
  };
  const auto command = [this](TCommand which) { return [this, which] { window->Actions()[which]->trigger(); }; };
  const struct {
    const char* step;
    std::function<void()> act;
    std::string marks;
  } steps[] = {
      {"loaded", [] {}, ""},
      {"edited", [this] { EditLupoWaypoint(); }, "* Lupo convoy Save"},
      {"discarded", [this] {
         dialogs->QueueAnswer(DialogAnswer::No);
         SelectForce("Force A1");
       }, ""},
      {"other side edited", [this] { window->CaseEditor().ReplaceCaseLine(Force("Force A1"), 1, 1, "FORMATIONHEADING=301"); },
       "* Force A1 Save"},
      {"both edited", [this] { window->CaseEditor().ReplaceCaseLine(Force("Lupo convoy"), 1, 3, "WP=3705N 02410E"); },
       "* Lupo convoy Force A1 Save"},
      {"one saved", command(TCommand::Save), "* Force A1"},
  };
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Crete1941[*]");
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(marks(), step.marks) << step.step;
  }
  EXPECT_EQ(window->windowHandle()->title(), "VRK scenario editor - Crete1941*");
  EXPECT_EQ(window->statusBar()->currentMessage(), "Saved AxisShips.cfg");
}

}  // namespace
}  // namespace editor
