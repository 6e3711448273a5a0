// The case editing following the document: the map's edits and the No at the save question
// each push one step on the document's undo stack; nothing is changed here, and what each
// step, made or taken back, changed is shown.
#include <QListView>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeView>
#include <QUndoStack>
#include <algorithm>

#include "editor/CaseEditor.h"
#include "editor/CaseLinesModel.h"
#include "editor/SideSaver.h"
#include "editor/EditMain.h"
#include "editor/TimelineDock.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtText.h"
#include "scenario/CaseLineEdit.h"
#include "scenario/Force.h"
#include "scenario/ReadForceAgain.h"
#include "scenario/ScenarioLoader.h"

namespace editor {

int SideOf(const scenario::TForce& force) { return force.Side == 0 ? 0 : 1; }

TEditPlace TCaseEditor::CurrentPlace() const
{
  return {CurrentForce(), CurrentCase(), SelectedLine()};
}

void TCaseEditor::FollowDocument()
{
  document_->Document().SetForceReader([this](scenario::TForce& force) {
    scenario::TScenarioLoader loader(document_->State(), *globeMap_, *dialogs_, *files_, regional_, programDir_);
    scenario::ReadForceAgain(loader, document_->State(), force);
    forcesReread_ = true;
  });
}

void TCaseEditor::DocumentChanged(const scenario::TDocumentChange& change, const TEditPlace& place)
{
  if (forcesReread_) {
    // The rows show the forces' new speeds; the row is selected again without the selection.
    forcesReread_ = false;
    quietForceSelection_ = true;
    FillForcesList();
    quietForceSelection_ = false;
  }
  showProblems_(false);
  // The marks of the selected force follow its findings.
  if (CurrentForce() != nullptr && std::ranges::find(change.Forces, CurrentForce()) != change.Forces.end())
    globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  // The dry run sails the changed lines.
  dkTimeline->Invalidate();
  ShowEditPlace(place);
}

void TCaseEditor::ShowEditPlace(const TEditPlace& place)
{
  edit_.SelectedPoint.LatY = 0;
  if (place.Force == nullptr) {
    document_->State().Modified = CurrentForce() != nullptr && saving_.SideLinesChanged(SideOf(*CurrentForce()));
    globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
    return;
  }
  document_->Document().SetCurrent(place.Force, CurrentCase());
  const auto& rows = document_->State().ForcesList.Rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Force == place.Force) document_->State().ForcesList.Selected = static_cast<std::int32_t>(i);
  }
  ShowCurrentForceRow();
  ParseForceCases(*place.Force);
  {
    const QSignalBlocker blocker(tcCasesTabs);
    tcCasesTabs->setCurrentIndex(place.Case - 1);
  }
  document_->Document().SetCurrent(place.Force, place.Case);
  FillCaseList();
  // The selection runs lbPointsClick, which circles a waypoint line's point.
  if (place.Row >= 0 && place.Row < caseLines_->rowCount()) SelectLine(place.Row);
  document_->State().Modified = saving_.SideLinesChanged(SideOf(*place.Force));
  globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
}

bool TCaseEditor::ReplaceCaseLine(scenario::TForce& force, int caseNumber, int row, const std::string& text,
                                   const QString& stepName)
{
  if (row < 0) return false;
  const auto lines = static_cast<std::size_t>(row);
  if (!scenario::WithCaseLineReplaced(SideLinesOf(force), force.Title(), caseNumber, lines, text)) return false;
  const TEditPlace after{&force, caseNumber, row};
  // The same text again changes nothing and makes no step.
  document_->Push(document_->Document().ReplaceCaseLine(force, caseNumber, lines, text), CurrentPlace(), after,
                  stepName.isEmpty() ? LineStepName("Edit", after) : stepName);
  return true;
}

bool TCaseEditor::InsertCaseLine(scenario::TForce& force, int caseNumber, int row, const std::string& text,
                                  const QString& stepName)
{
  if (row < 0) return false;
  const TEditPlace after{&force, caseNumber, row};
  return document_->Push(
      document_->Document().InsertCaseLine(force, caseNumber, static_cast<std::size_t>(row), text), CurrentPlace(),
      after, stepName.isEmpty() ? LineStepName("Insert", after) : stepName);
}

void TCaseEditor::DiscardSideChanges()
{
  if (CurrentForce() == nullptr) return;
  const scenario::TScenarioDocument& document = document_->Document();
  const int side = SideOf(*CurrentForce());
  document_->Push(document.DiscardSideChanges(side), CurrentPlace(), {},
                  "Discard changes to " + platform::ToQString(document.SideFileName(side)));
  // The side's lines are the saved ones again: it is clean here.
  document_->MarkSaved(side);
}

}  // namespace editor
