// Force, case and line editing on a copy of a demo: the case editor on its own widgets, the side
// files' saves, and two user flows through the main window.
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

#include "editor/EditorDocument.h"
#include "editor/EditorSettings.h"
#include "editor/TimelineDock.h"
#include "editor/UnsavedMarks.h"
#include "scenario/ScenarioLoader.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using namespace editor::fixtures;

// The case editor on its widgets, commands and saver over a copy of a demo, as the window has it.
class CaseEditorTest : public ::testing::Test {
 protected:
  CaseEditorTest() {
    window.setWindowTitle("[*]");  // the place of the unsaved mark
    for (int n = 1; n <= kCaseCount; ++n) tabs.addTab(QString::number(n));
    forcesView.setModel(&forces);
    caseList.setModel(&caseLines);
    editor.ConnectCaseEditing();
    QObject::connect(document.get(), &TEditorDocument::SavedStateChanged, &editor, &TCaseEditor::UpdateCommands);
  }
  ~CaseEditorTest() override {
    fs::current_path(startDir);  // the load works in the scenario's folder
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  void Load(const fs::path& demo = kCrete) {
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(demo))
      fs::copy_file(entry.path(), dir / entry.path().filename(), fs::copy_options::overwrite_existing);
    if (prepare) prepare();
    auto state = std::make_unique<scenario::TScenarioState>();
    std::unique_ptr<globe::TVoduz4> loaded = NewGlobeMap();
    scenario::TScenarioLoader(*state, *loaded, dialogs, *files, regional, kProgramDir).LoadDirectory(dir.string());
    editor.ForgetScenario();  // the lists let go of the old scenario before it goes
    document->Replace(std::move(state));  // the old scenario goes while its map is there
    map = std::move(loaded);
    editor.FollowDocument();
    editor.FillForcesList();
    dialogs.ClearCalls();
  }
  void SelectForce(const QString& name) {
    forcesView.clearSelection();
    forcesView.selectionModel()->select(forces.index(forces.RowOf(name), 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  void SelectLine(int row) { caseList.setCurrentIndex(caseLines.index(row)); }
  void Run(TCommand command) { actions[command]->trigger(); }
  void EditLine(int row, const std::string& text) { SelectLine(row), dialogs.QueueInput(text), Run(TCommand::EditLine); }
  void EditLupoWaypoint() { SelectForce("Lupo convoy"), EditLine(3, "WP=3705N 02410E"); }
  scenario::TForce& Force(const QString& title) { return *forces.ForceAt(forces.RowOf(title)); }
  platform::TextLines Shown() const { return caseLines.Lines(); }
  platform::TextLines& SideLines(int side) const { return document->State().SideLines[side]; }
  bool Modified() const { return document->State().Modified; }
  std::string AxisFile() const { return ReadFile(dir / "AxisShips.cfg"); }
  std::string OriginalAxisFile() const { return ReadFile(kCrete / "AxisShips.cfg"); }
  // The window's unsaved mark, the forces marked bold in the list, and whether Save is offered.
  std::string Marks() const {
    std::string text = window.isWindowModified() ? "*" : "";
    for (const char* force : {"Lupo convoy", "Force A1"})
      if (forces.index(forces.RowOf(force), 0).data(Qt::FontRole).value<QFont>().bold()) text += std::string(" ") + force;
    return text + (actions[TCommand::Save]->isEnabled() ? " Save" : "");
  }

  fs::path root = fs::temp_directory_path() / ("corvalis_case_editor_" + std::to_string(std::random_device()()));
  fs::path dir = root / "Crete1941", startDir = fs::current_path();
  std::function<void()> prepare;  // runs on the copy before it is loaded
  ScriptedDialogs dialogs;
  std::unique_ptr<platform::FileSystem> files = std::make_unique<platform::LocalFileSystem>();
  std::unique_ptr<globe::TVoduz4> map = NewGlobeMap();
  std::unique_ptr<TEditorDocument> document = std::make_unique<TEditorDocument>();
  QWidget window;
  TEditorActions actions{window, document->UndoStack()};
  TSideSaver saver{document, files, dialogs};
  TForcesModel forces;
  TCaseLinesModel caseLines;
  QTreeView forcesView;
  QTabBar tabs;
  QListView caseList;
  QMenu popup;
  TdkTimeline timeline;
  TEditState edit;
  const platform::RegionalSettings regional{};
  const std::string programDir = kProgramDir;
  std::vector<bool> problemsShown;  // each showing of the Problems panel: whether it was revealed
  TCaseEditor editor{{&forcesView, &tabs, &caseList, &popup, &forces, &caseLines, &timeline, &window, &actions, &saver,
                      [this](bool reveal) { problemsShown.push_back(reveal); }},
                     map, document, files, dialogs, edit, regional, programDir};
  TUnsavedMarks marks{window, *document, forces};
};

// A force's cases in the tabs and the list; a waypoint line circles its point. The case list's
// commands are steps whose undo and redo show their place.
TEST_F(CaseEditorTest, SelectingAForceShowsItsCasesAndTheCaseListsCommandsAreUndoneInPlace) {
  Load();
  SelectForce("Sagittario convoy");
  EXPECT_EQ(edit.Cases.CaseDelay[1], 4);  // its case 2 waits four hours
  SelectLine(3);
  ASSERT_NE(edit.SelectedPoint.LatY, 0);
  SelectForce("Lupo convoy");
  EXPECT_EQ(edit.Cases.CaseDelay[1], 0);
  EXPECT_TRUE(edit.SelectedPoint.LatY == 0 && editor.CurrentCase() == 1);
  EXPECT_EQ(Shown(), (platform::TextLines{"CASE1", "FORMATIONHEADING=200", "LL=3740N 02330E", "WP=3700N 02400E",
                                          "WP=3650N 02400E", "TP=3545N 02350E", "Target=Maleme", "Origin=Piraeus"}));
  tabs.setCurrentIndex(2);  // a case the mission does not have: an empty list, Add case offered
  EXPECT_TRUE(Shown().empty() && actions[TCommand::AddCase]->isVisible());
  tabs.setCurrentIndex(0);
  EXPECT_FALSE(actions[TCommand::AddCase]->isVisible());
  SelectLine(4);
  EXPECT_EQ(edit.SelectedPoint, NorthEast(36, 50, 24, 0));
  SelectLine(6);
  EXPECT_EQ(edit.SelectedPoint.LatY, 0);
  EditLine(3, "WP=3705N 02410E");
  EXPECT_EQ(dialogs.Calls().at(0).defaultText, "WP=3700N 02400E");
  EXPECT_EQ(edit.Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));  // parsed again at once
  SelectLine(4);
  Run(TCommand::InsertLine);  // a copy above the selected line
  EXPECT_EQ(edit.Cases.CaseWaypoints[0].Count(), 4);
  for (const DialogAnswer answer : {DialogAnswer::Cancel, DialogAnswer::Ok}) {
    SelectLine(5);
    dialogs.QueueAnswer(answer);
    Run(TCommand::DeleteLine);
  }
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm).back(), "Delete point WP=3650N 02400E?");
  EXPECT_TRUE(Shown().size() == 8 && edit.Cases.CaseWaypoints[0].Count() == 3 && edit.SelectedPoint.LatY == 0);
  // Add case on the empty third tab copies case 2, whatever tab was shown.
  tabs.setCurrentIndex(2);
  Run(TCommand::AddCase);
  EXPECT_EQ(Shown(), (platform::TextLines{"CASE3", "FORMATIONHEADING=210", "LL=3745N 02325E", "WP=3710N 02340E",
                                          "WP=3620N 02330E", "Target=Maleme"}));
  // Undone in turn: Add case shows its empty tab again, the delete brings the line back.
  const platform::TextLines edited = SideLines(0);
  Run(TCommand::Undo);
  EXPECT_TRUE(editor.CurrentCase() == 3 && Shown().empty() && edit.Cases.CaseWaypoints[2].Count() == 0);
  Run(TCommand::Undo);
  EXPECT_TRUE(Shown().size() == 9 && Shown()[5] == "WP=3650N 02400E");
  for (int i = 0; i < 2; ++i) Run(TCommand::Redo);
  EXPECT_TRUE(SideLines(0) == edited && edit.Cases.CaseWaypoints[2].Count() == 2);  // Add case redone and drawn
}

