#include "scenario/LintFinding.h"

namespace scenario {

std::string_view SeverityName(TLintSeverity severity) {
    switch (severity) {
    case TLintSeverity::lsError:
        return "error";
    case TLintSeverity::lsWarning:
        return "warning";
    case TLintSeverity::lsNote:
        break;
    }
    return "note";
}

std::string FormatFinding(const TLintFinding& finding) {
    const std::string where = finding.File.empty() ? "" : finding.File + ":" + std::to_string(finding.Line) + ": ";
    return where + std::string(SeverityName(finding.Severity)) + ": " + finding.Message + " [" + finding.Code + "]";
}

}  // namespace scenario
