// The main window's force, case and line editing: selecting a force parses its cases from its
// side's lines, a tab shows one case's lines in the case list, and the case list commands change
// those lines and write them back in place.
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeView>
#include <QUndoStack>
#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "editor/CaseEditCommands.h"
#include "editor/CaseLinesModel.h"
#include "editor/ForcesModel.h"
#include "editor/EditMain.h"
#include "editor/ProblemsPanel.h"
#include "editor/TimelineDock.h"
#include "editor/EditorActions.h"
#include "editor/ForceInfo.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtText.h"
#include "scenario/AddCase.h"
#include "scenario/CaseLineCheck.h"
#include "scenario/CaseParser.h"
#include "scenario/Force.h"
#include "scenario/ForceHeader.h"
#include "scenario/MissionCases.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/SideFile.h"

namespace editor {

void TfrmEditMain::ConnectCaseEditing()
{
  connect(lvForces->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!quietForceSelection_) lvForcesSelectItem();
  });
  connect(tcCasesTabs, &QTabBar::currentChanged, this, [this] { tcCasesChange(); });
  connect(lbPoints->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    lbPointsClick();
    UpdateCommands();
  });
  connect(puCaseList, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
  const TEditorActions& commands = Actions();
  connect(commands[TCommand::EditLine], &QAction::triggered, this, [this] { Edit1Click(); });
  connect(commands[TCommand::InsertLine], &QAction::triggered, this, [this] { Insert1Click(); });
  connect(commands[TCommand::DeleteLine], &QAction::triggered, this, [this] { Delete1Click(); });
  connect(commands[TCommand::AddCase], &QAction::triggered, this, [this] { Addcase1Click(); });
  connect(commands[TCommand::EditForce], &QAction::triggered, this, [this] { Editforce1Click(); });
  connect(commands[TCommand::Save], &QAction::triggered, this, [this] { SaveSideLines(); });

  // The keyboard and the mouse reach the case list's commands without its popup.
  connect(lbPoints, &QAbstractItemView::doubleClicked, this, [this] { Edit1Click(); });
  lbPoints->installEventFilter(this);
  UpdateCommands();
}

void TfrmEditMain::UpdateCommands()
{
  TCommandState state;
  state.ScenarioLoaded = !scenario_->ScenarioDir.empty();
  state.ForceSelected = SelectedRowForce() != nullptr;
  state.LineSelected = SelectedLine() >= 0;
  state.CaseListEmpty = caseLines_->rowCount() == 0;
  Actions().UpdateEnabled(state);
  dkTimeline->Follow(edit_.CurrentForce, edit_.CurrentCase);
}

void TfrmEditMain::MarkCaseTabs()
{
  std::array<bool, kCaseCount> exists{};
  if (edit_.CurrentForce != nullptr) {
    const platform::TextLines& lines = SideLinesOf(*edit_.CurrentForce);
    if (const auto nameLine = scenario::FindForceNameLine(lines, edit_.CurrentForce->Title()))
      for (int n = 1; n <= kCaseCount; ++n) exists[n - 1] = scenario::LocateCase(lines, *nameLine, n).has_value();
  }
  static const QIcon dot = [] {
    QPixmap pixmap(8, 8);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 90, 190));
    painter.drawEllipse(1, 1, 6, 6);
    return QIcon(pixmap);
  }();
  for (int n = 1; n <= kCaseCount; ++n) {
    tcCasesTabs->setTabIcon(n - 1, exists[n - 1] ? dot : QIcon());
    tcCasesTabs->setTabToolTip(n - 1, exists[n - 1] ? QString("Case %1").arg(n)
                                                    : QString("Case %1: not in this force's mission").arg(n));
  }
}

scenario::TForce* TfrmEditMain::SelectedRowForce() const
{
  const QModelIndexList selected = lvForces->selectionModel()->selectedRows();
  return selected.isEmpty() ? nullptr : forcesModel_->ForceAt(selected.front().row());
}

void TfrmEditMain::SelectForceRow(int row, bool quietly)
{
  quietForceSelection_ = quietly;
  if (quietly) lvForces->clearSelection();
  if (row >= 0) lvForces->setCurrentIndex(forcesModel_->index(row, 0));
  quietForceSelection_ = false;
}

