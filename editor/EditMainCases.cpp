// The main window's force, case and line editing: selecting a force parses its cases from its
// side's lines, a tab shows one case's lines in the case list, and the case list commands change
// those lines and write them back in place.
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "editor/CaseEditCommands.h"
#include "editor/EditMain.h"
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

namespace editor {

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

void TfrmEditMain::ConnectCaseEditing()
{
  connect(lvForces, &QTreeWidget::itemSelectionChanged, this, [this] { lvForcesSelectItem(); });
  connect(tcCasesTabs, &QTabBar::currentChanged, this, [this] { tcCasesChange(); });
  connect(lbPoints, &QListWidget::itemSelectionChanged, this, [this] { lbPointsClick(); });
  connect(puCaseList, &QMenu::aboutToShow, this, [this] { puCaseListPopup(); });
  const TEditorActions& commands = Actions();
  connect(commands[TCommand::EditLine], &QAction::triggered, this, [this] { Edit1Click(); });
  connect(commands[TCommand::InsertLine], &QAction::triggered, this, [this] { Insert1Click(); });
  connect(commands[TCommand::DeleteLine], &QAction::triggered, this, [this] { Delete1Click(); });
  connect(commands[TCommand::AddCase], &QAction::triggered, this, [this] { Addcase1Click(); });
  connect(commands[TCommand::EditForce], &QAction::triggered, this, [this] { Editforce1Click(); });
  connect(commands[TCommand::Save], &QAction::triggered, this, [this] { Save1Click(); });

  // The keyboard and the mouse reach the case list's commands without its popup.
  connect(lbPoints, &QListWidget::itemDoubleClicked, this, [this] { Edit1Click(); });
  connect(lbPoints, &QListWidget::itemSelectionChanged, this, [this] { UpdateCommands(); });
  lbPoints->installEventFilter(this);
  UpdateCommands();
}

void TfrmEditMain::UpdateCommands()
{
  const int row = lbPoints->currentRow();
  TCommandState state;
  state.ScenarioLoaded = !scenario_->ScenarioDir.empty();
  state.ForceSelected = SelectedRowForce() != nullptr;
  state.LineSelected = row >= 0 && lbPoints->item(row)->isSelected();
  state.CaseListEmpty = lbPoints->count() == 0;
  Actions().UpdateEnabled(state);
}

void TfrmEditMain::MarkCaseTabs()
{
  std::array<bool, kCaseCount> exists{};
  if (CurrentForce != nullptr) {
    const platform::TextLines& lines = SideLinesOf(*CurrentForce);
    if (const auto nameLine = scenario::FindForceNameLine(lines, CurrentForce->Title()))
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
  const QList<QTreeWidgetItem*> selected = lvForces->selectedItems();
  if (selected.isEmpty()) return nullptr;
  const auto row = selected.front()->data(0, Qt::UserRole).toULongLong();
  const auto& rows = scenario_->ForcesList.Rows;
  return row < rows.size() ? rows[row].Force : nullptr;
}

platform::TextLines& TfrmEditMain::SideLinesOf(const scenario::TForce& force)
{
  return scenario_->SideLines[force.Side == 0 ? 0 : 1];
}

void TfrmEditMain::ShowCurrentForceRow()
{
  const QSignalBlocker blocker(lvForces);
  lvForces->clearSelection();
  const auto& rows = scenario_->ForcesList.Rows;
  for (int i = 0; i < lvForces->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = lvForces->topLevelItem(i);
    const auto row = item->data(0, Qt::UserRole).toULongLong();
    if (row < rows.size() && rows[row].Force == CurrentForce) {
      item->setSelected(true);
      lvForces->setCurrentItem(item);
      break;
    }
  }
}

// ---- The case list's lines ------------------------------------------------------------------

std::string TfrmEditMain::CaseListLine(int row) const
{
  const QListWidgetItem* item = lbPoints->item(row);
  if (item == nullptr) return {};
  const QByteArray stored = item->data(Qt::UserRole).toByteArray();
  std::string bytes(stored.constData(), static_cast<std::size_t>(stored.size()));
  // A text set on the item itself stands for the line now.
  if (item->text() != platform::ToQString(bytes)) return platform::FromQString(item->text(), bytes);
  return bytes;
}

void TfrmEditMain::SetCaseListLine(int row, const std::string& line)
{
  QListWidgetItem* item = lbPoints->item(row);
  if (item == nullptr) return;
  item->setData(Qt::UserRole, Bytes(line));
  item->setText(platform::ToQString(line));
}

platform::TextLines TfrmEditMain::CaseListLines() const
{
  platform::TextLines lines;
  for (int row = 0; row < lbPoints->count(); ++row) lines.push_back(CaseListLine(row));
  return lines;
}

void TfrmEditMain::ShowCaseList(const platform::TextLines& lines)
{
  const QSignalBlocker blocker(lbPoints);
  lbPoints->clear();
  for (const std::string& line : lines) {
    auto* item = new QListWidgetItem(platform::ToQString(line), lbPoints);
    item->setData(Qt::UserRole, Bytes(line));
  }
}

// ---- Cases ----------------------------------------------------------------------------------

void TfrmEditMain::ResetCase(int n) { Cases.ResetCase(n); }

void TfrmEditMain::ParseCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n)
{
  scenario::ParseCase(lines, first, end, n, Cases, scenario_->BaseList, *dialogs_);
}

void TfrmEditMain::lvForcesSelectItem()
{
  scenario::TForce* force = SelectedRowForce();
  if (force == nullptr) return;
  scenario::TScenarioState& state = *scenario_;
  if (state.Modified) {
    if (dialogs_->Confirm("Save changes to ship file?", platform::DialogButtons::YesNo) ==
        platform::DialogAnswer::Yes) {
      if (!SaveSideLines()) {
        // The force change does not happen: the list shows the force of the cases again.
        ShowCurrentForceRow();
        return;
      }
    } else {
      // Declined edits are not kept for the next save to write unasked.
      DiscardSideChanges();
    }
    state.Modified = false;
  }
  state.ForcesList.Selected =
      static_cast<std::int32_t>(lvForces->selectedItems().front()->data(0, Qt::UserRole).toULongLong());
  // The waypoint circle belongs to the previous force's line.
  SelectedPoint.LatY = 0;
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
    ResetCase(n);
    // A new force starts without the previous force's starts and delays, so that a case without
    // a start or delay line is not drawn from another force's values.
    Cases.CaseStart[n - 1] = {};
    Cases.CaseDelay[n - 1] = 0;
  }
  CurrentForce = &force;
  const platform::TextLines& lines = SideLinesOf(force);
  if (const auto nameLine = scenario::FindForceNameLine(lines, force.Title())) {
    for (int n = 1; n <= kCaseCount; ++n) {
      if (const auto found = scenario::LocateCase(lines, *nameLine, n)) ParseCase(lines, found->First, found->End, n);
    }
  }
}

