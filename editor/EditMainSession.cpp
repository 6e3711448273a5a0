// The main window as a place to work in all day: opening any scenario at any time (also from the
// command line and File > Recent scenarios), the Problems panel with the messages of the last
// load, and the layout and choices kept in the user's settings between runs.
#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <QPlainTextEdit>
#include <QLabel>
#include <algorithm>
#include <exception>
#include <filesystem>

#include "editor/CaseEditor.h"
#include "editor/SideSaver.h"
#include "editor/EditMain.h"
#include "editor/TimelineDock.h"
#include "scenario/TimelineMarks.h"
#include "editor/EditorActions.h"
#include "editor/RecoveryKeeper.h"
#include "editor/CaseLinesModel.h"
#include "editor/ForcesModel.h"
#include "editor/MapTools.h"
#include "editor/ComputeEndurance.h"
#include "editor/EditorSettings.h"
#include "editor/ProblemsPanel.h"
#include "editor/ScenarioSaveAs.h"
#include "editor/TestForm.h"
#include "editor/UnsavedMarks.h"
#include "globe/view/Voduz4.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/Force.h"
#include "scenario/LineOwner.h"
#include "scenario/ProblemLog.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/SideFile.h"

namespace editor {

namespace {

// Keys of the user's settings.
const char* const kRecentKey = "session/recentScenarios";
const char* const kPanelOnlyKey = "session/messagesInPanelOnly";
const char* const kGeometryKey = "layout/geometry";
const char* const kStateKey = "layout/state";
const char* const kMainSplitterKey = "layout/mainSplitter";
const char* const kLeftSplitterKey = "layout/leftSplitter";
const char* const kForcesColumnsKey = "layout/forcesColumns";

QStringList ToQt(const std::vector<std::string>& texts)
{
  QStringList list;
  for (const std::string& text : texts) list.append(QString::fromStdString(text));
  return list;
}

std::vector<std::string> FromQt(const QStringList& list)
{
  std::vector<std::string> texts;
  for (const QString& text : list) texts.push_back(text.toStdString());
  return texts;
}

// Puts the folder first in the Recent list and keeps the list in the settings.
void RememberRecent(TRecentScenarios& recent, const std::string& dir)
{
  recent.Add(dir);
  EditorSettings().setValue(kRecentKey, ToQt(recent.Entries()));
}

// Sets the time box's text, widening the box when the text would not fit: it keeps its 161
// pixels unless the label (date, time and start hour) needs more.
void ShowTimeLabel(QLabel& box, const QString& text)
{
  box.setText(text);
  const QMargins margins = box.contentsMargins();
  const int needed = box.fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() + 6;
  box.resize(std::max(161, needed), box.height());
}

}  // namespace

void TfrmEditMain::CreateSessionMenus()
{
  Recent1 = new QMenu("&Recent scenarios", File1);
  Recent1->setObjectName("Recent1");
  const TEditorActions& commands = Actions();
  File1->insertMenu(commands[TCommand::ViewShipFile], Recent1);
  File1->insertSeparator(commands[TCommand::ViewShipFile]);

  View1->addSeparator();
  View1->addAction(commands[TCommand::Problems]);
  View1->addAction(commands[TCommand::PanelOnly]);
  commands[TCommand::PanelOnly]->setChecked(EditorSettings().value(kPanelOnlyKey, false).toBool());
  connect(commands[TCommand::PanelOnly], &QAction::toggled, this, [](bool on) { EditorSettings().setValue(kPanelOnlyKey, on); });
  View1->addAction(commands[TCommand::ConfirmSaves]);
  commands[TCommand::ConfirmSaves]->setChecked(ConfirmSavesChosen());
  connect(commands[TCommand::ConfirmSaves], &QAction::toggled, this, [](bool on) { EditorSettings().setValue(kConfirmSavesKey, on); });

  Tools1 = new QMenu("&Tools", this);
  Tools1->setObjectName("Tools1");
  menuBar()->insertMenu(About2->menuAction(), Tools1);
  Tools1->addAction(commands[TCommand::Endurance]);
  connect(commands[TCommand::Endurance], &QAction::triggered, this, [this] { dlgComputeEndurance->exec(); });

  connect(dkProblems, &TdkProblems::ProblemActivated, this,
          [this](const scenario::TDiagnostic& problem) { ShowProblem(problem); });

  recent_ = TRecentScenarios(FromQt(EditorSettings().value(kRecentKey).toStringList()));
  RebuildRecentMenu();

  saveAs_ = new TScenarioSaveAs(*this, document_, files_, globeMap_, *dialogs_);
  connect(commands[TCommand::SaveScenarioAs], &QAction::triggered, saveAs_, [this] { saveAs_->SaveAs(); });
  // The editor goes on in the copy: its caption, the Recent list, the problems naming its files.
  connect(saveAs_, &TScenarioSaveAs::Moved, this, [this](const QString& folder) {
    setWindowTitle(CaptionWithModifiedMark(Scenario().Caption));
    // Every side is saved in the copy: the kept copies of the old folder go, later ones name the new.
    recovery_->ScenarioOpened();
    RememberRecent(recent_, folder.toStdString());
    RebuildRecentMenu();
    ShowProblems();
  });
}

std::string ProgramFolder(const std::string& programDir)
{
  // Installed, the program's data lies in ../share/corvalis beside its bin/ folder.
  return programDir.empty() ? platform::ProgramDataFolder(QCoreApplication::applicationDirPath().toStdString())
                            : programDir;
}

namespace {

// The folder name made absolute: a relative one is taken from the program's start folder.
std::string AbsoluteFolder(const std::string& launchFolder, const std::string& dir)
{
  const std::filesystem::path path(dir);
  if (path.is_absolute() || launchFolder.empty()) return dir;
  return (std::filesystem::path(launchFolder) / path).lexically_normal().string();
}

}  // namespace

bool TfrmEditMain::OpenDirectory(const std::string& given)
{
  const std::string dir = AbsoluteFolder(launchFolder_, given);
  if (scenario::DirectoryKind(Files(), dir) == scenario::TScenarioKind::skNone) {
    dialogs_->ShowError(scenario::kNotAScenarioMessage);
    return false;
  }
  if (!saver_->CloseQuery()) return false;

  // A new map and scenario, as the program has them at its start: the generator of the random
  // case choices starts again too.
  std::unique_ptr<globe::TVoduz4> map = NewGlobeMap();
  auto state = std::make_unique<scenario::TScenarioState>();
  scenario::TProblemLog log(*dialogs_);
  const bool panelOnly = Actions()[TCommand::PanelOnly]->isChecked();
  log.SetShowMessages(!panelOnly);
  scenario::TScenarioLoader loader(*state, *map, log, Files(), regional_, ProgramFolder(programDir_));
  loader.OnReadFile = [&log](const std::string& file) { log.SetCurrentFile(file); };
  try {
    loader.LoadDirectory(dir);
  } catch (const std::exception& error) {
    state.reset();  // its objects live in the new map
    dialogs_->ShowError(error.what());
    return false;
  }
  InstallScenario(std::move(map), std::move(state));
  saveAs_->NoteReadOnly();
  CheckLoadedScenario(log.Problems());
  if (panelOnly && !log.Problems().empty()) dkProblems->show();
  recovery_->ScenarioOpened();

  RememberRecent(recent_, dir);
  RebuildRecentMenu();
  return true;
}

void TfrmEditMain::InstallScenario(std::unique_ptr<globe::TVoduz4> map,
                                   std::unique_ptr<scenario::TScenarioState> state)
{
  ResetEditState();
  // The land may be the old map's.
  land_.reset();
  globeMap_->SetHost(nullptr);
  Globe->SetEventSink(map.get());
  map->SetHost(Globe);
  if (globeView_ == globeMap_.get()) globeView_ = map.get();
  std::swap(globeMap_, map);
  // The old scenario goes first, with its steps and findings: its objects live in the old map.
  document_->Replace(std::move(state));
  caseEditor_->FollowDocument();
  HookMapEvents();
  scenario::ShowForceTitles(*globeMap_, !dkTimeline->isVisible());
  map.reset();
  if (Globe->isVisible()) {
    const platform::TSize client = Globe->ClientSize();
    globeMap_->Resize(client.Width, client.Height);
  }

  setWindowTitle(CaptionWithModifiedMark(Scenario().Caption));
  ShowTimeLabel(*stTime, QString::fromStdString(Scenario().TimeLabel));
  caseEditor_->FillForcesList();
  // A map environment made for another sea opens on the scenario instead; before the window is
  // shown its map has no size yet.
  if (isVisible()) {
    ShowScenarioIfAway();
  } else {
    showScenarioPending_ = true;
  }
  dkTimeline->Invalidate();
  caseEditor_->UpdateCommands();
  globeMap_->RedrawGlobe();
}

void TfrmEditMain::ResetEditState()
{
  tools_->Reset();
  document_->Document().SetCurrent(nullptr, 1);
  for (int n = 1; n <= kCaseCount; ++n) edit_.Cases.ResetCase(n);
  edit_.Cases.CaseStart = {};
  edit_.Cases.CaseDelay = {};
  edit_.SelectedPoint = {};
  edit_.CaseFirstLine = 0;
  edit_.CaseLastLine = 0;
  caseEditor_->ForgetScenario();
  caseEditor_->MarkCaseTabs();
  caseEditor_->UpdateCommands();
  // The memo is the user's (logged positions, typed notes): a load keeps it.
  for (QLabel* panel : StatusPanels) panel->clear();
}

void TfrmEditMain::RebuildRecentMenu()
{
  Recent1->clear();
  for (const std::string& dir : recent_.Entries()) {
    QAction* entry = Recent1->addAction(QString::fromStdString(dir));
    // A directory that no longer exists is taken off with a message.
    connect(entry, &QAction::triggered, this, [this, dir] {
      if (Files().DirectoryExists(dir)) {
        OpenDirectory(dir);
        return;
      }
      recent_.Remove(dir);
      EditorSettings().setValue(kRecentKey, ToQt(recent_.Entries()));
      RebuildRecentMenu();
      dialogs_->ShowError("The directory " + dir + " no longer exists; it was taken off the recent scenarios.");
    });
  }
  Recent1->setEnabled(!recent_.Entries().empty());
}

void TfrmEditMain::ShowProblem(const scenario::TDiagnostic& problem)
{
  if (problem.File.empty()) return;
  const std::string file = Files().ResolveName(problem.File);
  for (int side = 0; side <= 1; ++side) {
    const std::string sideFile = Scenario().ScenarioDir + scenario::SideFileName(Scenario().IsCampaign, side);
    if (Files().ResolveName(sideFile) != file) continue;
    const platform::TextLines& lines = Scenario().SideLines[static_cast<std::size_t>(side)];
    if (problem.Line > 0) {
      const scenario::TLineOwner owner =
          scenario::FindLineOwner(lines, Scenario().ForceList, side, static_cast<std::size_t>(problem.Line - 1));
      if (owner.Force != nullptr && owner.Case > 0) {
        caseEditor_->SelectForceRow(forcesModel_->RowOf(owner.Force), false);
        if (document_->Document().CurrentForce() != owner.Force) return;  // the force change did not happen
        tcCasesTabs->setCurrentIndex(owner.Case - 1);
        if (owner.Row < caseLines_->rowCount()) caseEditor_->SelectLine(owner.Row);
        lbPoints->setFocus();
        return;
      }
    }
    frmShowFile->ShowLines(side, lines);
    frmShowFile->SelectLine(problem.Line - 1);
    frmShowFile->exec();
    return;
  }
  platform::TextLines lines;
  try {
    lines = Files().ReadLines(problem.File);
  } catch (const platform::EFileError& error) {
    dialogs_->ShowError(error.what());
    return;
  }
  frmShowFile->ShowFileLines(QString::fromStdString(std::filesystem::path(problem.File).filename().string()), lines);
  frmShowFile->SelectLine(problem.Line - 1);
  frmShowFile->exec();
}

void TfrmEditMain::SaveLayout()
{
  QSettings settings = EditorSettings();
  settings.setValue(kGeometryKey, saveGeometry());
  settings.setValue(kStateKey, saveState());
  settings.setValue(kMainSplitterKey, pnMain->saveState());
  settings.setValue(kLeftSplitterKey, pnLeft->saveState());
  settings.setValue(kForcesColumnsKey, lvForces->header()->saveState());
}

void TfrmEditMain::RestoreLayout()
{
  const QSettings settings = EditorSettings();
  if (settings.contains(kGeometryKey)) restoreGeometry(settings.value(kGeometryKey).toByteArray());
  if (settings.contains(kStateKey)) restoreState(settings.value(kStateKey).toByteArray());
  if (settings.contains(kMainSplitterKey)) pnMain->restoreState(settings.value(kMainSplitterKey).toByteArray());
  if (settings.contains(kLeftSplitterKey)) pnLeft->restoreState(settings.value(kLeftSplitterKey).toByteArray());
  if (settings.contains(kForcesColumnsKey))
    lvForces->header()->restoreState(settings.value(kForcesColumnsKey).toByteArray());
}

}  // namespace editor
