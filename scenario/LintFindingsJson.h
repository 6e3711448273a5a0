#pragma once
// The scenario checks' findings as a JSON array (the "findings" of vrkcheck --lint --json).

#include <vector>

#include "scenario/JsonText.h"
#include "scenario/LintFinding.h"

namespace scenario {

// [{"file", "line", "severity", "code", "message"}, ...] in the findings' order.
TJson FindingsJson(const std::vector<TLintFinding>& findings);

}  // namespace scenario
