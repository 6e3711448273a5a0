// Undo and redo of the window's edits on a copy of the Crete demo: each kind of edit taken back
// to the exact bytes and made again, the place shown, the files saved byte for byte, the clean
// state that asks no close question, and "No" at a force change as an undoable discard.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QUndoStack>

#include "editor/ForceInfo.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using namespace editor::fixtures;
using platform::DialogAnswer;
using platform::testing::DialogKind;

class UndoEditingTest : public CaseEditingWindowTest {
 protected:
  // No step may find lines other than the ones it was made on.
  void TearDown() override {
    if (dialogs != nullptr) {
      EXPECT_TRUE(Errors().empty()) << Errors().front();
    }
    CaseEditingWindowTest::TearDown();
  }
  void Undo() { window->Undo1->trigger(); }
  void Redo() { window->Redo1->trigger(); }
  QUndoStack& Stack() { return window->UndoStack(); }
  const platform::TextLines& AxisLines() { return window->Scenario().SideLines[0]; }
  const platform::TextLines& AlliedLines() { return window->Scenario().SideLines[1]; }
  std::string EditedAxisFile() const { return ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"); }
};

TEST_F(UndoEditingTest, EditUndoneAndRedoneSavesTheOriginalThenTheEditByteForByte) {
  Load();
  const platform::TextLines loaded = AxisLines();
  EXPECT_TRUE(Stack().isClean());
  EditLupoWaypoint();
  EXPECT_EQ(window->Undo1->text(), "Undo Edit line 4 of Lupo convoy case 1");
  EXPECT_TRUE(window->Undo1->isEnabled());
  EXPECT_FALSE(window->Redo1->isEnabled());
  EXPECT_FALSE(Stack().isClean());

  Undo();
  EXPECT_EQ(AxisLines(), loaded);
  EXPECT_EQ(ShownLines()[3], "WP=3700N 02400E");
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), NorthEast(37, 0, 24, 0));  // the route drawn as before
  EXPECT_EQ(window->lbPoints->currentRow(), 3);                                // the line selected again
  EXPECT_EQ(window->SelectedPoint, NorthEast(37, 0, 24, 0));
  EXPECT_FALSE(Modified());
  EXPECT_EQ(window->Redo1->text(), "Redo Edit line 4 of Lupo convoy case 1");
  EXPECT_TRUE(Stack().isClean());
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), OriginalAxisFile());

  Redo();
  EXPECT_EQ(ShownLines()[3], "WP=3705N 02410E");
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));
  EXPECT_TRUE(Modified());
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), EditedAxisFile());
  EXPECT_TRUE(Stack().isClean());
  EXPECT_TRUE(window->CloseQuery());
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
}

TEST_F(UndoEditingTest, EveryKindOfEditIsUndoneInTurnToTheLoadedBytes) {
  Load();
  const platform::TextLines loaded = AxisLines();
  EditLupoWaypoint();
  SelectLine(4);
  window->Insert1->trigger();
  SelectLine(6);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Delete1->trigger();
  SelectTab(2);
  window->Addcase1->trigger();
  EXPECT_EQ(window->Cases.CaseWaypoints[2].Count(), 2);  // the new case is drawn at once
  ASSERT_EQ(Stack().count(), 4);
  EXPECT_EQ(Stack().text(0), "Edit line 4 of Lupo convoy case 1");
  EXPECT_EQ(Stack().text(1), "Insert line 5 of Lupo convoy case 1");
  EXPECT_EQ(Stack().text(2), "Delete line 7 of Lupo convoy case 1");
  EXPECT_EQ(Stack().text(3), "Add case 3 to Lupo convoy");
  const platform::TextLines edited = AxisLines();

  // Undoing Add case shows the empty third tab again, with no route for it.
  Undo();
  EXPECT_EQ(window->CurrentCase, 3);
  EXPECT_TRUE(ShownLines().empty());
  EXPECT_EQ(window->Cases.CaseWaypoints[2].Count(), 0);
  // Undoing the delete brings the target line back on the first tab.
  Undo();
  EXPECT_EQ(window->tcCasesTabs->currentIndex(), 0);
  EXPECT_EQ(ShownLines()[6], "TP=3545N 02350E");
  EXPECT_EQ(window->Cases.CaseTargets[0].Count(), 2);
  Undo();
  Undo();
  EXPECT_EQ(AxisLines(), loaded);
  EXPECT_FALSE(window->Undo1->isEnabled());
  EXPECT_FALSE(Modified());

  for (int i = 0; i < 4; ++i) Redo();
  EXPECT_EQ(AxisLines(), edited);
  EXPECT_EQ(window->CurrentCase, 3);  // Add case redone: its tab, drawn
  EXPECT_EQ(window->Cases.CaseWaypoints[2].Count(), 2);
  window->Save1->trigger();
  EXPECT_EQ(platform::SplitLines(AxisFile()), edited);
}