platform::TextLines& TfrmEditMain::SideLinesOf(const scenario::TForce& force)
{
  return scenario_->SideLines[force.Side == 0 ? 0 : 1];
}

void TfrmEditMain::ShowCurrentForceRow() { SelectForceRow(forcesModel_->RowOf(edit_.CurrentForce), true); }

// ---- The case list's lines ------------------------------------------------------------------

int TfrmEditMain::SelectedLine() const
{
  const QModelIndex current = lbPoints->currentIndex();
  return current.isValid() && lbPoints->selectionModel()->isSelected(current) ? current.row() : -1;
}

void TfrmEditMain::SelectLine(int row)
{
  const QModelIndex index = caseLines_->index(row);
  lbPoints->setCurrentIndex(index);
  lbPoints->scrollTo(index);
}

void TfrmEditMain::ShownBlockChanged()
{
  scenario_->Modified = true;
  FillCaseList();
  ReparseCurrentCase();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
}

// ---- Cases ----------------------------------------------------------------------------------

void TfrmEditMain::lvForcesSelectItem()
{
  scenario::TForce* force = SelectedRowForce();
  if (force == nullptr) return;
  scenario::TScenarioState& state = *scenario_;
  // The force shown again (after Edit force) keeps its edits without a question.
  if (state.Modified && edit_.CurrentForce != nullptr && force != edit_.CurrentForce) {
    const std::string fileName = scenario::SideFileName(state.IsCampaign, SideOf(*edit_.CurrentForce));
    const platform::DialogAnswer answer =
        dialogs_->Confirm("Save changes to " + fileName + "?", platform::DialogButtons::YesNoCancel);
    if (answer == platform::DialogAnswer::Cancel ||
        (answer == platform::DialogAnswer::Yes && !SaveSideLines())) {
      // The force change does not happen: the list shows the force of the cases again.
      ShowCurrentForceRow();
      return;
    }
    // Declined edits are not kept for the next save to write unasked.
    if (answer != platform::DialogAnswer::Yes) DiscardSideChanges();
    state.Modified = false;
  }
  const int row = forcesModel_->RowOf(force);
  state.ForcesList.Selected = row;
  // Forces read again by the discard rebuilt the list: it shows the chosen force.
  SelectForceRow(row, true);
  // The waypoint circle belongs to the previous force's line.
  edit_.SelectedPoint.LatY = 0;
  ParseForceCases(*force);
  {
    const QSignalBlocker blocker(tcCasesTabs);
    tcCasesTabs->setCurrentIndex(0);
  }
  tcCasesChange();
}

void TfrmEditMain::ParseForceCases(scenario::TForce& force)
{
  for (int n = 1; n <= kCaseCount; ++n) {
    edit_.Cases.ResetCase(n);
    // A new force starts without the previous force's starts and delays, so that a case without
    // a start or delay line is not drawn from another force's values.
    edit_.Cases.CaseStart[n - 1] = {};
    edit_.Cases.CaseDelay[n - 1] = 0;
  }
  edit_.CurrentForce = &force;
  const platform::TextLines& lines = SideLinesOf(force);
  if (const auto nameLine = scenario::FindForceNameLine(lines, force.Title())) {
    for (int n = 1; n <= kCaseCount; ++n) {
      const auto found = scenario::LocateCase(lines, *nameLine, n);
      if (!found) continue;
      // The load said the faults that do not end a case (an unknown location) already.
      for (const scenario::TCaseMessage& message :
           scenario::ReadCase(lines, found->First, found->End, n, edit_.Cases, scenario_->BaseList))
        if (message.EndsCase) SayCaseMessage(SideOf(force), message.Line, message.Text);
    }
  }
}

void TfrmEditMain::SayCaseMessage(int side, std::size_t line, const std::string& text)
{
  if (!saidCaseMessages_.emplace(side, line, text).second) return;
  const std::string file = scenario_->ScenarioDir + scenario::SideFileName(scenario_->IsCampaign, side);
  loadProblems_.push_back(scenario::MessageDiagnostic(text, static_cast<int>(line) + 1, file));
  ShowProblems();
  if (Actions()[TCommand::PanelOnly]->isChecked())
    dkProblems->show();
  else
    dialogs_->ShowMessage(text);
}

