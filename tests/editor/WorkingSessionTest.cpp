// The main window as a working session: loading, reopening, Recent list, settings, Problems
// panel and the case list's keys.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "editor/CommandLine.h"
#include "editor/ComputeEndurance.h"
#include "editor/EditorSettings.h"
#include "editor/ProblemsModel.h"
#include "editor/ProblemsPanel.h"
#include "editor/RecoveryKeeper.h"
#include "editor/TestForm.h"
#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/Version.h"
#include "scenario/JsonText.h"
#include "scenario/LoadCheck.h"
#include "scenario/RecoveryStore.h"
#include "scenario/ScenarioTime.h"
#include "editor/ScenarioSaveAs.h"
#include "tests/editor/CreteWindowFixture.h"
#include "tests/support/WriteTraps.h"

namespace editor {
namespace {

namespace fs = std::filesystem;
using fixtures::kProgramDir;
using platform::DialogAnswer;
using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

const std::string kCrete = fixtures::kCrete.string();
const std::string kMalta = kProgramDir + "/Scenarios/Malta1941";
const std::string kFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/";

TEST(RecentScenariosTest, AStoredListIsCleanedAnOpenedDirectoryGoesToTheTopAndTheLastFallsOff) {
  TRecentScenarios recent({"/a", "", "/b", "/a", "/c", "/d", "/e", "/f", "/g", "/h", "/i"});
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h"}));
  recent.Add("/c");
  recent.Add("/j");
  EXPECT_TRUE(recent.Remove("/a") && !recent.Remove("/x"));
  EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"/j", "/c", "/b", "/d", "/e", "/f", "/g"}));
}

TEST(CommandLineTest, DirectoryVersionAndHelp) {
  const char* withDir[] = {"vrkedit", "Scenarios/Malta1941/"};
  const TCommandLine open = ParseCommandLine(2, withDir);
  EXPECT_EQ(open.Directory, (fs::current_path() / "Scenarios" / "Malta1941").string());
  const char* none[] = {"vrkedit"};
  EXPECT_FALSE(ParseCommandLine(1, none).Directory.has_value());
  for (const auto& [option, shown] : {std::pair{"--version", CORVALIS_VERSION}, {"--help", "DIR"}}) {
    const char* args[] = {"vrkedit", option};
    const TCommandLine line = ParseCommandLine(2, args);
    EXPECT_TRUE(line.Exit && line.ExitCode == 0) << option;
    EXPECT_NE(line.Output.find(shown), std::string::npos) << line.Output;
  }
}

struct SessionTest : fixtures::CaseEditingWindowTest {
  static QStringList ForceRows(const TfrmEditMain& w) {
    QStringList rows;
    const TForcesModel& forces = w.Forces();
    for (int i = 0; i < forces.rowCount(); ++i) {
      rows << forces.index(i, 0).data().toString() + "|" + forces.index(i, 1).data().toString() + "|" +
                  forces.index(i, 2).data().toString();
    }
    return rows;
  }
  static std::string Json(TfrmEditMain& w) {
    std::vector<std::string> messages;
    for (const auto& problem : w.findChild<TdkProblems*>("dkProblems")->Problems()) messages.push_back(problem.Text);
    ScriptedDialogs quiet;
    const auto kind = w.Scenario().IsCampaign ? scenario::TScenarioKind::skCampaign : scenario::TScenarioKind::skScenario;
    return scenario::JsonDump(scenario::ScenarioJsonDocument(kind, messages, w.Scenario(), w.GlobeMap(), quiet)) + "\n";
  }
  // Crete with the second line of Force A1's case 1 edited (AlliedShips.cfg).
  void OpenCreteAndEditALine() {
    ASSERT_TRUE(window->OpenDirectory(kCrete));
    SelectForce("Force A1");
    SelectLine(1);
    dialogs->QueueInput("WP=3500N 02400E");
    window->Actions()[TCommand::EditLine]->trigger();
    ASSERT_TRUE(window->Saving().SideLinesChanged(1));
  }
};

