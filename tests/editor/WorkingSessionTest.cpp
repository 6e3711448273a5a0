// The working session: loading, reopening, the Recent list, settings, the Problems panel, Save
// scenario as, read-only folders and the unsaved lines kept for a restart; first on the parts
// that hold them, then end to end in the main window.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "editor/CommandLine.h"
#include "editor/EditorSettings.h"
#include "editor/ProblemsModel.h"
#include "editor/RecoveryKeeper.h"
#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/Version.h"
#include "platform/qt/QtRegionalSettings.h"
#include "scenario/JsonText.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioLoader.h"
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
const std::string kOriginalAxis = fixtures::ReadFile(fixtures::kCrete / "AxisShips.cfg");
// A scratch copy of Crete in folder (made once).
void CopyCrete(const fs::path& folder) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(fixtures::kCrete))
    fs::copy_file(entry.path(), folder / entry.path().filename(), fs::copy_options::skip_existing);
}
// How many records are the note on a folder that cannot be written.
long ReadOnlyNotes(const std::vector<scenario::TDiagnostic>& records) {
  return std::ranges::count(records, std::string(kReadOnlyFolderCode), &scenario::TDiagnostic::Code);
}
// AxisShips.cfg with Lupo convoy's waypoint at line 10 moved, as the tests edit it.
const std::string kEditedAxis =
    fixtures::ReplacedOnce(kOriginalAxis, "WP=3700N 02400E\r\nWP=3650N", "WP=3705N 02410E\r\nWP=3650N");

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

// A row's texts in a role, "|" between the columns.
std::string RowText(const QAbstractItemModel& rows, int row, int role = Qt::DisplayRole) {
  QStringList texts;
  for (int c = 0; c < rows.columnCount(); ++c) texts << rows.index(row, c).data(role).toString();
  return texts.join("|").toStdString();
}

// A row per record: the file's name (in full as tooltip), the line (empty without one), the
// severity (the code as tooltip), the force and case (empty without), the message on one line
// (in full as tooltip).
TEST(ProblemsModelTest, ARowShowsTheRecordsFields) {
  TProblemsModel rows;
  rows.SetDiagnostics({scenario::MessageDiagnostic("Error reading Mission!\r\rLine: WP=bad", 0, "/s/AxisBases.cfg"),
                       {"/s/AxisMissions.cfg", 10, scenario::TLintSeverity::lsError, "bad-position", "off the map", nullptr, 4}});
  EXPECT_EQ(RowText(rows, 0), "AxisBases.cfg|||||Error reading Mission! - Line: WP=bad");
  EXPECT_EQ(RowText(rows, 0, Qt::ToolTipRole), "/s/AxisBases.cfg|||||Error reading Mission!\n\nLine: WP=bad");
  EXPECT_EQ(RowText(rows, 1), "AxisMissions.cfg|10|error||4|off the map");
  EXPECT_EQ(RowText(rows, 1, Qt::ToolTipRole), "/s/AxisMissions.cfg||bad-position|||off the map");
}

// The keys of the case list's commands: F2 and Enter edit, Delete deletes, Insert inserts.
TEST(EditorActionsTest, CaseListKeys) {
  QWidget window;
  QUndoStack steps;
  const TEditorActions actions(window, steps);
  EXPECT_EQ((std::vector{actions.CaseListKeyCommand(Qt::Key_F2), actions.CaseListKeyCommand(Qt::Key_Return),
                         actions.CaseListKeyCommand(Qt::Key_Enter), actions.CaseListKeyCommand(Qt::Key_Delete),
                         actions.CaseListKeyCommand(Qt::Key_Insert), actions.CaseListKeyCommand(Qt::Key_Space)}),
            (std::vector{actions[TCommand::EditLine], actions[TCommand::EditLine], actions[TCommand::EditLine],
                         actions[TCommand::DeleteLine], actions[TCommand::InsertLine], static_cast<QAction*>(nullptr)}));
}