void TfrmEditMain::tcCasesChange()
{
  edit_.CurrentCase = std::clamp(tcCasesTabs->currentIndex() + 1, 1, kCaseCount);
  // The routes are drawn again with the new current case thick, whatever the case list finds.
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  FillCaseList();
}

void TfrmEditMain::FillCaseList()
{
  if (SelectedRowForce() == nullptr || edit_.CurrentForce == nullptr) return;
  edit_.CaseFirstLine = 0;
  edit_.CaseLastLine = 0;
  caseListShowsBlock_ = false;
  caseLines_->Clear();
  const scenario::TCaseBlock block =
      scenario::FindCaseBlock(SideLinesOf(*edit_.CurrentForce), edit_.CurrentForce->Title(), edit_.CurrentCase);
  if (block.MissingEnd) {
    dialogs_->ShowMessage(scenario::kMissingEndMissionMessage);
    return;
  }
  edit_.CaseFirstLine = static_cast<int>(block.FirstLine);
  edit_.CaseLastLine = static_cast<int>(block.LastLine);
  caseListShowsBlock_ = !block.Lines.empty();
  if (caseListShowsBlock_) caseLines_->Show(SideLinesOf(*edit_.CurrentForce), block.FirstLine, block.Lines.size());
  MarkCaseTabs();
  UpdateCommands();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
}

void TfrmEditMain::ReparseCurrentCase()
{
  const int n = std::clamp(tcCasesTabs->currentIndex() + 1, 1, kCaseCount);
  edit_.Cases.ResetCase(n);
  const platform::TextLines lines = caseLines_->Lines();
  if (lines.empty()) return;
  scenario::ParseCase(lines, 1, scenario::CaseLinesEnd(lines, 1), n, edit_.Cases, scenario_->BaseList, *dialogs_);
}

void TfrmEditMain::lbPointsClick()
{
  const int row = SelectedLine();
  if (row < 0) return;
  edit_.SelectedPoint.LatY = 0;
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  const std::string line = caseLines_->Line(row);
  if (line.size() >= 3 && line.compare(1, 2, "P=") == 0) {
    globe::TGeoPoint point;
    if (scenario::ParsePositionValue(std::string_view(line).substr(3), point)) {
      edit_.SelectedPoint = point;
      globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
    }
  }
}


// ---- Case list commands ---------------------------------------------------------------------

void TfrmEditMain::Edit1Click()
{
  const int row = SelectedLine();
  if (row < 0 || edit_.CurrentForce == nullptr) return;
  const TEditStart start = StartEdit(*edit_.CurrentForce);
  // The text is read with the case-line rules before it is stored, in the side file's own
  // encoding; a refused one stays in the box with the reason.
  const int caseNumber = edit_.CurrentCase;
  const std::size_t side = static_cast<std::size_t>(edit_.CurrentForce->Side);
  const scenario::TLineEncoding encoding = side < scenario_->SideLines.size()
                                               ? scenario::LinesEncoding(scenario_->SideLines[side])
                                               : scenario::TLineEncoding::Utf8;
  const std::string line = caseLines_->Line(row);
  const std::string typed = dialogs_->CheckedInputBox(
      "Edit line", "Edit case line", line, [this, caseNumber, encoding](const std::string& text) {
        return scenario::TypedCaseLineRefusal(text, encoding, caseNumber, scenario_->BaseList);
      });
  // A closed box counts as an edit, whether the line changed or not.
  scenario_->Modified = true;
  SideLinesOf(*edit_.CurrentForce)[static_cast<std::size_t>(edit_.CaseFirstLine + row)] =
      typed == line ? line : scenario::TypedTextBytes(typed, encoding);
  caseLines_->LinesChanged();
  ReparseCurrentCase();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  MarkCaseTabs();
  if (auto change = MadeChange(start, CurrentPlace())) undoStack_->push(new TEditLineCommand(*this, std::move(*change), true));
}

void TfrmEditMain::Insert1Click()
{
  const int row = SelectedLine();
  if (row < 0 || edit_.CurrentForce == nullptr) return;
  const TEditStart start = StartEdit(*edit_.CurrentForce);
  // A copy of the line goes above it.
  platform::TextLines& lines = SideLinesOf(*edit_.CurrentForce);
  const auto at = lines.begin() + edit_.CaseFirstLine + row;
  lines.insert(at, *at);
  ShownBlockChanged();
  if (auto change = MadeChange(start, {edit_.CurrentForce, edit_.CurrentCase, row})) {
    undoStack_->push(new TInsertLineCommand(*this, std::move(*change), true));
  }
}

