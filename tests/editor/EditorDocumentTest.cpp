// The editor's document without a window: each side is modified by its own steps on the one
// undo stack since its save.
#include <gtest/gtest.h>

#include <QUndoStack>
#include <memory>
#include <string>

#include "editor/EditorDocument.h"
#include "scenario/ScenarioState.h"

namespace editor {
namespace {

class EditorDocumentTest : public ::testing::Test {
 protected:
  EditorDocumentTest()
  {
    auto state = std::make_unique<scenario::TScenarioState>();
    state->SideLines = {platform::TextLines{"axis"}, platform::TextLines{"allied"}};
    document.Replace(std::move(state));
  }
  // One step giving the side's only line the text.
  bool Step(int side, const std::string& text)
  {
    const platform::TextLines& lines = document.Document().SideLines(side);
    return document.Push(scenario::TSideSplice{side, scenario::DiffLines(lines, {text})}, {}, {}, "step");
  }
  bool Modified(int side) const { return document.SideModified(side); }

  TEditorDocument document;
};

TEST_F(EditorDocumentTest, EachSideIsModifiedByItsOwnStepsSinceItsSave)
{
  ASSERT_TRUE(Step(0, "axis 1"));
  ASSERT_TRUE(Step(1, "allied 1"));
  document.MarkSaved(1);
  EXPECT_TRUE(Modified(0) && !Modified(1));
  document.UndoStack().undo();
  EXPECT_TRUE(Modified(1));
  document.UndoStack().redo();
  EXPECT_FALSE(Modified(1));
  // A line changed and changed back is two steps away from the save.
  ASSERT_TRUE(Step(1, "allied 2"));
  ASSERT_TRUE(Step(1, "allied 1"));
  EXPECT_TRUE(Modified(1));
  EXPECT_FALSE(document.Push(std::nullopt, {}, {}, "nothing"));  // no change, no step
  EXPECT_EQ(document.UndoStack().count(), 4);
  // Undone past the save, a new step leaves no way back to the saved state.
  for (int i = 0; i < 3; ++i) document.UndoStack().undo();
  ASSERT_TRUE(Step(1, "allied 3"));
  document.UndoStack().undo();
  EXPECT_TRUE(Modified(1));
  EXPECT_EQ(document.Document().SideLines(1), platform::TextLines{"allied"});
}

}  // namespace
}  // namespace editor