// Undo shows the place of the step again, the force too when it changed since; the editor's
// public calls are steps of their own.
TEST_F(CaseEditorTest, UndoShowsTheStepsPlaceAlsoAcrossAForceChangeAndPublicCallsAreSteps) {
  Load();
  SelectForce("Lupo convoy");
  scenario::TForce& forceA1 = Force("Force A1");
  ASSERT_TRUE(editor.ReplaceCaseLine(forceA1, 2, 3, "WP=3445N 02405E", "Move waypoint"));
  EXPECT_EQ(std::pair(editor.CurrentCase(), caseList.currentIndex().row()), std::pair(2, 3));
  ASSERT_TRUE(editor.InsertCaseLine(forceA1, 2, 4, "WP=3500N 02300E"));
  EXPECT_EQ(document->UndoStack().text(1), "Insert line 5 of Force A1 case 2");
  Run(TCommand::Undo);
  EXPECT_EQ(actions[TCommand::Undo]->text(), "Undo Move waypoint");
  Run(TCommand::Undo);
  EXPECT_EQ(editor.CurrentForce()->Title(), "Lupo convoy");  // where the first step started
  EditLupoWaypoint();
  Run(TCommand::Undo);
  EXPECT_EQ(caseList.currentIndex().row(), 3);
  EXPECT_EQ(edit.SelectedPoint, NorthEast(37, 0, 24, 0));
  EXPECT_EQ(actions[TCommand::Redo]->text(), "Redo Edit line 4 of Lupo convoy case 1");
  Run(TCommand::Redo);
  dialogs.QueueAnswer(DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  dialogs.ClearCalls();
  Run(TCommand::Undo);
  EXPECT_EQ(editor.CurrentForce()->Title(), "Lupo convoy");
  EXPECT_TRUE(forcesView.selectionModel()->isRowSelected(forces.RowOf("Lupo convoy")));
  EXPECT_EQ(Shown()[3], "WP=3700N 02400E");
  EXPECT_TRUE(Modified());  // differs from the saved file now
  EXPECT_TRUE(dialogs.Calls().empty());
}

// At a force change Cancel, or Yes with a failing save, keeps the force, edits and old file; No
// discards the edits as a step. The unsaved marks (rules: EditorDocumentTest) and Save follow each
// side; a file another program changed since is overwritten only when the user says so.
TEST_F(CaseEditorTest, SavesAtAForceChangeOrOverAChangeOnDiskKeepTheFileAndTheEditsUnlessChosen) {
  files = std::make_unique<FullDiskFileSystem>();
  Load();
  EditLupoWaypoint();
  EXPECT_EQ(Marks(), "* Lupo convoy Save");
  for (const DialogAnswer answer : {DialogAnswer::Cancel, DialogAnswer::Yes}) {
    dialogs.QueueAnswer(answer);
    SelectForce("Force A1");
    EXPECT_EQ(editor.CurrentForce()->Title(), "Lupo convoy");
    EXPECT_TRUE(forcesView.selectionModel()->isRowSelected(forces.RowOf("Lupo convoy")));
    EXPECT_TRUE(Shown()[3] == "WP=3705N 02410E" && Modified());
  }
  EXPECT_EQ(dialogs.Calls().at(1).buttons, DialogButtons::YesNoCancel);
  const std::vector<std::string> errors = dialogs.Texts(DialogKind::Error);  // the failed save's, naming its file
  EXPECT_TRUE(errors.size() == 1 && errors[0].find("AxisShips.cfg") != std::string::npos);
  EXPECT_TRUE(dialogs.Texts(DialogKind::Message).empty());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  files = std::make_unique<platform::LocalFileSystem>();
  dialogs.ClearCalls();
  dialogs.QueueAnswer(DialogAnswer::No);
  SelectForce("Force A1");
  EXPECT_EQ(actions[TCommand::Undo]->text(), "Undo Discard changes to AxisShips.cfg");
  EXPECT_FALSE(Modified() || saver.SideLinesChanged(0));  // the declined edit is gone from the lines
  EXPECT_EQ(Marks(), "");
  SelectForce("Sagittario convoy");
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to AxisShips.cfg?"}));
  Run(TCommand::Undo);
  EXPECT_EQ(SideLines(0)[9], "WP=3705N 02410E");
  editor.ReplaceCaseLine(Force("Force A1"), 1, 1, "FORMATIONHEADING=301");
  EXPECT_EQ(Marks(), "* Lupo convoy Force A1 Save");
  Run(TCommand::Save);
  EXPECT_EQ(Marks(), "* Lupo convoy");
  SelectForce("Lupo convoy");
  Run(TCommand::Save);
  EXPECT_EQ(Marks(), "");
  const std::string edited = ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E");
  EXPECT_EQ(AxisFile(), edited);
  const std::string theirs = ReplacedOnce(OriginalAxisFile(), "NAME=Lupo", "NAME=Lupo II");
  std::ofstream(dir / "AxisShips.cfg", std::ios::binary | std::ios::trunc) << theirs;
  SelectForce("Lupo convoy");
  EditLine(3, "WP=3700N 02400E");
  dialogs.ClearCalls();
  dialogs.QueueAnswer(DialogAnswer::No);
  EXPECT_FALSE(saver.SaveSideLines());
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm),
            (std::vector<std::string>{"AxisShips.cfg was changed on disk by another program since it was loaded or "
                                      "last saved. Overwrite it with your edits?"}));
  EXPECT_TRUE(AxisFile() == theirs && Modified() && saver.SideLinesChanged(0));
  dialogs.QueueAnswer(DialogAnswer::Yes);
  EXPECT_TRUE(saver.SaveSideLines());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
  // The file as this save wrote it asks nothing at the next save.
  dialogs.ClearCalls();
  EditLine(3, "WP=3705N 02410E");
  EXPECT_TRUE(saver.SaveSideLines() && dialogs.Texts(DialogKind::Confirm).empty());
  EXPECT_EQ(AxisFile(), edited);
}