// The load command is run on the demo itself, not on a copy.
TEST_F(SessionTest, LoadedDemoFillsCaptionTimeAndForcesList) {
  dialogs->QueueDirectory(kCrete);
  window->Actions()[TCommand::Open]->trigger();  // the menu command presses the load button
  ASSERT_EQ(dialogs->Texts(DialogKind::Directory).size(), 1u);
  EXPECT_EQ(dialogs->Calls().front().defaultText, kProgramDir);  // starts in the program's folder
  EXPECT_TRUE(dialogs->Reports().empty()) << dialogs->Reports().front();
  EXPECT_EQ(window->windowTitle().toStdString(), "VRK scenario editor - Crete1941[*]");
  // ScenarioInfo.cfg: StartDate=19410520, StartHour=6.
  const double start = platform::EncodeDate(1941, 5, 20) + platform::EncodeTime(6, 0, 0, 0);
  EXPECT_EQ(Child<QLabel>("stTime")->text().toStdString(), scenario::ScenarioStartLabel(start, window->Regional()));
  // Force A1 is the first force of AlliedShips.cfg.
  EXPECT_EQ(ForceCell("Force A1", 1), "18");
  EXPECT_EQ(ForceCell("Force A1", 2), "Intercept");
}

// A cancelled choice, a folder that is not a scenario and a program folder without its "Data"
// folder: with nothing loaded only the load stays offered; a loaded scenario stays as it was.
TEST_F(SessionTest, CancelledOrFailedOpensChangeNothing) {
  Child<QToolButton>("sbLoad")->click();  // no directory queued: the dialog returns an empty path
  EXPECT_FALSE(window->Actions()[TCommand::ViewShipFile]->isEnabled() || window->Actions()[TCommand::Save]->isEnabled());
  ASSERT_TRUE(window->OpenDirectory(kCrete));
  const QString title = window->windowTitle();
  const QStringList rows = ForceRows(*window);
  const std::string json = Json(*window);
  dialogs->ClearCalls();
  dialogs->QueueDirectory(kProgramDir + "/Scenarios");
  Child<QToolButton>("sbLoad")->click();
  ASSERT_EQ(dialogs->Reports().size(), 1u);
  EXPECT_EQ(dialogs->Reports().front(), "This directory does not appear to contain a Varnel scenario or campaign!");
  window->SetProgramDir(kProgramDir + "/Scenarios");
  EXPECT_FALSE(window->OpenDirectory(kCrete));
  ASSERT_EQ(dialogs->Texts(DialogKind::Error).size(), 2u);
  EXPECT_NE(dialogs->Texts(DialogKind::Error).back().find("Data"), std::string::npos);
  EXPECT_EQ(window->windowTitle(), title);
  EXPECT_EQ(ForceRows(*window), rows);
  EXPECT_EQ(Json(*window), json);
  EXPECT_EQ(window->RecentScenarios().Entries(), std::vector<std::string>{kCrete});
}

TEST_F(SessionTest, UnsavedEditsAreAskedAboutCancelKeepsEverythingUndoneEditsAskNothing) {
  OpenCreteAndEditALine();
  const platform::TextLines edited = window->Scenario().SideLines[1];
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  EXPECT_FALSE(window->OpenDirectory(kMalta));
  ASSERT_EQ(dialogs->Texts(DialogKind::Confirm), std::vector<std::string>{"Save changes to AlliedShips.cfg?"});
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Crete1941[*]");
  EXPECT_EQ(window->Scenario().SideLines[1], edited);
  // No: the edits are dropped and the other scenario opens with nothing selected.
  dialogs->QueueAnswer(DialogAnswer::No);
  Child<QPlainTextEdit>("Memo1")->setPlainText("LL=3500N 02400E");
  EXPECT_TRUE(window->OpenDirectory(kMalta));
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Malta1941[*]");
  EXPECT_EQ(window->CaseEditor().CurrentForce(), nullptr);
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), "LL=3500N 02400E");  // the user's memo stays
  EXPECT_EQ(window->UndoStack().count(), 0);  // nothing of the old scenario to undo
  OpenCreteAndEditALine();
  window->Actions()[TCommand::Undo]->trigger();
  dialogs->ClearCalls();
  EXPECT_TRUE(window->OpenDirectory(kMalta));
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
}

TEST_F(SessionTest, CommandLineDirectoryOpensWhenTheWindowIsShown) {
  Child<QPlainTextEdit>("Memo1")->setPlainText("typed before the first load");
  window->SetStartDirectory(kCrete);
  window->show();
  QTRY_COMPARE(window->windowTitle(), QString("VRK scenario editor - Crete1941[*]"));
  EXPECT_TRUE(dialogs->Texts(DialogKind::Directory).empty());  // no dialog
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), "typed before the first load");
  window->hide();
}

