// The case editing: the forces list, the case tabs and the case list, and the case list's
// commands and Edit force, each one step on the document.
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
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

#include "editor/EditorDocument.h"
#include "editor/CaseEditor.h"
#include "editor/CaseLinesModel.h"
#include "editor/SideSaver.h"
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

TCaseEditor::TCaseEditor(const TCaseEditorParts& parts, std::unique_ptr<globe::TVoduz4>& globeMap,
                         std::unique_ptr<TEditorDocument>& document, std::unique_ptr<platform::FileSystem>& files,
                         platform::UserDialogs& dialogs, TEditState& state, const platform::RegionalSettings& regional,
                         const std::string& programDir)
    : QObject(parts.window), window_(parts.window), actions_(*parts.actions), saving_(*parts.saving),
      showProblems_(parts.showProblems), lvForces(parts.lvForces), tcCasesTabs(parts.tcCasesTabs),
      lbPoints(parts.lbPoints), puCaseList(parts.puCaseList), forcesModel_(parts.forcesModel),
      caseLines_(parts.caseLines), dkTimeline(parts.dkTimeline), globeMap_(globeMap), document_(document),
      files_(files), dialogs_(&dialogs), edit_(state), regional_(regional), programDir_(programDir)
{
}

void TCaseEditor::ConnectCaseEditing()
{
  connect(document_.get(), &TEditorDocument::Changed, this,
          [this](const scenario::TDocumentChange& change, const TEditPlace& place) { DocumentChanged(change, place); });
  FollowDocument();
  connect(lvForces->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!quietForceSelection_) lvForcesSelectItem();
  });
  connect(tcCasesTabs, &QTabBar::currentChanged, this, [this] { tcCasesChange(); });
  connect(lbPoints->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    lbPointsClick();
    UpdateCommands();
  });
  connect(puCaseList, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
  const TEditorActions& commands = actions_;
  connect(commands[TCommand::EditLine], &QAction::triggered, this, [this] { Edit1Click(); });
  connect(commands[TCommand::InsertLine], &QAction::triggered, this, [this] { Insert1Click(); });
  connect(commands[TCommand::DeleteLine], &QAction::triggered, this, [this] { Delete1Click(); });
  connect(commands[TCommand::AddCase], &QAction::triggered, this, [this] { Addcase1Click(); });
  connect(commands[TCommand::EditForce], &QAction::triggered, this, [this] { Editforce1Click(); });
  connect(commands[TCommand::Save], &QAction::triggered, this, [this] { saving_.SaveSideLines(); });

  // The keyboard and the mouse reach the case list's commands without its popup.
  connect(lbPoints, &QAbstractItemView::doubleClicked, this, [this] { Edit1Click(); });
  lbPoints->installEventFilter(window_);
  UpdateCommands();
}

void TCaseEditor::UpdateCommands()
{
  TCommandState state;
  state.ScenarioLoaded = !document_->State().ScenarioDir.empty();
  state.ForceSelected = SelectedRowForce() != nullptr;
  state.LineSelected = SelectedLine() >= 0;
  state.CaseListEmpty = caseLines_->rowCount() == 0;
  state.SideModified = CurrentForce() != nullptr && saving_.SideLinesChanged(SideOf(*CurrentForce()));
  actions_.UpdateEnabled(state);
  dkTimeline->Follow(CurrentForce(), CurrentCase());
}

