#include "scenario/LintRecheck.h"

#include <algorithm>
#include <iterator>

#include "scenario/LinesSplice.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideFile.h"

namespace scenario {

void ReplaceForceFindings(std::vector<TLintFinding>& findings, const TLinesEdit& edit,
                          const std::vector<const TForce*>& forces, std::vector<TLintFinding> fresh) {
  std::erase_if(findings, [&forces](const TLintFinding& finding) {
    return finding.Force != nullptr && std::find(forces.begin(), forces.end(), finding.Force) != forces.end();
  });
  // Findings name 1-based lines: those past the removed lines move by the change in length.
  const std::size_t firstAfter = edit.First + edit.Removed + 1;
  for (TLintFinding& finding : findings) {
    if (finding.File != edit.File || finding.Line < firstAfter) continue;
    finding.Line = finding.Line - edit.Removed + edit.Inserted;
  }
  findings.insert(findings.end(), std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  std::stable_sort(findings.begin(), findings.end(), [](const TLintFinding& a, const TLintFinding& b) {
    return a.File != b.File ? a.File < b.File : a.Line < b.Line;
  });
}

void RecheckAfterSplice(std::vector<TLintFinding>& findings, const TScenarioState& state,
                        const globe::TLandIndex* land, int side, const TLinesSplice& splice, bool forward,
                        const std::vector<const TForce*>& forces) {
  std::vector<TLintFinding> fresh;
  for (const TForce* force : forces) {
    std::vector<TLintFinding> more = LintForce(state, *force, land);
    fresh.insert(fresh.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  }
  const std::size_t removed = forward ? splice.Removed.size() : splice.Inserted.size();
  const std::size_t inserted = forward ? splice.Inserted.size() : splice.Removed.size();
  const TLinesEdit edit{SideFileName(state.IsCampaign, side), splice.First, removed, inserted};
  ReplaceForceFindings(findings, edit, forces, std::move(fresh));
}

}  // namespace scenario