TEST_F(SessionTest, RecentMenuOrderAndAVanishedDirectory) {
  const fs::path scratch = fs::temp_directory_path() / ("corvalis_recent_" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  fs::copy(kFixtures + "small_scenario", scratch / "gone", fs::copy_options::recursive);
  const std::vector<std::string> dirs = {(scratch / "gone").string(), kFixtures + "edge_scenario", kCrete};
  window->Actions()[TCommand::PanelOnly]->setChecked(true);  // the fixtures' messages stay in the panel
  for (const std::string& dir : dirs) ASSERT_TRUE(window->OpenDirectory(dir)) << dir;
  QStringList entries;
  for (const QAction* action : Child<QMenu>("Recent1")->actions()) entries << action->text();
  EXPECT_EQ(entries, (QStringList{kCrete.c_str(), dirs[1].c_str(), dirs[0].c_str()}));  // order and limit: above
  EXPECT_EQ(EditorSettings().value("session/recentScenarios").toStringList(), entries);
  TfrmEditMain next(std::make_unique<ScriptedDialogs>());
  EXPECT_EQ(next.RecentScenarios().Entries(), window->RecentScenarios().Entries());
  Child<QMenu>("Recent1")->actions().at(1)->trigger();
  EXPECT_EQ(window->RecentScenarios().Entries().front(), dirs[1]);
  // A directory that went away is taken off with a message when chosen.
  fs::remove_all(scratch);
  dialogs->ClearCalls();
  const QString title = window->windowTitle();
  Child<QMenu>("Recent1")->actions().back()->trigger();
  ASSERT_EQ(dialogs->Texts(DialogKind::Error).size(), 1u);
  EXPECT_NE(dialogs->Texts(DialogKind::Error).front().find("no longer exists"), std::string::npos);
  EXPECT_EQ(window->windowTitle(), title);
  EXPECT_EQ(Child<QMenu>("Recent1")->actions().size(), 2);
}

// Nothing depends on the current directory after the start: with the open scenario's folder
// deleted (the load had moved into it), any other scenario opens, and a relative name is taken
// from the folder the program started in.
TEST_F(SessionTest, OpeningWorksAfterTheOpenScenariosFolderWentAway) {
  const fs::path startedIn = fs::current_path();
  const fs::path scratch = fs::temp_directory_path() / ("corvalis_gone_" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  fs::copy(kCrete, scratch / "Crete1941", fs::copy_options::recursive);
  ASSERT_TRUE(window->OpenDirectory((scratch / "Crete1941").string()));
  fs::remove_all(scratch);
  dialogs->ClearCalls();
  EXPECT_TRUE(window->OpenDirectory(kMalta));
  EXPECT_TRUE(dialogs->Texts(DialogKind::Error).empty()) << dialogs->Texts(DialogKind::Error).front();
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Malta1941[*]");
  const fs::path relative = fs::relative(kCrete, startedIn);
  ASSERT_TRUE(relative.is_relative());
  EXPECT_TRUE(window->OpenDirectory(relative.string()));
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Crete1941[*]");
  EXPECT_TRUE(dialogs->Texts(DialogKind::Error).empty());
  fs::current_path(startedIn);
}

TEST_F(SessionTest, SettingsGoToTheTestFolderAndLayoutComesBack) {
  dialogs->QueueDirectory(kCrete);
  Child<QToolButton>("sbLoad")->click();
  ForcesView().setColumnWidth(0, 131);
  Child<QSplitter>("pnMain")->setSizes({300, 500, 150});
  window->Actions()[TCommand::PanelOnly]->setChecked(true);
  window->show();
  QApplication::processEvents();
  const QList<int> sizes = Child<QSplitter>("pnMain")->sizes();
  window->close();
  ScriptedDialogs* nextDialogs = nullptr;
  std::unique_ptr<TfrmEditMain> next = NewWindow(nextDialogs);
  EXPECT_EQ(next->findChild<QTreeView*>("lvForces")->columnWidth(0), 131);
  EXPECT_TRUE(next->Actions()[TCommand::PanelOnly]->isChecked());
  next->show();
  QApplication::processEvents();
  EXPECT_EQ(next->findChild<QSplitter*>("pnMain")->sizes(), sizes);
  next->findChild<QToolButton*>("sbLoad")->click();
  ASSERT_EQ(nextDialogs->Texts(DialogKind::Directory).size(), 1u);
  EXPECT_EQ(nextDialogs->Calls().back().defaultText, kProgramDir + "/Scenarios");
  next->hide();
}

TEST_F(SessionTest, ProblemsPanelListsTheLoadMessagesAndShowsTheirPlace) {
  window->Actions()[TCommand::PanelOnly]->setChecked(true);
  ASSERT_TRUE(window->OpenDirectory(kFixtures + "problems_campaign"));
  EXPECT_TRUE(dialogs->Reports().empty());  // no message boxes
  QTreeView* view = Child<TdkProblems>("dkProblems")->tvProblems;
  const QAbstractItemModel* rows = view->model();
  ASSERT_EQ(rows->rowCount(), 7);  // five load messages, then two findings of the checks
  const auto text = [rows](int i, int c, int role = Qt::DisplayRole) {
    return rows->index(i, c).data(role).toString();
  };
  const auto row = [&text](int i, int columns) {
    QStringList texts;
    for (int c = 0; c < columns; ++c) texts << text(i, c);
    return texts.join("|").toStdString();
  };
  // A message without a line leaves the line empty; the checks' findings carry severity and code.
  EXPECT_EQ(row(1, 2), "AxisBases.cfg|");
  EXPECT_TRUE(text(4, 3).startsWith("Error reading Mission! - Line no: 9 - Line: WP=bad"));
  EXPECT_EQ(row(6, 3), "AxisMissions.cfg|10|error");
  EXPECT_EQ(text(6, 2, Qt::ToolTipRole), "bad-position");
  // The findings name their force and case; the load's messages none.
  EXPECT_EQ(text(6, 0, TProblemsModel::kForceRole), "Italian Cruisers");
  EXPECT_EQ(text(6, 0, TProblemsModel::kCaseRole), "1");
  EXPECT_EQ(text(4, 0, TProblemsModel::kForceRole), "");
  emit view->activated(rows->index(4, 0));
  ASSERT_TRUE(CaseList().currentIndex().isValid());
  EXPECT_EQ(CaseList().currentIndex().data().toString(), "WP=bad");
  // A bases file line opens the file in the viewer at that line.
  QTimer::singleShot(0, [] {
    if (QWidget* viewer = QApplication::activeModalWidget()) viewer->close();
  });
  emit view->activated(rows->index(0, 0));
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->windowTitle(), "AxisBases.cfg");
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->ListBox1->currentItem()->text(), "Delay=abc");
  ASSERT_TRUE(window->OpenDirectory(kFixtures + "edge_scenario"));
  for (const auto& problem : Child<TdkProblems>("dkProblems")->Problems())
    EXPECT_EQ(fs::path(problem.File).parent_path().filename(), "edge_scenario");
}