// Edit force changes only what the user changed: a file speed beyond the box's 32 knots stays
// as it is on an untouched OK; another speed is a step, undone with the forces list's row.
TEST_F(CaseEditorTest, EditForceKeepsAnUntouchedSpeedAndAChangedOneIsAStep) {
  Load();
  SelectForce("Abdiel");
  platform::TextLines& lines = SideLines(1);
  const std::size_t speedLine = static_cast<std::size_t>(std::ranges::find(lines, "SPEED=34") - lines.begin());
  ASSERT_LT(speedLine, lines.size());
  QString overview;  // the header lines shown, and where they are scrolled to
  int overviewScroll = -1;
  for (const int typed : {-1, 12}) {
    QTimer::singleShot(0, [&] {
      TdlgForceInfo* dialog = window.findChild<TdlgForceInfo*>("dlgForceInfo");
      overview = dialog->Memo1->toPlainText();
      overviewScroll = dialog->Memo1->horizontalScrollBar()->value();
      if (typed >= 0) dialog->seSpeed->setValue(typed);
      dialog->OKBtn->click();
    });
    Run(TCommand::EditForce);
    if (typed >= 0) break;
    EXPECT_TRUE(overview.startsWith("NAME=Abdiel\nNUMBER=4\nSPEED=34\nMISSION=Minelaying") && overviewScroll == 0);
    EXPECT_TRUE(lines[speedLine] == "SPEED=34" && editor.CurrentForce()->Speed == 34);
    EXPECT_FALSE(Modified() || actions[TCommand::Undo]->isEnabled());
  }
  EXPECT_TRUE(lines[speedLine] == "SPEED=12" && forces.index(forces.RowOf("Abdiel"), 1).data().toString() == "12");
  EXPECT_FALSE(Modified());  // not an edit of the case lines
  EXPECT_EQ(actions[TCommand::Undo]->text(), "Undo Edit force Abdiel");
  Run(TCommand::Undo);
  EXPECT_TRUE(lines[speedLine] == "SPEED=34" && forces.index(forces.RowOf("Abdiel"), 1).data().toString() == "34");
  EXPECT_TRUE(dialogs.Texts(DialogKind::Confirm).empty());
}

