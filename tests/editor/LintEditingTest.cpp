// The scenario checks while editing: a waypoint moved onto land is found at its line in the
// Problems panel and marked on the map for the selected force; undo takes both away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "editor/EditMain.h"
#include "editor/ProblemsPanel.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/FindingMarks.h"
#include "scenario/Force.h"
#include "scenario/PositionText.h"
#include "tests/editor/MapWindowFixture.h"

namespace editor {
namespace {

using maptest::MapInteractionTest;

const std::string kDesertLine = "WP=2900N 02300E";

class LintEditingTest : public MapInteractionTest {
 protected:
  // Selects another force; unsaved lines are saved at the question that comes first.
  void SwitchTo(const char* name) {
    if (window->Scenario().Modified) dialogs->QueueAnswer(platform::DialogAnswer::Yes);
    SelectForce(name);
    ASSERT_EQ(window->CurrentForce->Title(), name);
  }
  // The shown case's first waypoint line edited to a point in the Libyan desert; its case list
  // row, -1 when the case has no waypoint.
  int MoveFirstWaypointIntoTheDesert() {
    int row = 0;
    while (row < window->lbPoints->count() && !window->lbPoints->item(row)->text().startsWith("WP=")) ++row;
    if (row == window->lbPoints->count()) return -1;
    window->lbPoints->setCurrentRow(row);
    dialogs->QueueInput(kDesertLine);
    window->Edit1->trigger();
    return row;
  }
  // The 1-based line of the Allied side's lines that reads text; 0 when none does.
  int AlliedLine(const std::string& text) {
    const auto& lines = window->Scenario().SideLines[1];
    const auto at = std::find(lines.begin(), lines.end(), text);
    return at == lines.end() ? 0 : static_cast<int>(at - lines.begin()) + 1;
  }
  int DesertFindings() {
    const int line = AlliedLine(kDesertLine);
    return static_cast<int>(std::count_if(
        window->dkProblems->Problems().begin(), window->dkProblems->Problems().end(), [&](const auto& problem) {
          return line > 0 && problem.Code == "waypoint-on-land" && problem.Line == line &&
                 std::filesystem::path(problem.File).filename() == "AlliedShips.cfg";
        }));
  }
  // Warning triangles drawn on the map at the desert waypoint.
  int DesertMarks() {
    const int w = window->Globe->width(), h = window->Globe->height();
    platform::testing::RecordingDrawingSurface target{w, h};
    Map().RenderToCanvas(target, platform::TRect{0, 0, w, h}, false);
    globe::TGeoPoint desert;
    EXPECT_TRUE(scenario::ParsePositionValue("2900N 02300E", desert));
    platform::TPoint at;
    if (!Map().Projection().PointLLToDeviceXY(desert, at)) return 0;
    const auto triangle = scenario::WarningTriangle(at);
    const std::vector<platform::TPoint> expected(triangle.begin(), triangle.end());
    const auto polygons = target.Calls(platform::testing::DrawOp::Polygon);
    return static_cast<int>(
        std::count_if(polygons.begin(), polygons.end(), [&](const auto& call) { return call.Points == expected; }));
  }
};

TEST_F(LintEditingTest, WaypointMovedOntoLandIsFoundAndMarkedUntilUndone) {
  SelectForce("Force A1");
  const auto loaded = window->dkProblems->Problems();
  const int row = MoveFirstWaypointIntoTheDesert();
  ASSERT_GE(row, 0);
  ASSERT_GT(AlliedLine(kDesertLine), 0);

  EXPECT_EQ(DesertFindings(), 1);
  EXPECT_EQ(window->dkProblems->tvProblems->topLevelItemCount(),
            static_cast<int>(window->dkProblems->Problems().size()));
  EXPECT_EQ(DesertMarks(), 1);
  // Another force selected: its findings only, the desert waypoint unmarked.
  SwitchTo("Force C");
  EXPECT_EQ(DesertMarks(), 0);
  SwitchTo("Force A1");
  EXPECT_EQ(DesertMarks(), 1);

  window->UndoStack().undo();
  EXPECT_EQ(AlliedLine(kDesertLine), 0);
  EXPECT_EQ(window->dkProblems->Problems(), loaded);
  EXPECT_EQ(DesertMarks(), 0);

  window->UndoStack().redo();
  EXPECT_EQ(DesertFindings(), 1);
  EXPECT_EQ(DesertMarks(), 1);
}

// A line inserted above another force's finding: that finding keeps pointing at its line.
TEST_F(LintEditingTest, FindingsOfOtherForcesFollowTheirLinesAfterAnInsert) {
  SelectForce("Force C");
  const int row = MoveFirstWaypointIntoTheDesert();
  ASSERT_GE(row, 0);
  const int before = AlliedLine(kDesertLine);
  ASSERT_EQ(DesertFindings(), 1);

  // Force A1 stands above Force C in the file: a line inserted there (a copy of its first
  // waypoint) moves the finding.
  SwitchTo("Force A1");
  window->lbPoints->setCurrentRow(row);
  window->Insert1->trigger();
  ASSERT_EQ(AlliedLine(kDesertLine), before + 1);
  EXPECT_EQ(DesertFindings(), 1);
}

}  // namespace
}  // namespace editor
