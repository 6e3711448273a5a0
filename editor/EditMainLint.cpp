// The main window's scenario checks: the whole scenario checked after a load (the document
// checks the edited forces again after each step), the load messages and the findings in the
// Problems panel.
#include "editor/EditMain.h"
#include "editor/ProblemsPanel.h"
#include "globe/view/Voduz4.h"
#include "scenario/LintLand.h"
#include "scenario/ScenarioState.h"

namespace editor {

void TfrmEditMain::CheckLoadedScenario(std::vector<scenario::TDiagnostic> loadMessages)
{
  scenario::TScenarioDocument& document = document_->Document();
  // Case messages said since the scenario was installed follow the load's own.
  const std::vector<scenario::TDiagnostic>& said = document.LoadDiagnostics();
  loadMessages.insert(loadMessages.end(), said.begin(), said.end());
  document.SetLoadDiagnostics(std::move(loadMessages));
  land_ = scenario::LandForScenario(*globeMap_, ProgramFolder(programDir_));
  document.Lint(land_.get(), Files());
  ShowProblems();
}

void TfrmEditMain::ShowProblems(bool reveal)
{
  dkProblems->SetProblems(document_->Document().Diagnostics());
  if (reveal) dkProblems->show();
}

}  // namespace editor
