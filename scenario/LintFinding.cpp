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
    return finding.File + ":" + std::to_string(finding.Line) + ": " + std::string(SeverityName(finding.Severity)) +
           ": " + finding.Message + " [" + finding.Code + "]";
}

}  // namespace scenario