TEST_F(SessionTest, CaseListKeysDisabledCommandsAndMarkedTabs) {
  ASSERT_TRUE(window->OpenDirectory(kCrete));
  window->show();
  SelectForce("Force A1");
  // No line selected: nothing to act on. Tabs of existing cases carry a mark, the others none.
  EXPECT_FALSE(window->Actions()[TCommand::EditLine]->isEnabled() || window->Actions()[TCommand::DeleteLine]->isEnabled() || window->Actions()[TCommand::PickPoint]->isEnabled());
  EXPECT_TRUE(!Child<QTabBar>("tcCasesTabs")->tabIcon(0).isNull() && Child<QTabBar>("tcCasesTabs")->tabIcon(5).isNull());
  CaseList().setFocus();
  SelectLine(1);
  const QString line = QString::fromStdString(window->CaseLines().Line(1));
  const int count = window->CaseLines().rowCount();
  dialogs->QueueInputCancel();
  QTest::keyClick(&CaseList(), Qt::Key_F2);
  ASSERT_EQ(dialogs->Texts(DialogKind::Input).size(), 1u);
  EXPECT_EQ(dialogs->Calls().back().defaultText, line.toStdString());
  QTest::keyClick(&CaseList(), Qt::Key_Insert);
  EXPECT_EQ(window->CaseLines().rowCount(), count + 1);
  SelectLine(1);
  dialogs->QueueAnswer(DialogAnswer::Ok);
  QTest::keyClick(&CaseList(), Qt::Key_Delete);
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).back(), "Delete point " + line.toStdString() + "?");
  EXPECT_EQ(window->CaseLines().rowCount(), count);
  dialogs->QueueInputCancel();
  const QRect box = CaseList().visualRect(window->CaseLines().index(1));
  QTest::mouseClick(CaseList().viewport(), Qt::LeftButton, {}, box.center());
  QTest::mouseDClick(CaseList().viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(dialogs->Texts(DialogKind::Input).size(), 2u);
  window->hide();
}