void TCaseEditor::MarkCaseTabs()
{
  std::array<bool, kCaseCount> exists{};
  if (CurrentForce() != nullptr) {
    const platform::TextLines& lines = SideLinesOf(*CurrentForce());
    if (const auto nameLine = scenario::FindForceNameLine(lines, CurrentForce()->Title()))
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

scenario::TForce* TCaseEditor::CurrentForce() const { return document_->Document().CurrentForce(); }

int TCaseEditor::CurrentCase() const { return document_->Document().CurrentCase(); }

scenario::TForce* TCaseEditor::SelectedRowForce() const
{
  const QModelIndexList selected = lvForces->selectionModel()->selectedRows();
  return selected.isEmpty() ? nullptr : forcesModel_->ForceAt(selected.front().row());
}

void TCaseEditor::SelectForceRow(int row, bool quietly)
{
  quietForceSelection_ = quietly;
  if (quietly) lvForces->clearSelection();
  if (row >= 0) lvForces->setCurrentIndex(forcesModel_->index(row, 0));
  quietForceSelection_ = false;
}

void TCaseEditor::ForgetScenario()
{
  caseListShowsBlock_ = false;
  saidCaseMessages_.clear();
  const QSignalBlocker tabsBlocker(tcCasesTabs);
  forcesModel_->SetRows(nullptr);
  tcCasesTabs->setCurrentIndex(0);
  caseLines_->Clear();
}

platform::TextLines& TCaseEditor::SideLinesOf(const scenario::TForce& force)
{
  return document_->State().SideLines[force.Side == 0 ? 0 : 1];
}

void TCaseEditor::ShowCurrentForceRow() { SelectForceRow(forcesModel_->RowOf(CurrentForce()), true); }

// ---- The case list's lines ------------------------------------------------------------------

int TCaseEditor::SelectedLine() const
{
  const QModelIndex current = lbPoints->currentIndex();
  return current.isValid() && lbPoints->selectionModel()->isSelected(current) ? current.row() : -1;
}

void TCaseEditor::SelectLine(int row)
{
  const QModelIndex index = caseLines_->index(row);
  lbPoints->setCurrentIndex(index);
  lbPoints->scrollTo(index);
}

void TCaseEditor::FillForcesList()
{
  const auto& rows = document_->State().ForcesList.Rows;
  forcesModel_->SetRows(&rows);
  const int selected = document_->State().ForcesList.Selected;
  if (selected >= 0 && selected < forcesModel_->rowCount())
    lvForces->selectionModel()->select(forcesModel_->index(selected, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
  // The names fit, in bold too (a side's unsaved edits), unless the user has made the column wider.
  QFont bold = lvForces->font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  int nameWidth = 0;
  for (const scenario::TForceListRow& row : rows)
    nameWidth = std::max(nameWidth, metrics.horizontalAdvance(QString::fromStdString(row.Name)) + 16);
  if (lvForces->columnWidth(0) < nameWidth) lvForces->setColumnWidth(0, nameWidth);
}

// ---- Cases ----------------------------------------------------------------------------------

void TCaseEditor::lvForcesSelectItem()
{
  scenario::TForce* force = SelectedRowForce();
  if (force == nullptr) return;
  scenario::TScenarioState& state = document_->State();
  // The force shown again (after Edit force) keeps its edits without a question.
  if (state.Modified && CurrentForce() != nullptr && force != CurrentForce()) {
    const std::string fileName = scenario::SideFileName(state.IsCampaign, SideOf(*CurrentForce()));
    const platform::DialogAnswer answer =
        dialogs_->Confirm("Save changes to " + fileName + "?", platform::DialogButtons::YesNoCancel);
    if (answer == platform::DialogAnswer::Cancel ||
        (answer == platform::DialogAnswer::Yes && !saving_.SaveSideLines())) {
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

void TCaseEditor::ParseForceCases(scenario::TForce& force)
{
  scenario::TScenarioDocument& document = document_->Document();
  document.SetCurrent(&force, CurrentCase());
  edit_.Cases = document.CasesOf(force);
  const platform::TextLines& lines = SideLinesOf(force);
  for (int n = 1; n <= kCaseCount; ++n) {
    const scenario::TParsedCase* parsed = document.Case(force, n);
    if (parsed == nullptr || parsed->Lines.empty()) continue;
    // The load said the faults that do not end a case (an unknown location) already.
    for (const scenario::TCaseMessage& message : scenario::CaseReadingMessages(lines, *parsed, n))
      if (message.EndsCase) SayCaseMessage(SideOf(force), message.Line, message.Text);
  }
}

void TCaseEditor::SayCaseMessage(int side, std::size_t line, const std::string& text)
{
  if (!saidCaseMessages_.emplace(side, line, text).second) return;
  scenario::TScenarioDocument& document = document_->Document();
  const scenario::TScenarioState& state = document.State();
  const std::string file = state.ScenarioDir + scenario::SideFileName(state.IsCampaign, side);
  std::vector<scenario::TDiagnostic> diagnostics = document.LoadDiagnostics();
  diagnostics.push_back(scenario::MessageDiagnostic(text, static_cast<int>(line) + 1, file));
  document.SetLoadDiagnostics(std::move(diagnostics));
  const bool panelOnly = actions_[TCommand::PanelOnly]->isChecked();
  showProblems_(panelOnly);
  if (!panelOnly) dialogs_->ShowMessage(text);
}

void TCaseEditor::tcCasesChange()
{
  document_->Document().SetCurrent(CurrentForce(), tcCasesTabs->currentIndex() + 1);
  // The routes are drawn again with the new current case thick, whatever the case list finds.
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  FillCaseList();
}

void TCaseEditor::FillCaseList()
{
  if (SelectedRowForce() == nullptr || CurrentForce() == nullptr) return;
  edit_.CaseFirstLine = 0;
  edit_.CaseLastLine = 0;
  caseListShowsBlock_ = false;
  caseLines_->Clear();
  const scenario::TCaseBlock block =
      scenario::FindCaseBlock(SideLinesOf(*CurrentForce()), CurrentForce()->Title(), CurrentCase());
  if (block.MissingEnd) {
    dialogs_->ShowMessage(scenario::kMissingEndMissionMessage);
    return;
  }
  edit_.CaseFirstLine = static_cast<int>(block.FirstLine);
  edit_.CaseLastLine = static_cast<int>(block.LastLine);
  caseListShowsBlock_ = !block.Lines.empty();
  if (caseListShowsBlock_) caseLines_->Show(SideLinesOf(*CurrentForce()), block.FirstLine, block.Lines.size());
  MarkCaseTabs();
  UpdateCommands();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
}

void TCaseEditor::ReparseCurrentCase()
{
  const int n = std::clamp(tcCasesTabs->currentIndex() + 1, 1, kCaseCount);
  edit_.Cases.ResetCase(n);
  scenario::TForce* force = CurrentForce();
  if (force == nullptr || caseLines_->rowCount() == 0) return;
  const scenario::TParsedCase* parsed = document_->Document().Case(*force, n);
  if (parsed == nullptr) return;
  scenario::PutParsedCase(*parsed, n, edit_.Cases);
  // Line numbers as the case list counts them, the "CASE" line 0.
  for (const scenario::TCaseMessage& message :
       scenario::CaseReadingMessages(SideLinesOf(*force), *parsed, n, static_cast<std::size_t>(edit_.CaseFirstLine)))
    dialogs_->ShowMessage(message.Text);
}

void TCaseEditor::lbPointsClick()
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
// Each works out its change as a document operation and pushes it as one step; the step's
// place shows it. The case list's commands count as an edit even when they change nothing.

void TCaseEditor::Edit1Click()
{
  const int row = SelectedLine();
  if (row < 0 || CurrentForce() == nullptr) return;
  // The text is read with the case-line rules before it is stored, in the side file's own
  // encoding; a refused one stays in the box with the reason.
  const int caseNumber = CurrentCase();
  const scenario::TLineEncoding encoding = scenario::LinesEncoding(SideLinesOf(*CurrentForce()));
  const std::string line = caseLines_->Line(row);
  const std::string typed = dialogs_->CheckedInputBox(
      "Edit line", "Edit case line", line, [this, caseNumber, encoding](const std::string& text) {
        return scenario::TypedCaseLineRefusal(text, encoding, caseNumber, document_->State().BaseList);
      });
  const TEditPlace place = CurrentPlace();
  const std::string bytes = typed == line ? line : scenario::TypedTextBytes(typed, encoding);
  document_->Push(document_->Document().EditLine(*place.Force, caseNumber, static_cast<std::size_t>(row), bytes),
                  place, place, LineStepName("Edit", place));
  // A closed box counts as an edit, whether the line changed or not.
  document_->State().Modified = true;
}

void TCaseEditor::Insert1Click()
{
  const int row = SelectedLine();
  if (row < 0 || CurrentForce() == nullptr) return;
  // A copy of the line goes above it.
  const TEditPlace place = CurrentPlace();
  document_->Push(document_->Document().InsertLine(*place.Force, place.Case, static_cast<std::size_t>(row),
                                                   caseLines_->Line(row)),
                  place, place, LineStepName("Insert", place));
  document_->State().Modified = true;
}

void TCaseEditor::Delete1Click()
{
  const int row = SelectedLine();
  if (row < 0 || CurrentForce() == nullptr) return;
  if (dialogs_->Confirm("Delete point " + caseLines_->Line(row) + "?", platform::DialogButtons::OkCancel) !=
      platform::DialogAnswer::Ok) {
    return;
  }
  const TEditPlace place = CurrentPlace();
  // The circle of a deleted waypoint line goes with it: no line is selected after it.
  document_->Push(document_->Document().DeleteLine(*place.Force, place.Case, static_cast<std::size_t>(row)), place,
                  {place.Force, place.Case, -1}, LineStepName("Delete", place));
  document_->State().Modified = true;
}

void TCaseEditor::Addcase1Click()
{
  if (CurrentForce() == nullptr || edit_.CaseFirstLine != edit_.CaseLastLine || edit_.CaseFirstLine <= 0 || caseListShowsBlock_) return;
  document_->State().Modified = true;
  scenario::TForce& force = *CurrentForce();
  std::optional<scenario::TSideSplice> splice;
  try {
    splice = document_->Document().AddCase(force, *dialogs_);
  } catch (const std::exception& error) {
    dialogs_->ShowError(error.what());
    return;
  }
  if (!splice) return;
  // The new case's tab is shown; cases beyond the last tab stay in the file but cannot be shown.
  const int added = scenario::AddedCaseNumber(splice->Splice);
  const TEditPlace after{&force, added >= 1 && added <= kCaseCount ? added : CurrentCase(), -1};
  document_->Push(std::move(splice), CurrentPlace(), after,
                  QString("Add case %1 to %2").arg(after.Case).arg(platform::ToQString(force.Title())));
  document_->State().Modified = true;
}

// ---- Edit force -----------------------------------------------------------------------------

std::optional<int> TCaseEditor::EditForceSpeed(const platform::TextLines& lines, const std::string& title)
{
  if (dlgForceInfo == nullptr) dlgForceInfo = new TdlgForceInfo(window_);
  TdlgForceInfo& dialog = *dlgForceInfo;
  dialog.ClearOverview();
  const scenario::TLineRange header = scenario::ForceHeaderLines(lines, title);
  for (std::size_t i = header.First; i < header.End; ++i) dialog.AddOverviewLine(lines[i]);
  if (const auto speed = scenario::HeaderSpeed(lines, header, *dialogs_)) dialog.SetSpeed(*speed);
  else dialog.SetSpeed(0);
  // An unchanged box leaves the line as it is, a speed outside the box's range included.
  if (dialog.exec() != QDialog::Accepted || !dialog.SpeedChanged()) return std::nullopt;
  return dialog.Speed();
}

void TCaseEditor::Editforce1Click()
{
  scenario::TForce* force = SelectedRowForce();
  if (force == nullptr) return;
  std::optional<int> speed;
  try {
    speed = EditForceSpeed(SideLinesOf(*force), force->Title());
  } catch (const std::exception& error) {
    dialogs_->ShowError(error.what());
    return;
  }
  if (!speed) return;
  // Edit force does not count as an edit of the case lines.
  const bool modified = document_->State().Modified;
  document_->Push(document_->Document().EditForceSpeed(*force, *speed), CurrentPlace(), {force, 1, -1},
                  "Edit force " + platform::ToQString(force->Title()));
  document_->State().Modified = modified;
  // The force selection runs again on the force read again.
  lvForcesSelectItem();
}

}  // namespace editor