void TfrmEditMain::tcCasesChange()
{
  CurrentCase = std::clamp(tcCasesTabs->currentIndex() + 1, 1, kCaseCount);
  // The routes are drawn again with the new current case thick, whatever the case list finds.
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  FillCaseList();
}

void TfrmEditMain::FillCaseList()
{
  if (SelectedRowForce() == nullptr || CurrentForce == nullptr) return;
  CaseFirstLine = 0;
  CaseLastLine = 0;
  caseListShowsBlock_ = false;
  ShowCaseList({});
  const scenario::TCaseBlock block =
      scenario::FindCaseBlock(SideLinesOf(*CurrentForce), CurrentForce->Title(), CurrentCase);
  if (block.MissingEnd) {
    dialogs_->ShowMessage(scenario::kMissingEndMissionMessage);
    return;
  }
  CaseFirstLine = static_cast<int>(block.FirstLine);
  CaseLastLine = static_cast<int>(block.LastLine);
  caseListShowsBlock_ = !block.Lines.empty();
  ShowCaseList(block.Lines);
  MarkCaseTabs();
  UpdateCommands();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
}

void TfrmEditMain::StoreCaseList()
{
  if (CurrentForce == nullptr) return;
  scenario_->Modified = true;
  // Only a block that the case list was filled from is replaced: never the "ENDMISSION" line
  // or the first line of the file that the indexes hold when no case is shown.
  if (!caseListShowsBlock_ || CaseFirstLine < 0 || CaseLastLine < 0) return;
  scenario::StoreCaseBlock(SideLinesOf(*CurrentForce), static_cast<std::size_t>(CaseFirstLine),
                           static_cast<std::size_t>(CaseLastLine), CaseListLines());
  MarkCaseTabs();
}

void TfrmEditMain::ReparseCurrentCase()
{
  const int n = std::clamp(tcCasesTabs->currentIndex() + 1, 1, kCaseCount);
  ResetCase(n);
  const platform::TextLines lines = CaseListLines();
  if (lines.empty()) return;
  ParseCase(lines, 1, scenario::CaseLinesEnd(lines, 1), n);
}