// The time box opens the endurance calculator on Alt + right press only.
TEST_F(SessionTest, TheTimeBoxOpensTheCalculator) {
  bool calculatorShown = false;
  QLabel* timeBox = Child<QLabel>("stTime");
  QTest::mousePress(timeBox, Qt::RightButton, Qt::NoModifier);
  QTest::mousePress(timeBox, Qt::LeftButton, Qt::AltModifier);
  QTimer::singleShot(0, [&] {
    calculatorShown = Child<TdlgComputeEndurance>("dlgComputeEndurance")->isVisible();
    Child<TdlgComputeEndurance>("dlgComputeEndurance")->bnCloseClick();
  });
  QTest::mousePress(timeBox, Qt::RightButton, Qt::AltModifier);
  EXPECT_TRUE(calculatorShown);
}

// A second scenario loads as in a fresh window: the same random case choices, positions,
// layers and bases (the generator started again), as vrkcheck reads them; going back and forth
// keeps the same state (the sanitizer build's leak checker sees what a cycle leaves behind).
TEST_F(SessionTest, ASecondScenarioLoadsAsInAFreshWindowAndCyclesKeepTheSameState) {
  ASSERT_TRUE(window->OpenDirectory(kCrete));
  const std::string crete = Json(*window);
  SelectForce("Force A1");
  ASSERT_TRUE(window->OpenDirectory(kMalta));
  ScriptedDialogs* freshDialogs = nullptr;
  std::unique_ptr<TfrmEditMain> fresh = NewWindow(freshDialogs);
  ASSERT_TRUE(fresh->OpenDirectory(kMalta));
  EXPECT_FALSE(ForceRows(*window).isEmpty());
  EXPECT_EQ(ForceRows(*window), ForceRows(*fresh));
  EXPECT_EQ(Json(*window), Json(*fresh));
  platform::LocalFileSystem files;
  scenario::TLoadCheck check(files, window->Regional(), kProgramDir);
  check.Run(kMalta);
  EXPECT_EQ(Json(*window), check.Json());
  for (int cycle = 0; cycle < 3; ++cycle) {
    ASSERT_TRUE(window->OpenDirectory(kCrete));
    ASSERT_EQ(Json(*window), crete) << cycle;
    ASSERT_TRUE(window->OpenDirectory(kMalta));
  }
}