// ---- The session's parts without a window -----------------------------------------------------

// A scratch copy of Crete loaded into the document as the window loads it, with a file system, a
// map and dialogs of the test's own.
struct SessionPartsTest : ::testing::Test {
  void TearDown() override {
    fs::current_path(startDir);  // a load moves into the scenario's folder
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  // Copies Crete into folder (once) and loads it into a new map and the document.
  void Open(const fs::path& folder) {
    CopyCrete(folder);
    auto state = std::make_unique<scenario::TScenarioState>();
    std::unique_ptr<globe::TVoduz4> loaded = NewGlobeMap();
    ScriptedDialogs quiet;
    scenario::TScenarioLoader(*state, *loaded, quiet, *files, regional, kProgramDir).LoadDirectory(folder.string());
    ASSERT_TRUE(quiet.Reports().empty()) << quiet.Reports().front();
    document->Replace(std::move(state));
    map = std::move(loaded);
    for (scenario::TForce* force : document->State().ForceList)
      if (force->Title() == "Lupo convoy") document->Document().SetCurrent(force, 1);
  }
  // One step moving Lupo convoy's waypoint (line 10 of AxisShips.cfg) to text.
  void EditLupo(const std::string& text = "WP=3705N 02410E") {
    const platform::TextLines& lines = document->Document().SideLines(0);
    platform::TextLines edited = lines;
    edited[9] = text;
    ASSERT_TRUE(document->Push(scenario::TSideSplice{0, scenario::DiffLines(lines, edited)}, {}, {}, "edit"));
  }
  std::vector<std::string> Errors() const { return dialogs.Texts(DialogKind::Error); }

  const fs::path startDir = fs::current_path();
  fs::path root = fs::temp_directory_path() / ("corvalis_parts_" + std::to_string(::getpid()));
  fs::path scenarioDir = root / "Crete1941";
  ScriptedDialogs dialogs;
  const platform::RegionalSettings regional = platform::RegionalSettingsFromLocale();
  std::unique_ptr<platform::FileSystem> files = std::make_unique<platform::LocalFileSystem>();
  std::unique_ptr<globe::TVoduz4> map = NewGlobeMap();
  std::unique_ptr<TEditorDocument> document = std::make_unique<TEditorDocument>();  // after the map
  TSideSaver saver{document, files, dialogs};
  QMainWindow host;  // the status bar of the read-only mark
  TScenarioSaveAs saveAs{host, document, files, map, dialogs};
};

// Save scenario as: a folder inside the scenario is refused and changes nothing; a new one (a
// typed name lies beside the scenario's folder) gets the whole folder with the unsaved side as it
// stands, and the document goes on there with its steps: undone, the next save writes the copy.
// A folder nothing can be written in (mounted read-only, as a medium or the installed demos): a
// note among the load's diagnostics and the status bar's mark say so; closing with edits offers
// Save scenario as (No keeps them), Save offers it too, and the copy ends the note and the mark.
TEST_F(SessionPartsTest, SaveScenarioAsAndAFolderThatCannotBeWritten) {
  Open(scenarioDir);
  EditLupo();
  dialogs.QueueDirectory((scenarioDir / "Inside").string());
  EXPECT_FALSE(saveAs.SaveAs());
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("that is the folder itself or a folder inside it"), std::string::npos) << Errors()[0];
  EXPECT_FALSE(fs::exists(scenarioDir / "Inside"));
  EXPECT_TRUE(document->SideModified(0));
  const fs::path copy = root / "Crete-mine";
  dialogs.QueueDirectory("Crete-mine");
  EXPECT_TRUE(saveAs.SaveAs());
  EXPECT_EQ(dialogs.Calls().back().defaultText, root.string());
  // The rest is copied byte for byte (FolderCopyTest).
  EXPECT_EQ(fixtures::ReadFile(copy / "AxisShips.cfg"), kEditedAxis);
  EXPECT_EQ(fixtures::ReadFile(copy / "AlliedShips.cfg"), fixtures::ReadFile(fixtures::kCrete / "AlliedShips.cfg"));
  EXPECT_EQ(document->State().Caption, "VRK scenario editor - Crete-mine");
  EXPECT_FALSE(document->SideModified(0) || document->State().Modified);
  document->UndoStack().undo();
  ASSERT_TRUE(saver.SideLinesChanged(0));
  EXPECT_TRUE(saver.SaveSideLines());
  EXPECT_EQ(fixtures::ReadFile(copy / "AxisShips.cfg"), kOriginalAxis);
  EXPECT_EQ(fixtures::ReadFile(scenarioDir / "AxisShips.cfg"), kOriginalAxis);

