// The load command of the main window on the demo scenario shipped with the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <string>

#include "editor/EditMain.h"
#include "globe/view/Voduz4.h"
#include "platform/DateTime.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "tests/editor/CreteWindowFixture.h"
#include "scenario/ScenarioTime.h"

namespace editor {
namespace {

using namespace editor::fixtures;
using platform::testing::DialogKind;

// A fresh window; the load command is run on the demo itself, not on a copy.
struct LoadCommandTest : CaseEditingWindowTest {
  bool LoadOffered() const { return window->sbLoad->isEnabled() && window->Openscenario1->isEnabled(); }
  bool FileCommandsOffered() const { return window->Viewshipfile1->isEnabled() && window->Save1->isEnabled(); }
  QTreeWidgetItem* RowNamed(const QString& name) const {
    const auto found = window->lvForces->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
  }
};

TEST_F(LoadCommandTest, DemoScenarioFillsCaptionTimeAndForcesList) {
  dialogs->QueueDirectory(kCrete.string());
  window->Openscenario1->trigger();  // the menu command presses the load button

  ASSERT_EQ(dialogs->Texts(DialogKind::Directory).size(), 1u);
  EXPECT_EQ(dialogs->Calls().front().defaultText, kProgramDir);  // starts in the program's folder
  EXPECT_TRUE(dialogs->Reports().empty()) << dialogs->Reports().front();
  EXPECT_EQ(window->windowTitle().toStdString(), "VRK scenario editor - Crete1941");

  // ScenarioInfo.cfg: StartDate=19410520, StartHour=6.
  const double start = platform::EncodeDate(1941, 5, 20) + platform::EncodeTime(6, 0, 0, 0);
  EXPECT_EQ(window->stTime->text().toStdString(), scenario::ScenarioStartLabel(start, window->Regional()));
  EXPECT_TRUE(window->stTime->text().endsWith(" 06:00"));
  // The whole label is readable: the box grows past its 161 pixels when the text needs it.
  EXPECT_GE(window->stTime->contentsRect().width(),
            window->stTime->fontMetrics().horizontalAdvance(window->stTime->text()));

  const auto& rows = window->Scenario().ForcesList.Rows;
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(window->lvForces->topLevelItemCount(), static_cast<int>(rows.size()));
  EXPECT_EQ(rows.size(), window->Scenario().ForceList.size());
  QTreeWidgetItem* a1 = RowNamed("Force A1");  // the first force of AlliedShips.cfg
  ASSERT_NE(a1, nullptr);
  EXPECT_EQ(a1->text(1), "18");
  EXPECT_EQ(a1->text(2), "Intercept");

  EXPECT_TRUE(LoadOffered());  // another scenario may be opened at any time
  EXPECT_TRUE(FileCommandsOffered());
}

TEST_F(LoadCommandTest, MapRenderDrawsTheLoadedMinefields) {
  dialogs->QueueDirectory(kCrete.string());
  window->sbLoad->click();
  ASSERT_FALSE(window->Scenario().BaseList.empty());
  // Several allied bases of the demo have mines: their circles are dashed, 3 pixels wide.
  constexpr std::int32_t kDeg = 5'400'000;
  window->GlobeMap().LocateToLL(24 * kDeg, 35 * kDeg);  // Crete in the middle of the map
  platform::testing::RecordingDrawingSurface target{400, 300};
  window->GlobeMap().RenderToCanvas(target, platform::TRect{0, 0, 400, 300}, false);
  int minefieldLines = 0;
  for (const auto& call : target.Calls(platform::testing::DrawOp::Polyline))
    if (call.State.CurrentPen.Width == 3 && call.State.CurrentPen.Style == platform::psDash) ++minefieldLines;
  EXPECT_GT(minefieldLines, 0);
}

// A cancelled choice, a directory without an information file and a program folder without its
// "Data" folder: each ends with the title unchanged and only the load offered again.
TEST_F(LoadCommandTest, CancelledOrFailedLoadsChangeNothing) {
  const QString title = window->windowTitle();
  auto expectUnchanged = [&](const char* step) {
    EXPECT_EQ(window->windowTitle(), title) << step;
    EXPECT_TRUE(LoadOffered()) << step;  // the user can choose again
    EXPECT_FALSE(FileCommandsOffered()) << step;
  };
  window->sbLoad->click();  // no directory queued: the dialog returns an empty path
  EXPECT_TRUE(dialogs->Reports().empty());
  expectUnchanged("cancelled");

  dialogs->QueueDirectory(kProgramDir + "/Scenarios");
  window->sbLoad->click();
  ASSERT_EQ(dialogs->Reports().size(), 1u);
  EXPECT_EQ(dialogs->Reports().front(), "This directory does not appear to contain a Varnel scenario or campaign!");
  expectUnchanged("no information file");

  dialogs->ClearCalls();
  window->SetProgramDir(kProgramDir + "/Scenarios");  // no "Data" folder beside it
  dialogs->QueueDirectory(kCrete.string());
  window->sbLoad->click();
  ASSERT_EQ(dialogs->Texts(DialogKind::Error).size(), 1u);
  EXPECT_NE(dialogs->Texts(DialogKind::Error).front().find("Data"), std::string::npos);
  expectUnchanged("no Data folder");
}

}  // namespace
}  // namespace editor