// The Edit force box shows a file speed beyond its 32 knots at 32 with a note, and holds a typed
// one there visibly at the first OK; the next OK takes it.
TEST(ForceInfoDialogTest, ASpeedBeyondTheBoxIsHeldVisiblyBeforeOkTakesIt) {
  TdlgForceInfo dialog;
  dialog.SetSpeed(34);
  EXPECT_TRUE(dialog.seSpeed->value() == 32 && dialog.lbSpeedHeld->text().contains("34") && !dialog.SpeedChanged());
  dialog.show();
  dialog.seSpeed->lineEdit()->selectAll();
  QTest::keyClicks(dialog.seSpeed->lineEdit(), "40");
  dialog.OKBtn->click();
  EXPECT_TRUE(dialog.isVisible() && dialog.seSpeed->lineEdit()->text() == "32" && dialog.lbSpeedHeld->text().contains("40"));
  dialog.OKBtn->click();
  EXPECT_TRUE(dialog.result() == QDialog::Accepted && dialog.Speed() == 32 && dialog.SpeedChanged());
}

// A fault that ends a case is said once per load: a record for the Problems panel, a message box
// unless the load's go to the panel only. One the load said (an unknown base) is not said again.
TEST_F(CaseEditorTest, ACaseEndingFaultIsSaidOncePerLoadInThePanelWhenChosen) {
  prepare = [this] {
    const std::string bytes = ReplacedOnce(AxisFile(), "LL=3740N 02330E", "LOCATION=Nowhere");
    std::ofstream(dir / "AxisShips.cfg", std::ios::binary | std::ios::trunc)
        << ReplacedOnce(bytes, "WP=3620N 02330E", "WP=3620N 0233OE");
  };
  for (const bool panelOnly : {false, true}) {
    actions[TCommand::PanelOnly]->setChecked(panelOnly);
    problemsShown.clear();
    Load();
    for (int selection = 0; selection < 3; ++selection) SelectForce("Lupo convoy"), SelectForce("Force A1");
    const std::vector<scenario::TDiagnostic> said = document->Document().Diagnostics();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_TRUE(said[0].Text.starts_with("Error reading case!\rLine no: 18\rLine: WP=3620N 0233OE")) << said[0].Text;
    EXPECT_EQ(said[0].Line, 19);  // the file's line, counted from 1
    EXPECT_EQ(dialogs.Texts(DialogKind::Message), panelOnly ? std::vector<std::string>{} : std::vector{said[0].Text});
    EXPECT_EQ(problemsShown, std::vector<bool>{panelOnly});
  }
}