  const corvalis::testing::ReadOnlyMount readOnly(copy);
  if (!readOnly.Mounted()) GTEST_SKIP() << "cannot mount a folder read-only here";
  saver.SaveReadOnlySide = [this](const std::string& file) { return saveAs.OfferSaveAs(file); };
  saveAs.NoteReadOnly();
  const QLabel& mark = *host.findChild<QLabel*>("stReadOnly");
  EXPECT_TRUE(mark.isVisibleTo(&host));
  ASSERT_EQ(ReadOnlyNotes(document->Document().LoadDiagnostics()), 1);
  const scenario::TDiagnostic& note = document->Document().LoadDiagnostics().back();
  EXPECT_EQ(note.Text, "The folder " + copy.string() +
                           " is read-only: edits cannot be saved there. \"Save scenario as\" keeps them in a new folder.");
  EXPECT_EQ(note.Severity, scenario::TLintSeverity::lsNote);
  EditLupo();
  const std::string offer = "Cannot write file \"" + (copy / "AxisShips.cfg").string() +
                            "\": it is read-only.\rSave scenario as a new folder to keep the edits?";
  dialogs.ClearCalls();
  dialogs.QueueAnswer(DialogAnswer::Yes);
  dialogs.QueueAnswer(DialogAnswer::No);
  EXPECT_FALSE(saver.CloseQuery());
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm), (std::vector<std::string>{"Save changes to AxisShips.cfg?", offer}));
  EXPECT_TRUE(document->SideModified(0));
  dialogs.ClearCalls();
  dialogs.QueueAnswer(DialogAnswer::Yes);
  dialogs.QueueDirectory((root / "Mine").string());
  EXPECT_TRUE(saver.SaveSideLines());
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm), std::vector<std::string>{offer});
  EXPECT_TRUE(Errors().empty()) << Errors()[0];
  EXPECT_EQ(fixtures::ReadFile(root / "Mine" / "AxisShips.cfg"), kEditedAxis);
  EXPECT_FALSE(document->SideModified(0) || mark.isVisibleTo(&host));
  EXPECT_EQ(ReadOnlyNotes(document->Document().LoadDiagnostics()), 0);
}