void TfrmEditMain::Delete1Click()
{
  const int row = SelectedLine();
  if (row < 0 || edit_.CurrentForce == nullptr) return;
  const TEditStart start = StartEdit(*edit_.CurrentForce);
  if (dialogs_->Confirm("Delete point " + caseLines_->Line(row) + "?", platform::DialogButtons::OkCancel) !=
      platform::DialogAnswer::Ok) {
    return;
  }
  platform::TextLines& lines = SideLinesOf(*edit_.CurrentForce);
  lines.erase(lines.begin() + edit_.CaseFirstLine + row);
  // The circle of a deleted waypoint line goes with it.
  edit_.SelectedPoint.LatY = 0;
  ShownBlockChanged();
  if (auto change = MadeChange(start, CurrentPlace())) undoStack_->push(new TDeleteLineCommand(*this, std::move(*change)));
}

void TfrmEditMain::Addcase1Click()
{
  if (edit_.CurrentForce == nullptr || edit_.CaseFirstLine != edit_.CaseLastLine || edit_.CaseFirstLine <= 0 || caseListShowsBlock_) return;
  scenario_->Modified = true;
  const TEditStart start = StartEdit(*edit_.CurrentForce);
  platform::TextLines& lines = SideLinesOf(*edit_.CurrentForce);
  const std::size_t missionStart = scenario::FindForceNameLine(lines, edit_.CurrentForce->Title()).value_or(0);
  std::optional<int> added;
  try {
    added = scenario::AddCase(lines, static_cast<std::size_t>(edit_.CaseFirstLine), missionStart, *dialogs_);
  } catch (const std::exception& error) {
    dialogs_->ShowError(error.what());
    return;
  }
  if (!added) return;
  // Cases beyond the last tab stay in the file but cannot be shown.
  if (*added >= 1 && *added <= kCaseCount) {
    const QSignalBlocker blocker(tcCasesTabs);
    tcCasesTabs->setCurrentIndex(*added - 1);
    edit_.CurrentCase = *added;
  }
  FillCaseList();
  // The new case is drawn at once, thick when its tab is the current one.
  if (caseListShowsBlock_) ReparseCurrentCase();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  if (auto change = MadeChange(start, CurrentPlace())) undoStack_->push(new TAddCaseCommand(*this, std::move(*change)));
}

// ---- Edit force -----------------------------------------------------------------------------

bool TfrmEditMain::EditForceSpeed(platform::TextLines& lines, const std::string& title)
{
  if (dlgForceInfo == nullptr) dlgForceInfo = new TdlgForceInfo(this);
  TdlgForceInfo& dialog = *dlgForceInfo;
  dialog.ClearOverview();
  const scenario::TLineRange header = scenario::ForceHeaderLines(lines, title);
  for (std::size_t i = header.First; i < header.End; ++i) dialog.AddOverviewLine(lines[i]);
  if (const auto speed = scenario::HeaderSpeed(lines, header, *dialogs_)) dialog.SetSpeed(*speed);
  else dialog.SetSpeed(0);
  // An unchanged box leaves the line as it is, a speed outside the box's range included.
  if (dialog.exec() != QDialog::Accepted || !dialog.SpeedChanged()) return false;
  scenario::ReplaceHeaderSpeed(lines, header, dialog.Speed());
  return true;
}

void TfrmEditMain::Editforce1Click()
{
  scenario::TForce* force = SelectedRowForce();
  if (force == nullptr) return;
  const TEditStart start = StartEdit(*force);
  try {
    if (!EditForceSpeed(SideLinesOf(*force), force->Title())) return;
  } catch (const std::exception& error) {
    dialogs_->ShowError(error.what());
    return;
  }
  ReadForceAgain(*force);
  if (auto change = MadeChange(start, {force, 1, -1})) {
    undoStack_->push(new TEditForceCommand(*this, std::move(*change), *force));
  }
  // The rebuilt rows select the force again, which runs the force selection.
  lvForcesSelectItem();
}

}  // namespace editor
