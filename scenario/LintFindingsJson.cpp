#include "scenario/LintFindingsJson.h"

namespace scenario {

TJson FindingsJson(const std::vector<TLintFinding>& findings) {
    TJson array = TJson::array();
    for (const TLintFinding& finding : findings) {
        TJson& entry = array.emplace_back();
        entry["file"] = JsonText(finding.File);
        entry["line"] = finding.Line;
        entry["severity"] = SeverityName(finding.Severity);
        entry["code"] = JsonText(finding.Code);
        entry["message"] = JsonText(finding.Message);
    }
    return array;
}

}  // namespace scenario