// A side's unsaved lines are kept until a save, an undo back to the saved lines or a clean exit.
// A copy an earlier run kept (Lupo convoy's speed and a waypoint changed) is offered when its
// folder is opened: Yes brings it back as one step, No deletes it; a copy equal to the file goes
// without a question, a damaged one with a note; opening another folder drops the copies.
TEST_F(SessionPartsTest, RecoveryKeeperKeepsUnsavedLinesAndOffersThemWhenTheirFolderIsOpened) {
  TRecoveryKeeper keeper(document, files, dialogs, regional, nullptr);
  const auto kept = [&keeper](const fs::path& folder) { return keeper.Store().Find(folder.string(), "AxisShips.cfg").Copy; };
  const auto open = [&](const fs::path& folder, std::optional<DialogAnswer> answer) {
    dialogs.ClearCalls();
    if (answer) dialogs.QueueAnswer(*answer);
    Open(folder);
    keeper.ScenarioOpened();
  };
  open(scenarioDir, std::nullopt);
  const std::pair<std::string, std::function<void()>> ends[] = {{"save", [this] { saver.SaveSideLines(); }},
                                                                {"undo", [&] { document->UndoStack().undo(), keeper.KeepNow(); }},
                                                                {"close", [&keeper] { keeper.ScenarioClosed(), keeper.KeepNow(); }}};
  int step = 0;
  for (const auto& [end, act] : ends) {
    EditLupo("WP=3705N 0241" + std::to_string(++step) + "E");
    keeper.KeepNow();
    ASSERT_TRUE(kept(scenarioDir)) << end;
    EXPECT_EQ(kept(scenarioDir)->Lines, document->Document().SideLines(0)) << end;
    EXPECT_EQ(kept(scenarioDir)->DiskHash, scenario::RecoveryHash(fixtures::ReadFile(scenarioDir / "AxisShips.cfg"))) << end;
    act();  // a save or a close drops the copy at once (and nothing is kept after a close), an undo at the next keeping
    EXPECT_FALSE(kept(scenarioDir)) << end;
  }

  const fs::path yes = root / "Yes", no = root / "No", same = root / "Same";
  const platform::TextLines disk = platform::SplitLines(kOriginalAxis);
  ASSERT_EQ(std::make_pair(disk[3], disk[9]), std::make_pair(std::string("SPEED=7"), std::string("WP=3700N 02400E")));
  platform::TextLines edited = disk;
  edited[3] = "SPEED=12";
  edited[9] = "WP=3705N 02410E";
  const std::int64_t keptAt = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)).toSecsSinceEpoch();
  const std::string question = "Restore unsaved changes to AxisShips.cfg from " +
                               platform::DateTimeToText(platform::EncodeDate(2026, 1, 2) + platform::EncodeTime(3, 4, 5, 0), regional) + "?";
  const std::string diskHash = scenario::RecoveryHash(kOriginalAxis);
  fs::create_directories(keeper.Folder());  // the store writes into it (the keeper makes it)
  keeper.Store().Keep({yes.string(), "AxisShips.cfg", keptAt, diskHash, edited});
  keeper.Store().Keep({no.string(), "AxisShips.cfg", keptAt, "changed", edited});
  keeper.Store().Keep({same.string(), "AxisShips.cfg", keptAt, diskHash, disk});
  const std::string damaged = keeper.Store().FileName(same.string(), "AlliedShips.cfg");
  std::ofstream(damaged) << "Corvalis unsaved lines 1\nfolder 3";
  open(same, std::nullopt);
  EXPECT_TRUE(dialogs.Texts(DialogKind::Confirm).empty());
  EXPECT_EQ(Errors(), std::vector<std::string>{"The unsaved changes kept in " + damaged + " are damaged and were ignored."});
  EXPECT_FALSE(kept(same));
  open(yes, DialogAnswer::Yes);
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm), std::vector<std::string>{question});
  EXPECT_EQ(document->Document().SideLines(0), edited);
  EXPECT_TRUE(document->SideModified(0));
  EXPECT_EQ(fixtures::ReadFile(yes / "AxisShips.cfg"), kOriginalAxis);  // nothing written
  ASSERT_EQ(document->UndoStack().count(), 1);
  document->UndoStack().undo();
  EXPECT_EQ(document->Document().SideLines(0), disk);
  document->UndoStack().redo();
  EXPECT_TRUE(kept(yes));  // until the side is saved or declined
  open(no, DialogAnswer::No);
  EXPECT_EQ(dialogs.Texts(DialogKind::Confirm),
            std::vector<std::string>{question + "\rAxisShips.cfg has been changed on disk since then."});
  EXPECT_FALSE(kept(yes) || kept(no));
  EXPECT_EQ(document->Document().SideLines(0), disk);
  EXPECT_EQ(document->UndoStack().count(), 0);
}

// ---- End to end in the main window ------------------------------------------------------------

