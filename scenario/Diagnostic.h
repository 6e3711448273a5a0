#pragma once
// One report about a scenario as data: a message of a load, a fault of the case-line rules, the
// reason an edited line is refused, or a finding of the scenario checks; with the file and line
// it is about, how bad it is and a short code. The message boxes show it as DiagnosticMessage
// words it; the Problems panel lists the records themselves.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

class TForce;

enum class TLintSeverity { lsError, lsWarning, lsNote };

// "error", "warning" or "note".
std::string_view SeverityName(TLintSeverity severity);

struct TDiagnostic {
    std::string File;  // full name of the file the record is about; empty when none
    int Line = 0;      // 1-based line in File; 0 when the record names no line
    std::optional<TLintSeverity> Severity;  // none for the load's messages, which carry none
    std::string Code;  // short identifier ("bad-position"); empty for the load's messages
    std::string Text;  // the message as the reader words it, "\r" breaking its lines
    const TForce* Force = nullptr;  // the force it concerns, when known
    int Case = 0;                   // its case number, 0 for none
    bool operator==(const TDiagnostic&) const = default;
};

// A record of a message without severity or code (a reader's message), about `line` (1-based, 0
// for none) of `file`.
TDiagnostic MessageDiagnostic(std::string text, int line = 0, std::string file = {});

// The text a message box shows for the record: the reader's own words.
inline const std::string& DiagnosticMessage(const TDiagnostic& diagnostic) { return diagnostic.Text; }

// "error", "warning", "note" or empty.
std::string_view SeverityText(const TDiagnostic& diagnostic);

// The 1-based line of a 0-based index the readers count with; 0 beyond a million lines, which
// are not file lines a panel could show.
int DiagnosticLine(std::int64_t index);

// Takes the records of a run (a load, a check).
class TDiagnosticSink {
public:
    virtual ~TDiagnosticSink() = default;
    virtual void Report(const TDiagnostic& diagnostic) = 0;
};

struct TLintFinding;

// A finding of the scenario checks; its file, relative to the scenario, is made full.
TDiagnostic DiagnosticFromFinding(const TLintFinding& finding, const std::string& scenarioDir);

}  // namespace scenario
