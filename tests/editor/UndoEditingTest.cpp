// Undo and redo of the window's edits on a copy of the Crete demo: an edit taken back to the
// exact bytes and made again, the place shown, undo across a force change and the steps of the
// window's public calls. (Each kind of edit, the discard at a force change and Edit force are
// undone in the editing tests.)
#include <gtest/gtest.h>

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

TEST_F(UndoEditingTest, EditUndoneAndRedoneSavesTheOriginalThenTheEditByteForByteAlsoAcrossAForceChange) {
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
  // An edit saved at a force change and undone: the edited force is selected again, and no
  // save question comes on the way back.
  SelectLine(2);
  dialogs->QueueInput("LL=3741N 02330E");
  window->Edit1->trigger();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_NE(AxisFile().find("LL=3741N 02330E\r\n"), std::string::npos);
  EXPECT_TRUE(Stack().isClean());
  dialogs->ClearCalls();
  Undo();
  EXPECT_EQ(window->CurrentForce->Title(), "Lupo convoy");
  EXPECT_TRUE(window->lvForces->findItems("Lupo convoy", Qt::MatchExactly, 0).front()->isSelected());
  EXPECT_EQ(ShownLines()[2], "LL=3740N 02330E");
  EXPECT_TRUE(Modified());  // differs from the saved file now
  EXPECT_TRUE(dialogs->Calls().empty());
  window->Save1->trigger();
  EXPECT_EQ(AxisFile(), EditedAxisFile());
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