TEST_F(UndoEditingTest, UndoAcrossAForceChangeSelectsTheEditedForceAgain) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_EQ(AxisFile(), EditedAxisFile());
  EXPECT_TRUE(Stack().isClean());

  dialogs->ClearCalls();
  Undo();
  EXPECT_EQ(window->CurrentForce->Title(), "Lupo convoy");
  EXPECT_TRUE(window->lvForces->findItems("Lupo convoy", Qt::MatchExactly, 0).front()->isSelected());
  EXPECT_EQ(ShownLines()[3], "WP=3700N 02400E");
  EXPECT_TRUE(Modified());  // differs from the saved file now
  EXPECT_TRUE(dialogs->Calls().empty());  // no save question on the way back
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

TEST_F(UndoEditingTest, SideBackAtItsSavedLinesAsksNoCloseQuestion) {
  Load();
  window->show();
  EditLupoWaypoint();
  SelectLine(2);
  dialogs->QueueInput("LL=3741N 02330E");
  window->Edit1->trigger();
  Undo();
  Undo();
  dialogs->ClearCalls();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(dialogs->Calls().empty());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

TEST_F(UndoEditingTest, NoAtAForceChangeDiscardsAsAnUndoableStep) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueAnswer(DialogAnswer::No);
  SelectForce("Force A1");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(window->Undo1->text(), "Undo Discard changes to AxisShips.cfg");
  window->Save1->trigger();  // Force A1's side; the Axis file was never written
  EXPECT_EQ(AxisFile(), OriginalAxisFile());

  // Saving the Axis side later writes the file as it was last saved.
  SelectForce("Sagittario convoy");
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), OriginalAxisFile());

  // Undoing the discard brings the declined edit back.
  Undo();
  EXPECT_EQ(AxisLines()[9], "WP=3705N 02410E");
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), EditedAxisFile());
  // And redoing it discards them again.
  Redo();
  EXPECT_EQ(AxisLines()[9], "WP=3700N 02400E");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
}

TEST_F(UndoEditingTest, EditForceSpeedIsUndoneWithTheForcesSpeed) {
  Load();
  SelectForce("Lupo convoy");
  QTimer::singleShot(0, [&] {
    window->dlgForceInfo->seSpeed->setValue(12);
    window->dlgForceInfo->OKBtn->click();
  });
  window->Editforce1->trigger();
  ASSERT_EQ(AxisLines()[3], "SPEED=12");
  EXPECT_EQ(window->Undo1->text(), "Undo Edit force Lupo convoy");
  Undo();
  EXPECT_EQ(AxisLines()[3], "SPEED=7");
  EXPECT_EQ(window->CurrentForce->Speed, 7);
  EXPECT_EQ(window->lvForces->findItems("Lupo convoy", Qt::MatchExactly, 0).front()->text(1), "7");
  Redo();
  EXPECT_EQ(window->CurrentForce->Speed, 12);
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
}

TEST_F(UndoEditingTest, CaseLinesChangedThroughThePublicCallsAreSteps) {
  Load();
  SelectForce("Lupo convoy");
  scenario::TForce& forceA1 = Force("Force A1");
  ASSERT_TRUE(window->ReplaceCaseLine(forceA1, 2, 3, "WP=3445N 02405E", "Move waypoint"));
  EXPECT_EQ(window->CurrentForce, &forceA1);
  EXPECT_EQ(window->CurrentCase, 2);
  EXPECT_EQ(window->lbPoints->currentRow(), 3);
  EXPECT_EQ(window->Cases.CaseWaypoints[1].Point(0), NorthEast(34, 45, 24, 5));
  EXPECT_EQ(window->Undo1->text(), "Undo Move waypoint");
  ASSERT_TRUE(window->InsertCaseLine(forceA1, 2, 4, "WP=3500N 02300E"));
  EXPECT_EQ(Stack().text(1), "Insert line 5 of Force A1 case 2");
  EXPECT_EQ(window->Cases.CaseWaypoints[1].Count(), 3);
  // Nothing there: no step.
  EXPECT_FALSE(window->ReplaceCaseLine(forceA1, 4, 1, "WP=3500N 02300E"));
  EXPECT_FALSE(window->InsertCaseLine(forceA1, 2, 0, "WP=3500N 02300E"));
  EXPECT_EQ(Stack().count(), 2);

  Undo();
  Undo();
  EXPECT_EQ(platform::JoinLinesCrLf(AlliedLines()), ReadFile(kCrete / "AlliedShips.cfg"));
  EXPECT_EQ(window->CurrentForce->Title(), "Lupo convoy");  // where the first step started
}

}  // namespace
}  // namespace editor
