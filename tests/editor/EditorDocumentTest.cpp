// The editor's document without a window: each side's unsaved state and its marks, the place
// each step shows.
#include <gtest/gtest.h>

#include <QFont>
#include <QUndoStack>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorDocument.h"
#include "editor/ForcesModel.h"
#include "editor/UnsavedMarks.h"
#include "scenario/Force.h"
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
  bool Step(int side, const std::string& text, const TEditPlace& before = {}, const TEditPlace& after = {})
  {
    const platform::TextLines& lines = document.Document().SideLines(side);
    return document.Push(scenario::TSideSplice{side, scenario::DiffLines(lines, {text})}, before, after, "step");
  }

  TEditorDocument document;
};

// A step made or redone shows the place after it, undone the place before it, once the side's
// modified state counts it; a splice that no longer fits the lines is refused and changes nothing.
TEST_F(EditorDocumentTest, ChangedShowsThePlaceAfterAStepAndBeforeItWhenUndoneAndAStaleStepIsRefused)
{
  std::vector<std::string> heard;
  QObject::connect(&document, &TEditorDocument::Changed, [&](const scenario::TDocumentChange& change, const TEditPlace& place) {
    heard.push_back(std::to_string(change.Side) + (change.Forward ? " apply " : " revert ") + std::to_string(place.Case) +
                    ":" + std::to_string(place.Row) + (document.SideModified(change.Side) ? " modified" : ""));
  });
  QObject::connect(&document, &TEditorDocument::Refused, [&](const QString&) { heard.push_back("refused"); });
  const platform::TextLines& lines = document.Document().SideLines(1);
  ASSERT_TRUE(Step(1, "allied 1", {nullptr, 2, 3}, {nullptr, 4, 5}));
  document.UndoStack().undo();
  document.UndoStack().redo();
  EXPECT_EQ(heard, (std::vector<std::string>{"1 apply 4:5 modified", "1 revert 2:3", "1 apply 4:5 modified"}));
  document.Document().Apply(scenario::TSideSplice{1, scenario::DiffLines(lines, {"behind the stack"})});
  document.UndoStack().undo();
  EXPECT_EQ(heard.at(3), "refused");
  EXPECT_EQ(lines, platform::TextLines{"behind the stack"});
}

// Each side is modified by its own steps on the one stack since its save: the caption's modified
// mark while any side is, the rows of its forces bold, their tooltip saying so. Every move of the
// stack, save and new document updates them.
TEST_F(EditorDocumentTest, EachSideIsModifiedByItsOwnStepsSinceItsSaveAndTheMarksFollow)
{
  scenario::TForce axis(nullptr), allied(nullptr);
  allied.Side = 1;
  const std::vector<scenario::TForceListRow> rows = {{&axis, "Lupo", "7", ""}, {&allied, "A1", "18", ""}};
  TForcesModel forces;
  forces.SetRows(&rows);
  QWidget window;
  TUnsavedMarks marks(window, document, forces);
  const auto shown = [&] {
    std::string text = window.isWindowModified() ? "*" : "";
    for (int row = 0; row < forces.rowCount(); ++row) {
      const QModelIndex index = forces.index(row, 0);
      if (index.data(Qt::FontRole).value<QFont>().bold() && index.data(Qt::ToolTipRole).toString().endsWith(": unsaved edits"))
        text += " " + index.data().toString().toStdString();
    }
    return text;
  };
  const auto undo = [&](int times) { return [&, times] { for (int i = 0; i < times; ++i) document.UndoStack().undo(); }; };
  const struct {
    const char* step;
    std::function<void()> act;
    std::string marks;
  } steps[] = {
      {"loaded", [] {}, ""},
      {"axis step", [&] { Step(0, "axis 1"); }, "* Lupo"},
      {"undone", undo(1), ""},
      {"redone", [&] { document.UndoStack().redo(); }, "* Lupo"},
      {"allied step", [&] { Step(1, "allied 1"); }, "* Lupo A1"},
      {"allied saved", [&] { document.MarkSaved(1); }, "* Lupo"},
      {"undone past the save", undo(1), "* Lupo A1"},
      {"redone to the save", [&] { document.UndoStack().redo(); }, "* Lupo"},
      {"no change, no step", [&] { EXPECT_FALSE(document.Push(std::nullopt, {}, {}, "-") || document.UndoStack().count() != 2); }, "* Lupo"},
      {"changed and changed back", [&] { Step(1, "allied 2"), Step(1, "allied 1"); }, "* Lupo A1"},
      // Undone past the save, a new step leaves no way back to the saved state.
      {"new step past the save", [&] { undo(3)(), Step(1, "allied 3"), undo(1)(); }, "* Lupo A1"},
      {"axis saved", [&] { document.MarkSaved(0); }, "* A1"},
      {"new document", [&] { document.Replace(std::make_unique<scenario::TScenarioState>()); }, ""},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(shown(), step.marks) << step.step;
  }
}

}  // namespace
}  // namespace editor
