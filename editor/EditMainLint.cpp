// The main window's scenario checks: the whole scenario checked after a load, the edited forces
// checked again after each change of a side's lines, their findings in the Problems panel after
// the load messages, and the warning marks of the selected force's findings on the map.
#include <algorithm>

#include "editor/EditMain.h"
#include "editor/TimelineDock.h"
#include "editor/ProblemsPanel.h"
#include "globe/view/Voduz4.h"
#include "scenario/Force.h"
#include "scenario/LintLand.h"
#include "scenario/LintRecheck.h"
#include "scenario/ScenarioLint.h"
#include "scenario/SideFile.h"

namespace editor {

void TfrmEditMain::CheckLoadedScenario(std::vector<scenario::TDiagnostic> loadMessages)
{
  // Case messages said since the scenario was installed follow the load's own.
  loadMessages.insert(loadMessages.end(), loadProblems_.begin(), loadProblems_.end());
  loadProblems_ = std::move(loadMessages);
  land_ = scenario::LandForScenario(*globeMap_, ProgramFolder(programDir_));
  findings_ = scenario::LintScenario(*scenario_, land_.get(), Files());
  ShowProblems();
}

void TfrmEditMain::ShowProblems()
{
  std::vector<scenario::TDiagnostic> problems = loadProblems_;
  for (const scenario::TLintFinding& finding : findings_)
    problems.push_back(scenario::DiagnosticFromFinding(finding, scenario_->ScenarioDir));
  dkProblems->SetProblems(std::move(problems));
}

void TfrmEditMain::RecheckEdit(const TSideLinesChange& change, bool forward)
{
  const int side = change.Side == 0 ? 0 : 1;
  std::vector<const scenario::TForce*> forces;
  for (const scenario::TForce* force : {change.Before.Force, change.After.Force}) {
    if (force != nullptr && SideOf(*force) == side && std::ranges::find(forces, force) == forces.end())
      forces.push_back(force);
  }
  // A change that names no force (the side's lines discarded) may concern any of the side's.
  if (forces.empty()) {
    for (const scenario::TForce* force : scenario_->ForceList)
      if (SideOf(*force) == side) forces.push_back(force);
  }
  scenario::RecheckAfterSplice(findings_, *scenario_, land_.get(), side, change.Splice, forward, forces);
  ShowProblems();
  // The marks of the selected force follow its findings.
  if (edit_.CurrentForce != nullptr && std::ranges::find(forces, edit_.CurrentForce) != forces.end())
    globeMap_->GlobeNotify(globe::gnSelectionChange, nullptr);
  // The dry run sails the changed lines.
  dkTimeline->Invalidate();
}

}  // namespace editor
