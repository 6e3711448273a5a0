#pragma once
// One entry of the Problems panel: a message of the last load (or a finding of a later check)
// with the file and line it is about.

#include <string>

namespace scenario {

struct TProblem {
    std::string File;      // full name of the file the entry is about; empty when none
    int Line = 0;          // 1-based line in File; 0 when the entry names no line
    std::string Severity;  // empty for load messages, which carry none
    std::string Code;      // short identifier of a check's finding; empty for load messages
    std::string Text;      // the message as shown, "\r" breaking its lines
    bool operator==(const TProblem&) const = default;
};

// The 1-based line a load message names: its "Line no: " or "Line number: " value (the readers
// count from 0) plus one; 0 when the message names no line.
int MessageLine(const std::string& message);

// A load message shown while the reader of file was working.
TProblem ProblemFromMessage(const std::string& message, const std::string& file);

struct TLintFinding;

// A finding of the scenario checks; its file, relative to the scenario, is made full.
TProblem ProblemFromFinding(const TLintFinding& finding, const std::string& scenarioDir);

}  // namespace scenario
