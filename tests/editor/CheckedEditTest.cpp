// The case list's Edit checks the new text with the case-line rules: a refused text stays in
// the box with its reason, and no line changes until an accepted text or Cancel closes it.
#include <gtest/gtest.h>

#include <QAction>
#include <QUndoStack>

#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using namespace editor::fixtures;
using platform::testing::DialogKind;

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

}  // namespace
}  // namespace editor
