#pragma once
// The scenario checks' findings as a JSON array (the "findings" of vrkcheck --lint --json).

#include <vector>

#include "scenario/LintFinding.h"

namespace scenario {

class TJsonWriter;

// [{"file", "line", "severity", "code", "message"}, ...] in the findings' order.
void WriteFindings(TJsonWriter& json, const std::vector<TLintFinding>& findings);

}  // namespace scenario