// Save scenario as: a folder inside the scenario is refused and changes nothing; a new one gets
// the whole folder, the unsaved side as it stands, and the editor goes on there with its steps.
TEST_F(SessionTest, SaveScenarioAsCopiesTheFolderWithTheUnsavedSideAndGoesOnInTheCopy) {
  Load();
  EditLupoWaypoint();
  dialogs->QueueDirectory((scenarioDir / "Inside").string());
  window->Actions()[TCommand::SaveScenarioAs]->trigger();
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("that is the folder itself or a folder inside it"), std::string::npos) << Errors()[0];
  EXPECT_FALSE(fs::exists(scenarioDir / "Inside"));
  EXPECT_TRUE(window->Saving().SideLinesChanged(0));
  const fs::path copy = root / "Crete-mine";
  TRecoveryKeeper& keeper = *window->findChild<TRecoveryKeeper*>("RecoveryKeeper");
  keeper.KeepNow();
  ASSERT_TRUE(keeper.Store().Find(scenarioDir.string(), "AxisShips.cfg").Copy);
  dialogs->QueueDirectory("Crete-mine");  // typed: beside the scenario's folder
  window->Actions()[TCommand::SaveScenarioAs]->trigger();
  EXPECT_EQ(Errors().size(), 1u);
  // The edit is saved in the copy: nothing is kept for a restart any more.
  EXPECT_FALSE(keeper.Store().Find(scenarioDir.string(), "AxisShips.cfg").Copy);
  EXPECT_EQ(dialogs->Calls().back().defaultText, root.string());
  const std::string edited =
      fixtures::ReplacedOnce(OriginalAxisFile(), "WP=3700N 02400E\r\nWP=3650N", "WP=3705N 02410E\r\nWP=3650N");
  for (const auto& entry : fs::directory_iterator(fixtures::kCrete)) {
    const fs::path name = entry.path().filename();
    EXPECT_EQ(fixtures::ReadFile(scenarioDir / name), fixtures::ReadFile(entry.path())) << name;
    EXPECT_EQ(fixtures::ReadFile(copy / name), name == "AxisShips.cfg" ? edited : fixtures::ReadFile(entry.path())) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(copy), {}), std::distance(fs::directory_iterator(fixtures::kCrete), {}));
  EXPECT_EQ(window->windowTitle().toStdString(), "VRK scenario editor - Crete-mine[*]");
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_EQ(window->RecentScenarios().Entries().front(), copy.string());
  EXPECT_FALSE(window->Saving().SideLinesChanged(0));
  // The step is kept; undone, the next save writes the copy.
  window->UndoStack().undo();
  ASSERT_TRUE(window->Saving().SideLinesChanged(0));
  keeper.KeepNow();  // kept for a restart under the copy's name
  EXPECT_TRUE(keeper.Store().Find(copy.string(), "AxisShips.cfg").Copy);
  EXPECT_FALSE(keeper.Store().Find(scenarioDir.string(), "AxisShips.cfg").Copy);
  window->Actions()[TCommand::Save]->trigger();
  EXPECT_EQ(fixtures::ReadFile(copy / "AxisShips.cfg"), OriginalAxisFile());
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

// A folder nothing can be written in (mounted read-only, as a medium or the installed demos): the
// status bar and the Problems panel say so, and Save offers Save scenario as.
TEST_F(SessionTest, AReadOnlyFolderIsNotedAndSaveOffersSaveScenarioAs) {
  std::unique_ptr<corvalis::testing::ReadOnlyMount> readOnly;
  prepare = [&] { readOnly = std::make_unique<corvalis::testing::ReadOnlyMount>(scenarioDir); };
  Load();
  if (!readOnly->Mounted()) GTEST_SKIP() << "cannot mount a folder read-only here";
  const auto readOnlyNotes = [this] {
    std::vector<scenario::TDiagnostic> notes;
    for (const auto& problem : Child<TdkProblems>("dkProblems")->Problems())
      if (problem.Code == kReadOnlyFolderCode) notes.push_back(problem);
    return notes;
  };
  QLabel& mark = *Child<QLabel>("stReadOnly");
  EXPECT_TRUE(mark.isVisibleTo(window.get()));
  ASSERT_EQ(readOnlyNotes().size(), 1u);
  EXPECT_EQ(readOnlyNotes()[0].Text, "The folder " + scenarioDir.string() +
                                         " is read-only: edits cannot be saved there. \"Save scenario as\" keeps them in a new folder.");
  EXPECT_EQ(readOnlyNotes()[0].Severity, scenario::TLintSeverity::lsNote);
  EditLupoWaypoint();
  // Closing asks to save; a side that cannot be written offers Save scenario as, and No to that
  // keeps the window and the edits.
  dialogs->QueueAnswer(DialogAnswer::Yes);
  dialogs->QueueAnswer(DialogAnswer::No);
  EXPECT_FALSE(window->Saving().CloseQuery());
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).size(), 2u);
  EXPECT_TRUE(Errors().empty()) << Errors()[0];
  EXPECT_TRUE(window->Saving().SideLinesChanged(0));
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  dialogs->QueueDirectory((root / "Mine").string());
  window->Actions()[TCommand::Save]->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm),
            std::vector<std::string>{"Cannot write file \"" + (scenarioDir / "AxisShips.cfg").string() +
                                     "\": it is read-only.\rSave scenario as a new folder to keep the edits?"});
  EXPECT_TRUE(Errors().empty()) << Errors()[0];
  EXPECT_NE(fixtures::ReadFile(root / "Mine" / "AxisShips.cfg"), OriginalAxisFile());
  EXPECT_FALSE(window->Saving().SideLinesChanged(0));
  EXPECT_FALSE(mark.isVisibleTo(window.get()));
  EXPECT_TRUE(readOnlyNotes().empty());
}