// Edit's text is checked (rules: CaseLineCheckTest): a refused one stays in the box with its reason
// until Cancel or an accepted one, stored in the side file's encoding, here Windows (not UTF-8).
TEST_F(CaseEditorTest, ATypedLineIsRefusedInItsBoxOrStoredInTheSideFilesEncoding) {
  prepare = [this] {
    const std::string bytes = ReplacedOnce(AxisFile(), "NAME=Lupo\r\n", "NAME=Lup\xF6\r\n");
    std::ofstream(dir / "AxisShips.cfg", std::ios::binary | std::ios::trunc) << bytes;
  };
  Load();
  SelectForce("Lupo convoy");
  const platform::TextLines loaded = SideLines(0);
  SelectLine(3);
  dialogs.QueueInput("Target=Atlantis");
  dialogs.QueueInputCancel();  // the user gives up on the open box
  Run(TCommand::EditLine);
  // One box: the refusal is shown in it, not in a message box of its own.
  EXPECT_TRUE(dialogs.Texts(DialogKind::Input).size() == 1 && dialogs.Texts(DialogKind::Refusal).size() == 1);
  EXPECT_TRUE(dialogs.Reports().empty());
  EXPECT_TRUE(SideLines(0) == loaded && document->UndoStack().count() == 0);
  EXPECT_TRUE(Modified() && !saver.SideLinesChanged(0));  // a cancelled edit counts as an edit
  dialogs.QueueInput("WP=3705N 0241OE");  // a letter O for a zero
  EditLine(3, "WP=3705N 02410E");
  EXPECT_EQ(dialogs.Texts(DialogKind::Refusal).back(), "Lat/Long conversion error");
  EXPECT_EQ(edit.Cases.CaseWaypoints[0].Point(0), NorthEast(37, 5, 24, 10));
  // Lines the case rules do not read are stored as typed, in the file's bytes; an arrow has none.
  dialogs.QueueInput("FORMATIONHEADING=200 \xE2\x86\x92 Maleme");
  EditLine(1, "FORMATIONHEADING=2OO \xE2\x80\x94 Mal\xC3\xA8me  ");
  EXPECT_EQ(dialogs.Texts(DialogKind::Refusal).size(), 3u);
  EXPECT_EQ(Shown()[1], "FORMATIONHEADING=2OO \x97 Mal\xE8me  ");
}

