#include "scenario/LintFindingsJson.h"

#include "scenario/JsonWriter.h"

namespace scenario {

void WriteFindings(TJsonWriter& json, const std::vector<TLintFinding>& findings) {
    json.BeginArray();
    for (const TLintFinding& finding : findings) {
        json.BeginObject();
        json.Key("file");
        json.String(finding.File);
        json.Key("line");
        json.Integer(static_cast<std::int64_t>(finding.Line));
        json.Key("severity");
        json.String(SeverityName(finding.Severity));
        json.Key("code");
        json.String(finding.Code);
        json.Key("message");
        json.String(finding.Message);
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace scenario
