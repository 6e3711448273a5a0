#include "scenario/Problem.h"

#include "scenario/LintFinding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace scenario {

int MessageLine(const std::string& message) {
    constexpr std::array<std::string_view, 2> kLabels = {"Line no: ", "Line number: "};
    for (const std::string_view label : kLabels) {
        const auto at = message.find(label);
        if (at == std::string::npos) continue;
        std::size_t i = at + label.size();
        long long index = 0;
        bool digits = false;
        // Indexes beyond a million lines are not file lines the panel could show.
        while (i < message.size() && std::isdigit(static_cast<unsigned char>(message[i])) && index < 1'000'000) {
            index = index * 10 + (message[i] - '0');
            digits = true;
            ++i;
        }
        if (digits && index < 1'000'000) return static_cast<int>(index) + 1;
    }
    return 0;
}

TProblem ProblemFromMessage(const std::string& message, const std::string& file) {
    TProblem problem;
    problem.File = file;
    problem.Line = MessageLine(message);
    problem.Text = message;
    return problem;
}

TProblem ProblemFromFinding(const TLintFinding& finding, const std::string& scenarioDir) {
    TProblem problem;
    problem.File = finding.File.empty() ? std::string() : scenarioDir + finding.File;
    problem.Line = static_cast<int>(std::min<std::size_t>(finding.Line, 1'000'000));
    problem.Severity = std::string(SeverityName(finding.Severity));
    problem.Code = finding.Code;
    problem.Text = finding.Message;
    return problem;
}

}  // namespace scenario
