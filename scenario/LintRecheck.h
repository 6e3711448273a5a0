#pragma once
// Keeping the scenario checks' findings current while a side's lines are edited: only the
// edited forces are checked again; the other findings of the edited file move with their lines.

#include <cstddef>
#include <string>
#include <vector>

#include "scenario/LintFinding.h"

namespace globe {
class TLandIndex;
}

namespace scenario {

class TForce;
class TScenarioState;
struct TLinesSplice;

// One edit of a file's lines: from 0-based line First, Removed lines became Inserted lines.
struct TLinesEdit {
  std::string File;  // as the findings name it, relative to the scenario
  std::size_t First = 0;
  std::size_t Removed = 0;
  std::size_t Inserted = 0;
};

// The findings of `forces` are replaced by `fresh`; the other findings of the edited file below
// the edit get their lines' new numbers. The result is sorted by file and line as the
// whole-scenario check sorts it.
void ReplaceForceFindings(std::vector<TLintFinding>& findings, const TLinesEdit& edit,
                          const std::vector<const TForce*>& forces, std::vector<TLintFinding> fresh);

// After a splice of a side's lines was made (forward) or taken back: `forces` (of that side) are
// checked again (LintForce) and ReplaceForceFindings puts their findings in place.
void RecheckAfterSplice(std::vector<TLintFinding>& findings, const TScenarioState& state,
                        const globe::TLandIndex* land, int side, const TLinesSplice& splice, bool forward,
                        const std::vector<const TForce*>& forces);

}  // namespace scenario
