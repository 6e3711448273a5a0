// The main window's undo and redo: the Edit menu over the scenario's undo stack, how a change
// of the side lines is recorded, made again or taken back, and the place shown after it.
#include <QListView>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeView>
#include <QUndoStack>
#include <algorithm>
#include <stdexcept>

#include "editor/CaseEditCommands.h"
#include "editor/CaseLinesModel.h"
#include "editor/EditMain.h"
#include "globe/view/Voduz4.h"
#include "scenario/CaseLineEdit.h"
#include "scenario/Force.h"
#include "scenario/ForceHeader.h"
#include "scenario/ReadForceAgain.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/SideFile.h"

namespace editor {

int SideOf(const scenario::TForce& force) { return force.Side == 0 ? 0 : 1; }

TEditPlace TfrmEditMain::CurrentPlace() const
{
  return {edit_.CurrentForce, edit_.CurrentCase, SelectedLine()};
}

TfrmEditMain::TEditStart TfrmEditMain::StartEdit(const scenario::TForce& force) const
{
  const int side = SideOf(force);
  return {side, scenario_->SideLines[side], CurrentPlace()};
}

std::optional<TSideLinesChange> TfrmEditMain::MadeChange(const TEditStart& start, const TEditPlace& after) const
{
  scenario::TLinesSplice splice = scenario::DiffLines(start.Lines, scenario_->SideLines[start.Side]);
  if (splice.Empty()) return std::nullopt;
  return TSideLinesChange{start.Side, std::move(splice), start.Place, after};
}

void TfrmEditMain::SpliceSideLines(int side, const scenario::TLinesSplice& splice, bool forward)
{
  platform::TextLines& lines = scenario_->SideLines[side == 0 ? 0 : 1];
  try {
    if (forward) {
      scenario::ApplySplice(lines, splice);
    } else {
      scenario::RevertSplice(lines, splice);
    }
  } catch (const std::logic_error& error) {
    dialogs_->ShowError(error.what());
  }
}

void TfrmEditMain::ShowEditPlace(const TEditPlace& place)
{
  edit_.SelectedPoint.LatY = 0;
  if (place.Force == nullptr) {
    scenario_->Modified = edit_.CurrentForce != nullptr && SideLinesChanged(SideOf(*edit_.CurrentForce));
    globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
    return;
  }
  edit_.CurrentForce = place.Force;
  const auto& rows = scenario_->ForcesList.Rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Force == place.Force) scenario_->ForcesList.Selected = static_cast<std::int32_t>(i);
  }
  ShowCurrentForceRow();
  ParseForceCases(*place.Force);
  {
    const QSignalBlocker blocker(tcCasesTabs);
    tcCasesTabs->setCurrentIndex(place.Case - 1);
  }
  edit_.CurrentCase = place.Case;
  FillCaseList();
  // The selection runs lbPointsClick, which circles a waypoint line's point.
  if (place.Row >= 0 && place.Row < caseLines_->rowCount()) SelectLine(place.Row);
  scenario_->Modified = SideLinesChanged(SideOf(*place.Force));
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
}

void TfrmEditMain::ReadForceAgain(scenario::TForce& force)
{
  scenario::TScenarioLoader loader(*scenario_, *globeMap_, *dialogs_, Files(), regional_, programDir_);
  scenario::ReadForceAgain(loader, *scenario_, force);
  quietForceSelection_ = true;
  FillForcesList();
  quietForceSelection_ = false;
}

void TfrmEditMain::ReadForcesWithHeaderIn(int side, const scenario::TLinesSplice& splice)
{
  // The splice may stand either way round in the lines: its run covers both.
  const std::size_t first = splice.First;
  const std::size_t end = first + std::max<std::size_t>({splice.Removed.size(), splice.Inserted.size(), 1});
  const platform::TextLines& lines = scenario_->SideLines[side];
  for (scenario::TForce* force : scenario_->ForceList) {
    if (SideOf(*force) != side) continue;
    const scenario::TLineRange header = scenario::ForceHeaderLines(lines, force->Title());
    if (header.First < end && first < header.End) ReadForceAgain(*force);
  }
}

std::optional<TSideLinesChange> TfrmEditMain::CaseLineChange(const TCaseLineEdit& edit, scenario::TForce& force,
                                                             int caseNumber, int row, const std::string& text) const
{
  if (row < 0) return std::nullopt;
  const int side = SideOf(force);
  const platform::TextLines& lines = scenario_->SideLines[side];
  const auto changed = edit(lines, force.Title(), caseNumber, static_cast<std::size_t>(row), text);
  if (!changed) return std::nullopt;
  return TSideLinesChange{side, scenario::DiffLines(lines, *changed), CurrentPlace(), {&force, caseNumber, row}};
}

bool TfrmEditMain::ReplaceCaseLine(scenario::TForce& force, int caseNumber, int row, const std::string& text,
                                   const QString& stepName)
{
  auto change = CaseLineChange(scenario::WithCaseLineReplaced, force, caseNumber, row, text);
  if (!change) return false;
  // The same text again changes nothing and makes no step.
  if (!change->Splice.Empty()) undoStack_->push(new TEditLineCommand(*this, std::move(*change), false, stepName));
  return true;
}

bool TfrmEditMain::InsertCaseLine(scenario::TForce& force, int caseNumber, int row, const std::string& text,
                                  const QString& stepName)
{
  auto change = CaseLineChange(scenario::WithCaseLineInserted, force, caseNumber, row, text);
  if (!change) return false;
  undoStack_->push(new TInsertLineCommand(*this, std::move(*change), false, stepName));
  return true;
}

void TfrmEditMain::DiscardSideChanges()
{
  if (edit_.CurrentForce == nullptr) return;
  const int side = SideOf(*edit_.CurrentForce);
  const TEditStart start = StartEdit(*edit_.CurrentForce);
  scenario_->SideLines[side] = savedSideLines_[side];
  if (auto change = MadeChange(start, {})) {
    ReadForcesWithHeaderIn(side, change->Splice);
    undoStack_->push(new TDiscardChangesCommand(*this, std::move(*change),
                                                scenario::SideFileName(scenario_->IsCampaign, side)));
  }
}

}  // namespace editor