// ---- Unsaved lines kept for a restart after a crash -------------------------------------------

struct RecoveryTest : SessionTest {
  TRecoveryKeeper& Keeper() const { return *window->findChild<TRecoveryKeeper*>("RecoveryKeeper"); }
  std::optional<scenario::TRecoveryCopy> Kept(const fs::path& folder) const {
    return Keeper().Store().Find(folder.string(), "AxisShips.cfg").Copy;
  }
  // A scratch copy of Crete (made once), opened.
  bool OpenCopy(const fs::path& folder) {
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(fixtures::kCrete))
      fs::copy_file(entry.path(), folder / entry.path().filename(), fs::copy_options::skip_existing);
    return window->OpenDirectory(folder.string());
  }
  void EditLine(int row, const std::string& text) {
    SelectLine(row);
    dialogs->QueueInput(text);
    window->Actions()[TCommand::EditLine]->trigger();
  }
};

// The side's lines are kept until a save, an undo back to the saved lines, a discard (No when
// another force is chosen) or a clean exit.
TEST_F(RecoveryTest, EditsAreKeptUntilSavedUndoneDiscardedOrClosed) {
  ASSERT_TRUE(OpenCopy(scenarioDir));
  const std::vector<std::pair<std::string, std::function<void()>>> ends = {
      {"save", [&] { window->Actions()[TCommand::Save]->trigger(); }},
      {"undo", [&] { window->Actions()[TCommand::Undo]->trigger(); }},
      {"discard", [&] { dialogs->QueueAnswer(DialogAnswer::No); SelectForce("Force A1"); }},
      {"close", [&] { dialogs->QueueAnswer(DialogAnswer::No); window->close(); }}};
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const std::string& end = ends[i].first;
    SelectForce("Lupo convoy");
    EditLine(3, "WP=3705N 0241" + std::to_string(i) + "E");
    Keeper().KeepNow();
    const auto kept = Kept(scenarioDir);
    ASSERT_TRUE(kept) << end;
    EXPECT_EQ(kept->Lines, window->Scenario().SideLines[0]) << end;
    EXPECT_EQ(kept->DiskHash, scenario::RecoveryHash(AxisFile())) << end;
    ends[i].second();
    Keeper().KeepNow();
    EXPECT_FALSE(Kept(scenarioDir)) << end;
  }
}

// A copy an earlier run kept (Lupo convoy's speed and a waypoint changed) is offered when the
// folder is opened: Yes brings it back as one step, speed included; No deletes it; a copy equal
// to the file goes without a question, a damaged one with a note.
TEST_F(RecoveryTest, AKeptCopyIsOfferedWhenItsFolderIsOpened) {
  const fs::path yes = root / "Yes", no = root / "No", same = root / "Same";
  const platform::TextLines disk = platform::SplitLines(OriginalAxisFile());
  ASSERT_EQ(std::make_pair(disk[3], disk[9]), std::make_pair(std::string("SPEED=7"), std::string("WP=3700N 02400E")));
  platform::TextLines edited = disk;
  edited[3] = "SPEED=12";
  edited[9] = "WP=3705N 02410E";
  const QDateTime keptAt(QDate(2026, 1, 2), QTime(3, 4, 5));
  const std::string question = "Restore unsaved changes to AxisShips.cfg from " +
                               platform::DateTimeToText(platform::EncodeDate(2026, 1, 2) + platform::EncodeTime(3, 4, 5, 0),
                                                        window->Regional()) + "?";
  fs::create_directories(Keeper().Folder());
  const std::string diskHash = scenario::RecoveryHash(OriginalAxisFile());
  Keeper().Store().Keep({yes.string(), "AxisShips.cfg", keptAt.toSecsSinceEpoch(), diskHash, edited});
  Keeper().Store().Keep({no.string(), "AxisShips.cfg", keptAt.toSecsSinceEpoch(), "changed", edited});
  Keeper().Store().Keep({same.string(), "AxisShips.cfg", keptAt.toSecsSinceEpoch(), diskHash, disk});
  const std::string damaged = Keeper().Store().FileName(same.string(), "AlliedShips.cfg");
  std::ofstream(damaged) << "Corvalis unsaved lines 1\nfolder 3";

  dialogs->ClearCalls();
  ASSERT_TRUE(OpenCopy(same));
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());
  EXPECT_EQ(Errors(), std::vector<std::string>{"The unsaved changes kept in " + damaged + " are damaged and were ignored."});
  EXPECT_FALSE(Kept(same));

  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  ASSERT_TRUE(OpenCopy(yes));
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm), std::vector<std::string>{question});
  EXPECT_EQ(window->Scenario().SideLines[0], edited);
  EXPECT_EQ(ForceCell("Lupo convoy", 1), "12");  // the speed read again (DocumentTest)
  EXPECT_TRUE(window->Saving().SideLinesChanged(0));
  EXPECT_EQ(fixtures::ReadFile(yes / "AxisShips.cfg"), OriginalAxisFile());  // nothing written
  ASSERT_EQ(window->UndoStack().count(), 1);
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(window->Scenario().SideLines[0], disk);
  window->Actions()[TCommand::Redo]->trigger();
  EXPECT_TRUE(Kept(yes));  // until the side is saved or declined

  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::No);  // Save changes to AxisShips.cfg?
  dialogs->QueueAnswer(DialogAnswer::No);  // Restore ...?
  ASSERT_TRUE(OpenCopy(no));
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm),
            (std::vector<std::string>{"Save changes to AxisShips.cfg?",
                                      question + "\rAxisShips.cfg has been changed on disk since then."}));
  EXPECT_FALSE(Kept(yes) || Kept(no));
  EXPECT_EQ(window->Scenario().SideLines[0], disk);
  EXPECT_EQ(window->UndoStack().count(), 0);
}