struct SessionTest : fixtures::CreteWindowTest {
  static QStringList ForceRows(const TfrmEditMain& w) {
    QStringList rows;
    for (int i = 0; i < w.Forces().rowCount(); ++i) rows << QString::fromStdString(RowText(w.Forces(), i));
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
  std::optional<scenario::TRecoveryCopy> Kept(const fs::path& folder) const {
    return window->findChild<TRecoveryKeeper*>("RecoveryKeeper")->Store().Find(folder.string(), "AxisShips.cfg").Copy;
  }
};

// A day of opening scenarios, on the demos themselves: a first choice cancelled (the dialog starts
// in the program's folder); the command line's folder opened once the window is shown; the time
// box and the case list's keys; failed opens and unsaved edits; the Problems panel's places; a
// folder gone away and the Recent menu; a second scenario as in a fresh window; the layout and
// choices in the next window.
TEST_F(SessionTest, ADayOfOpeningScenarios) {
  window->Actions()[TCommand::Open]->trigger();  // no directory queued: the dialog returns an empty path
  ASSERT_EQ(dialogs->Texts(DialogKind::Directory).size(), 1u);
  EXPECT_EQ(dialogs->Calls().front().defaultText, kProgramDir);
  EXPECT_FALSE(window->Actions()[TCommand::ViewShipFile]->isEnabled() || window->Actions()[TCommand::Save]->isEnabled());
  dialogs->ClearCalls();
  Child<QPlainTextEdit>("Memo1")->setPlainText("typed before the first load");
  window->SetStartDirectory(kCrete);
  window->show();
  QTRY_COMPARE(window->windowTitle(), QString("VRK scenario editor - Crete1941[*]"));
  EXPECT_TRUE(dialogs->Calls().empty());  // no dialog
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), "typed before the first load");
  // ScenarioInfo.cfg: StartDate=19410520, StartHour=6. Force A1 is the first force of AlliedShips.cfg.
  const double start = platform::EncodeDate(1941, 5, 20) + platform::EncodeTime(6, 0, 0, 0);
  EXPECT_EQ(Child<QLabel>("stTime")->text().toStdString(), scenario::ScenarioStartLabel(start, window->Regional()));
  EXPECT_EQ(ForceCell("Force A1", 1), "18");
  EXPECT_EQ(ForceCell("Force A1", 2), "Intercept");

  // The time box opens the endurance calculator on Alt + right press only.
  TdlgComputeEndurance& calculator = *Child<TdlgComputeEndurance>("dlgComputeEndurance");
  bool calculatorShown = false;
  QTest::mousePress(Child<QLabel>("stTime"), Qt::RightButton, Qt::NoModifier);
  QTest::mousePress(Child<QLabel>("stTime"), Qt::LeftButton, Qt::AltModifier);
  QTimer::singleShot(0, [&] { calculatorShown = calculator.isVisible(), calculator.bnCloseClick(); });
  QTest::mousePress(Child<QLabel>("stTime"), Qt::RightButton, Qt::AltModifier);
  EXPECT_TRUE(calculatorShown);

  // The case list: no line selected, nothing to act on; tabs of existing cases carry a mark; a key
  // (EditorActionsTest) and a double-click reach the line's commands.
  SelectForce("Force A1");
  EXPECT_FALSE(window->Actions()[TCommand::EditLine]->isEnabled() || window->Actions()[TCommand::DeleteLine]->isEnabled() || window->Actions()[TCommand::PickPoint]->isEnabled());
  EXPECT_TRUE(!Child<QTabBar>("tcCasesTabs")->tabIcon(0).isNull() && Child<QTabBar>("tcCasesTabs")->tabIcon(5).isNull());
  CaseList().setFocus();
  SelectLine(1);
  dialogs->QueueInputCancel();
  dialogs->QueueInputCancel();
  QTest::keyClick(&CaseList(), Qt::Key_F2);
  const QRect box = CaseList().visualRect(window->CaseLines().index(1));
  QTest::mouseClick(CaseList().viewport(), Qt::LeftButton, {}, box.center());
  QTest::mouseDClick(CaseList().viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(dialogs->Texts(DialogKind::Input).size(), 2u);
  EXPECT_EQ(dialogs->Calls().back().defaultText, window->CaseLines().Line(1));

  // A folder that is not a scenario and a program folder without its "Data" folder change nothing.
  const QString title = window->windowTitle();
  const QStringList rows = ForceRows(*window);
  const std::string crete = Json(*window);
  dialogs->ClearCalls();
  dialogs->QueueDirectory(kProgramDir + "/Scenarios");
  Child<QToolButton>("sbLoad")->click();
  EXPECT_EQ(Errors(), std::vector<std::string>{"This directory does not appear to contain a Varnel scenario or campaign!"});
  window->SetProgramDir(kProgramDir + "/Scenarios");
  EXPECT_FALSE(window->OpenDirectory(kCrete));
  ASSERT_EQ(Errors().size(), 2u);
  EXPECT_NE(Errors().back().find("Data"), std::string::npos);
  window->SetProgramDir(kProgramDir);
  EXPECT_EQ(window->windowTitle(), title);
  EXPECT_EQ(ForceRows(*window), rows);
  EXPECT_EQ(Json(*window), crete);

  // Unsaved edits are asked about: Cancel keeps everything; No drops them and the other scenario
  // opens with nothing selected or to undo (the memo is the user's); undone edits ask nothing.
  OpenCreteAndEditALine();
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Cancel);
  EXPECT_FALSE(window->OpenDirectory(kMalta));
  ASSERT_EQ(dialogs->Texts(DialogKind::Confirm), std::vector<std::string>{"Save changes to AlliedShips.cfg?"});
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Crete1941[*]");
  EXPECT_TRUE(window->Saving().SideLinesChanged(1));
  dialogs->QueueAnswer(DialogAnswer::No);
  EXPECT_TRUE(window->OpenDirectory(kMalta));
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Malta1941[*]");
  EXPECT_EQ(window->CaseEditor().CurrentForce(), nullptr);
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), "typed before the first load");
  EXPECT_EQ(window->UndoStack().count(), 0);
  OpenCreteAndEditALine();
  window->Actions()[TCommand::Undo]->trigger();
  dialogs->ClearCalls();
  EXPECT_TRUE(window->OpenDirectory(kMalta));
  EXPECT_TRUE(dialogs->Texts(DialogKind::Confirm).empty());

  // Malta after Crete loads as in a fresh window: the same random case choices, positions, layers
  // and bases (the generator started again), as vrkcheck reads them; going back and forth keeps
  // the same state (the sanitizer build's leak checker sees what a cycle leaves behind).
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

  // The Problems panel (ProblemsModelTest): the load's messages, then the checks' findings, which
  // name their force and case. A side file's line opens its force, case and line; a line of
  // another file opens that file in the viewer. The panel follows the next load.
  window->Actions()[TCommand::PanelOnly]->setChecked(true);  // the fixtures' messages stay in the panel
  ASSERT_TRUE(window->OpenDirectory(kFixtures + "problems_campaign"));
  EXPECT_TRUE(dialogs->Reports().empty());  // no message boxes
  QTreeView* view = Child<TdkProblems>("dkProblems")->tvProblems;
  const QAbstractItemModel* problems = view->model();
  ASSERT_EQ(problems->rowCount(), 7);  // five load messages (ScenarioLoadingTest), then two findings of the checks
  EXPECT_TRUE(RowText(*problems, 6).starts_with("AxisMissions.cfg|10|error|Italian Cruisers|1|")) << RowText(*problems, 6);
  EXPECT_EQ(problems->index(6, 0).data(TProblemsModel::kForceRole), "Italian Cruisers");
  EXPECT_EQ(problems->index(6, 0).data(TProblemsModel::kCaseRole), 1);
  EXPECT_EQ(problems->index(4, 0).data(TProblemsModel::kForceRole), "");
  emit view->activated(problems->index(4, 0));
  ASSERT_TRUE(CaseList().currentIndex().isValid());
  EXPECT_EQ(CaseList().currentIndex().data().toString(), "WP=bad");
  QTimer::singleShot(0, [] {
    if (QWidget* viewer = QApplication::activeModalWidget()) viewer->close();
  });
  emit view->activated(problems->index(0, 0));
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->windowTitle(), "AxisBases.cfg");
  EXPECT_EQ(Child<TfrmShowFile>("frmShowFile")->ListBox1->currentItem()->text(), "Delay=abc");
  ASSERT_TRUE(window->OpenDirectory(kFixtures + "edge_scenario"));
  for (const auto& problem : Child<TdkProblems>("dkProblems")->Problems())
    EXPECT_EQ(fs::path(problem.File).parent_path().filename(), "edge_scenario");

  // Nothing depends on the current directory after the start: with the open scenario's folder
  // deleted (the load had moved into it) any other scenario opens, and a relative name is taken
  // from the folder the program started in. The Recent menu lists the newest first, as the
  // settings keep it (RecentScenariosTest); a folder that went away goes with a message.
  const fs::path gone = root / "gone";
  fs::copy(kFixtures + "small_scenario", gone, fs::copy_options::recursive);
  ASSERT_TRUE(window->OpenDirectory(gone.string()));
  fs::remove_all(gone);
  dialogs->ClearCalls();
  EXPECT_TRUE(window->OpenDirectory(kMalta));
  const fs::path relative = fs::relative(kCrete, startDir);
  ASSERT_TRUE(relative.is_relative());
  EXPECT_TRUE(window->OpenDirectory(relative.string()));
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Crete1941[*]");
  QStringList entries;
  for (const QAction* action : Child<QMenu>("Recent1")->actions()) entries << action->text();
  EXPECT_EQ(entries.mid(0, 4), (QStringList{kCrete.c_str(), kMalta.c_str(), gone.c_str(), (kFixtures + "edge_scenario").c_str()}));
  EXPECT_EQ(EditorSettings().value("session/recentScenarios").toStringList(), entries);
  Child<QMenu>("Recent1")->actions().at(1)->trigger();
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Malta1941[*]");
  Child<QMenu>("Recent1")->actions().at(2)->trigger();
  EXPECT_EQ(Errors(), std::vector<std::string>{"The directory " + gone.string() + " no longer exists; it was taken off the recent scenarios."});
  EXPECT_EQ(window->windowTitle(), "VRK scenario editor - Malta1941[*]");
  EXPECT_EQ(Child<QMenu>("Recent1")->actions().size(), entries.size() - 1);

  // The layout and the choices come back in the next window; its directory dialog starts beside
  // the folder last chosen in it.
  dialogs->QueueDirectory(kCrete);
  Child<QToolButton>("sbLoad")->click();
  ForcesView().setColumnWidth(0, 131);
  Child<QSplitter>("pnMain")->setSizes({300, 500, 150});
  QApplication::processEvents();
  const QList<int> sizes = Child<QSplitter>("pnMain")->sizes();
  window->close();
  ScriptedDialogs* nextDialogs = nullptr;
  std::unique_ptr<TfrmEditMain> next = NewWindow(nextDialogs);
  EXPECT_EQ(next->findChild<QTreeView*>("lvForces")->columnWidth(0), 131);
  EXPECT_TRUE(next->Actions()[TCommand::PanelOnly]->isChecked());
  EXPECT_EQ(next->RecentScenarios().Entries(), window->RecentScenarios().Entries());
  next->show();
  QApplication::processEvents();
  EXPECT_EQ(next->findChild<QSplitter*>("pnMain")->sizes(), sizes);
  next->findChild<QToolButton*>("sbLoad")->click();
  ASSERT_EQ(nextDialogs->Texts(DialogKind::Directory).size(), 1u);
  EXPECT_EQ(nextDialogs->Calls().back().defaultText, kProgramDir + "/Scenarios");
  next->hide();
}