// A campaign side is written to its missions file with CR LF line ends, the success said when
// chosen; nothing is written before a force is selected.
TEST_F(CaseEditorTest, ACampaignSideIsSavedToItsMissionsFileWithCrLfLineEnds) {
  const fs::path malta = fs::path(kProgramDir) / "Scenarios" / "Malta1941";
  const std::string original = ReadFile(malta / "AlliedMissions.cfg");
  ASSERT_EQ(original.substr(original.size() - 4), "\r\n\r\n");
  prepare = [&] {
    std::string bare = original;
    std::erase(bare, '\r');
    std::ofstream(dir / "AlliedMissions.cfg", std::ios::binary | std::ios::trunc) << bare;
  };
  Load(malta);
  EXPECT_TRUE(saver.SaveSideLines() && dialogs.Calls().empty());  // no force selected: nothing written
  SelectForce("Force H");
  EXPECT_FALSE(actions[TCommand::Save]->isEnabled());  // offered for unsaved edits only
  EditorSettings().setValue(kConfirmSavesKey, true);
  EXPECT_TRUE(saver.SaveSideLines());
  EXPECT_EQ(dialogs.Texts(DialogKind::Message), (std::vector<std::string>{"File saved as: AlliedMissions.cfg"}));
  EXPECT_TRUE(dialogs.Texts(DialogKind::Confirm).empty());  // the file is as loaded, LF ends and all
  EXPECT_EQ(ReadFile(dir / "AlliedMissions.cfg"), original);
  EXPECT_EQ(ReadFile(dir / "AxisMissions.cfg"), ReadFile(malta / "AxisMissions.cfg"));
}

// ---- The main window end to end -------------------------------------------------------------

