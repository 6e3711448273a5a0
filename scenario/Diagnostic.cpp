#include "scenario/Diagnostic.h"

#include <algorithm>

#include "scenario/LintFinding.h"

namespace scenario {

std::string_view SeverityText(const TDiagnostic& diagnostic) {
    return diagnostic.Severity ? SeverityName(*diagnostic.Severity) : std::string_view();
}

TDiagnostic MessageDiagnostic(std::string text, int line, std::string file) {
    TDiagnostic diagnostic;
    diagnostic.File = std::move(file);
    diagnostic.Line = line;
    diagnostic.Text = std::move(text);
    return diagnostic;
}

int DiagnosticLine(std::int64_t index) {
    return index >= 0 && index < 1'000'000 ? static_cast<int>(index) + 1 : 0;
}

TDiagnostic DiagnosticFromFinding(const TLintFinding& finding, const std::string& scenarioDir) {
    TDiagnostic diagnostic;
    diagnostic.File = finding.File.empty() ? std::string() : scenarioDir + finding.File;
    diagnostic.Line = static_cast<int>(std::min<std::size_t>(finding.Line, 1'000'000));
    diagnostic.Severity = finding.Severity;
    diagnostic.Code = finding.Code;
    diagnostic.Text = finding.Message;
    diagnostic.Force = finding.Force;
    diagnostic.Case = finding.Case;
    return diagnostic;
}

}  // namespace scenario