// Save scenario as from the menu (its rules: SessionPartsTest), and Save in a read-only folder
// offering it: the editor goes on in the copy (caption, Recent list, the unsaved lines kept under
// the copy's name), and the read-only folder's status bar mark and Problems note go.
TEST_F(SessionTest, SaveScenarioAsAndAReadOnlyFolder) {
  Load();
  EditLupoWaypoint();
  window->findChild<TRecoveryKeeper*>("RecoveryKeeper")->KeepNow();
  ASSERT_TRUE(Kept(scenarioDir));
  const fs::path copy = root / "Crete-mine";
  dialogs->QueueDirectory("Crete-mine");
  window->Actions()[TCommand::SaveScenarioAs]->trigger();
  EXPECT_EQ(fixtures::ReadFile(copy / "AxisShips.cfg"), kEditedAxis);
  EXPECT_EQ(window->windowTitle().toStdString(), "VRK scenario editor - Crete-mine[*]");
  EXPECT_FALSE(window->isWindowModified() || Kept(scenarioDir));
  EXPECT_EQ(window->RecentScenarios().Entries().front(), copy.string());
  window->UndoStack().undo();
  window->findChild<TRecoveryKeeper*>("RecoveryKeeper")->KeepNow();
  EXPECT_TRUE(Kept(copy));  // kept for a restart under the copy's name
  window->Actions()[TCommand::Save]->trigger();
  EXPECT_EQ(fixtures::ReadFile(copy / "AxisShips.cfg"), kOriginalAxis);

  const corvalis::testing::ReadOnlyMount readOnly(copy);
  if (!readOnly.Mounted()) GTEST_SKIP() << "cannot mount a folder read-only here";
  ASSERT_TRUE(window->OpenDirectory(copy.string()));
  const QLabel& mark = *Child<QLabel>("stReadOnly");
  EXPECT_TRUE(mark.isVisibleTo(window.get()));
  EXPECT_EQ(ReadOnlyNotes(Child<TdkProblems>("dkProblems")->Problems()), 1);
  EditLupoWaypoint();
  dialogs->ClearCalls();
  dialogs->QueueAnswer(DialogAnswer::Yes);
  dialogs->QueueDirectory((root / "Mine").string());
  window->Actions()[TCommand::Save]->trigger();
  EXPECT_EQ(dialogs->Texts(DialogKind::Confirm).size(), 1u);  // Save scenario as a new folder ...?
  EXPECT_EQ(fixtures::ReadFile(root / "Mine" / "AxisShips.cfg"), kEditedAxis);
  EXPECT_EQ(window->windowTitle().toStdString(), "VRK scenario editor - Mine[*]");
  EXPECT_FALSE(mark.isVisibleTo(window.get()));
  EXPECT_EQ(ReadOnlyNotes(Child<TdkProblems>("dkProblems")->Problems()), 0);
}

// Run only as the child of AKilledEditorsEditsComeBack: opens the folder it is given, edits a line
// and says so once the keeper has written the copy, then waits to be killed.
TEST_F(SessionTest, DISABLED_EditThenWaitToBeKilled) {
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

// The unsaved lines of a killed editor (kept within the keep delay, without a clean exit) are
// offered when its folder is opened again; a clean exit that declines them drops them.
TEST_F(SessionTest, AKilledEditorsEditsComeBack) {
  CopyCrete(scenarioDir);
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("CORVALIS_RECOVERY_FOLDER", QString::fromStdString(scenarioDir.string()));
  environment.insert("CORVALIS_RECOVERY_DATA", qEnvironmentVariable("XDG_DATA_HOME"));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests", "--gtest_filter=SessionTest.DISABLED_EditThenWaitToBeKilled"});
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
  dialogs->QueueAnswer(DialogAnswer::No);  // Save changes to AxisShips.cfg?
  window->close();
  EXPECT_FALSE(Kept(scenarioDir));
  EXPECT_EQ(AxisFile(), OriginalAxisFile());
}

}  // namespace
}  // namespace editor