// The case list's commands and Edit force through the window's actions and dialogs, saved: the
// side file's exact bytes, said in the status bar and the caption's mark; undone and redone.
TEST_F(ShownCreteWindowTest, EditsThroughTheCommandsAndDialogsAreSavedByteForByteUndoneAndRedone) {
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Crete1941[*]");
  const platform::TextLines loaded = window->Scenario().SideLines[0];
  EditLupoWaypoint();
  EXPECT_TRUE(window->windowHandle()->title().endsWith('*'));
  SelectLine(4);
  window->Actions()[TCommand::InsertLine]->trigger();
  SelectLine(6);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  window->Actions()[TCommand::DeleteLine]->trigger();
  // Add case on the empty third tab, offered first in its popup, copies case 2.
  SelectTab(2);
  const QList<QAction*> popup = Child<QMenu>("puCaseList")->actions();  // Add case and its separator
  EXPECT_TRUE(popup.at(0)->isVisible() && popup.at(1)->isVisible());
  window->Actions()[TCommand::AddCase]->trigger();
  QTimer::singleShot(0, [this] {
    Child<TdlgForceInfo>("dlgForceInfo")->seSpeed->setValue(12);
    Child<TdlgForceInfo>("dlgForceInfo")->OKBtn->click();
  });
  window->Actions()[TCommand::EditForce]->trigger();
  window->Actions()[TCommand::Save]->trigger();
  // Said in the status bar; the message box only when chosen in the View menu.
  EXPECT_EQ(window->statusBar()->currentMessage(), "Saved AxisShips.cfg");
  EXPECT_TRUE(dialogs->Texts(DialogKind::Message).empty());
  EXPECT_FALSE(Modified() || window->windowHandle()->title().endsWith('*') || window->Actions()[TCommand::Save]->isEnabled());
  std::string expected = ReplacedOnce(OriginalAxisFile(), "SPEED=7\r\n", "SPEED=12\r\n");
  expected = ReplacedOnce(expected, "WP=3700N 02400E\r\nWP=3650N 02400E\r\nTP=3545N 02350E\r\n",
                          "WP=3705N 02410E\r\nWP=3650N 02400E\r\nWP=3650N 02400E\r\n");
  expected = ReplacedOnce(expected, "CASECOUNT=2", "CASECOUNT=3");
  expected = ReplacedOnce(expected, "Target=Maleme\r\nENDMISSION\r\n",
                          "Target=Maleme\r\nCASE3\r\nFORMATIONHEADING=210\r\nLL=3745N 02325E\r\nWP=3710N 02340E\r\n"
                          "WP=3620N 02330E\r\nTarget=Maleme\r\nENDMISSION\r\n");
  EXPECT_EQ(AxisFile(), expected);
  ASSERT_EQ(window->UndoStack().count(), 5);
  EXPECT_EQ(window->UndoStack().text(2), "Delete line 7 of Lupo convoy case 1");
  const platform::TextLines edited = window->Scenario().SideLines[0];
  for (int i = 0; i < 5; ++i) window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0], loaded);
  for (int i = 0; i < 5; ++i) window->Actions()[TCommand::Redo]->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0], edited);
}

// Each changed side is asked about in turn (edits undone to the saved lines ask nothing:
// SessionTest), Cancel or a failed save keeps the window, No drops that side's edits.
TEST_F(ShownCreteWindowTest, ClosingAsksPerChangedSideAndCancelOrAFailedSaveKeepsTheWindow) {
  window->Actions()[TCommand::ConfirmSaves]->trigger();  // the View menu's choice
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
  EXPECT_EQ(dialogs->Texts(DialogKind::Message), (std::vector<std::string>{"File saved as: AxisShips.cfg"}));
  EXPECT_EQ(AxisFile(), ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E", "WP=3705N 02410E"));
  EXPECT_EQ(ReadFile(scenarioDir / "AlliedShips.cfg"), ReadFile(kCrete / "AlliedShips.cfg"));
}

}  // namespace
}  // namespace editor