// Run only as the child of AKilledEditorsEditsComeBack: opens the folder it is given, edits a line
// and says so once the keeper has written the copy, then waits to be killed.
TEST_F(RecoveryTest, DISABLED_EditThenWaitToBeKilled) {
  fs::remove_all(root);
  const std::string folder = qEnvironmentVariable("CORVALIS_RECOVERY_FOLDER").toStdString();
  qputenv("XDG_DATA_HOME", qgetenv("CORVALIS_RECOVERY_DATA"));
  window = NewWindow(dialogs);
  ASSERT_TRUE(window->OpenDirectory(folder));
  window->show();
  EditLupoWaypoint();
  QElapsedTimer waited;
  waited.start();
  while (!Kept(folder) && waited.elapsed() < 20000) QTest::qWait(50);
  ASSERT_TRUE(Kept(folder));
  QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).removeRecursively();  // this process's own scratch folder
  std::puts("kept");
  std::fflush(stdout);
  for (;;) QTest::qWait(1000);
}

TEST_F(RecoveryTest, AKilledEditorsEditsComeBack) {
  fs::create_directories(scenarioDir);
  for (const auto& entry : fs::directory_iterator(fixtures::kCrete))
    fs::copy_file(entry.path(), scenarioDir / entry.path().filename());
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("CORVALIS_RECOVERY_FOLDER", QString::fromStdString(scenarioDir.string()));
  environment.insert("CORVALIS_RECOVERY_DATA", qEnvironmentVariable("XDG_DATA_HOME"));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests", "--gtest_filter=RecoveryTest.DISABLED_EditThenWaitToBeKilled"});
  ASSERT_TRUE(child.waitForStarted());
  QByteArray output;
  QElapsedTimer waited;
  waited.start();
  while (!output.contains("kept\n") && child.state() == QProcess::Running && waited.elapsed() < 60000) {
    child.waitForReadyRead(1000);
    output += child.readAllStandardOutput();
  }
  ASSERT_TRUE(output.contains("kept\n")) << output.toStdString() << child.readAllStandardError().toStdString();
  child.kill();  // SIGKILL: no clean exit, no question
  ASSERT_TRUE(child.waitForFinished());
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

  dialogs->QueueAnswer(DialogAnswer::Yes);
  ASSERT_TRUE(window->OpenDirectory(scenarioDir.string()));
  ASSERT_EQ(dialogs->Texts(DialogKind::Confirm).size(), 1u);
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm)[0].starts_with("Restore unsaved changes to AxisShips.cfg from "));
  EXPECT_EQ(window->Scenario().SideLines[0][9], "WP=3705N 02410E");
  EXPECT_TRUE(window->Saving().SideLinesChanged(0));
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

}  // namespace
}  // namespace editor