void TfrmEditMain::lbPointsClick()
{
  const int row = lbPoints->currentRow();
  if (row < 0 || !lbPoints->item(row)->isSelected()) return;
  SelectedPoint.LatY = 0;
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  const std::string line = CaseListLine(row);
  if (line.size() >= 3 && line.compare(1, 2, "P=") == 0) {
    globe::TGeoPoint point;
    if (scenario::ParsePositionValue(std::string_view(line).substr(3), point)) {
      SelectedPoint = point;
      globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
    }
  }
}

void TfrmEditMain::puCaseListPopup() { UpdateCommands(); }

// ---- Case list commands ---------------------------------------------------------------------

namespace {

// The selected line of a list, or -1.
int SelectedRow(const QListWidget& list)
{
  const int row = list.currentRow();
  return row >= 0 && list.item(row)->isSelected() ? row : -1;
}

}  // namespace

void TfrmEditMain::Edit1Click()
{
  const int row = SelectedRow(*lbPoints);
  if (row < 0 || CurrentForce == nullptr) return;
  const TEditStart start = StartEdit(*CurrentForce);
  // The text is read with the case-line rules before it is stored; a refused one stays in the
  // box with the reason.
  const int caseNumber = CurrentCase;
  SetCaseListLine(row, dialogs_->CheckedInputBox("Edit line", "Edit case line", CaseListLine(row),
                                                 [this, caseNumber](const std::string& text) {
                                                   return scenario::CaseLineRefusal(text, caseNumber,
                                                                                    scenario_->BaseList);
                                                 }));
  ReparseCurrentCase();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  StoreCaseList();
  if (auto change = MadeChange(start, CurrentPlace())) undoStack_->push(new TEditLineCommand(*this, std::move(*change), true));
}

void TfrmEditMain::Insert1Click()
{
  const int row = SelectedRow(*lbPoints);
  if (row < 0 || CurrentForce == nullptr) return;
  const TEditStart start = StartEdit(*CurrentForce);
  const std::string line = CaseListLine(row);
  {
    const QSignalBlocker blocker(lbPoints);
    auto* item = new QListWidgetItem(platform::ToQString(line));
    item->setData(Qt::UserRole, Bytes(line));
    lbPoints->insertItem(row, item);
  }
  StoreCaseList();
  FillCaseList();
  ReparseCurrentCase();
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  if (auto change = MadeChange(start, {CurrentForce, CurrentCase, row})) {
    undoStack_->push(new TInsertLineCommand(*this, std::move(*change), true));
  }
}

void TfrmEditMain::Delete1Click()
{
  const int row = SelectedRow(*lbPoints);
  if (row < 0 || CurrentForce == nullptr) return;
  const TEditStart start = StartEdit(*CurrentForce);
  if (dialogs_->Confirm("Delete point " + CaseListLine(row) + "?", platform::DialogButtons::OkCancel) !=
      platform::DialogAnswer::Ok) {
    return;
  }
  {
    const QSignalBlocker blocker(lbPoints);
    delete lbPoints->takeItem(row);
  }
  StoreCaseList();
  FillCaseList();
  ReparseCurrentCase();
  // The circle of a deleted waypoint line goes with it.
  SelectedPoint.LatY = 0;
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  if (auto change = MadeChange(start, CurrentPlace())) undoStack_->push(new TDeleteLineCommand(*this, std::move(*change)));
}

void TfrmEditMain::Addcase1Click()
{
  if (CurrentForce == nullptr || CaseFirstLine != CaseLastLine || CaseFirstLine <= 0 || caseListShowsBlock_) return;
  scenario_->Modified = true;
  const TEditStart start = StartEdit(*CurrentForce);
  platform::TextLines& lines = SideLinesOf(*CurrentForce);
  const std::size_t missionStart = scenario::FindForceNameLine(lines, CurrentForce->Title()).value_or(0);
  std::optional<int> added;
  try {
    added = scenario::AddCase(lines, static_cast<std::size_t>(CaseFirstLine), missionStart, *dialogs_);
  } catch (const std::exception& error) {
    dialogs_->ShowError(error.what());
    return;
  }
  if (!added) return;
  // Cases beyond the last tab stay in the file but cannot be shown.
  if (*added >= 1 && *added <= kCaseCount) {
    const QSignalBlocker blocker(tcCasesTabs);
    tcCasesTabs->setCurrentIndex(*added - 1);
    CurrentCase = *added;
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
  if (dialog.exec() != QDialog::Accepted) return false;
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
