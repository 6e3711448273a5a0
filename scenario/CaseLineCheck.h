#pragma once
// The check of an edited case line before it is stored: the line is read with the case-line
// rules, and what they would report is the reason it is refused.
#include <optional>
#include <string>
#include <vector>

#include "scenario/Diagnostic.h"

#include "scenario/LineEncoding.h"

namespace scenario {

class TBase;

// Empty when the line may be stored; otherwise the reason the case-line rules give against it:
// a "WP=", "TP=" or "LL=" position that does not read or lies off the globe (minutes of 60 and
// more, hemisphere letters other than N/S and E/W, more than 90 or 180 degrees), a "LOCATION=", "Target=" or "Origin="
// naming no base of bases, a "CWPI=" or "SPEED=" value that is not a whole number, or a label
// other than the one the rules read the line as. Lines the rules do not read are accepted.
// The line is read as a line of case caseNumber (1..6), the number the rules' messages name.
std::string CaseLineRefusal(const std::string& line, int caseNumber, const std::vector<TBase*>& bases);

// The same check as a record: an error with the fault's code ("bad-position", "unknown-base",
// "bad-number", "wrong-label", "missing-equals", "off-globe") and the reason as its text; none when
// the line may be stored.
std::optional<TDiagnostic> CaseLineDiagnostic(const std::string& line, int caseNumber,
                                              const std::vector<TBase*>& bases);

// The same for a line typed in the Edit box (UTF-8) into a file of that encoding: first refused
// for what the file cannot hold (TypedTextRefusal), then read as it will be stored
// (TypedTextBytes).
std::string TypedCaseLineRefusal(const std::string& typed, TLineEncoding encoding, int caseNumber,
                                 const std::vector<TBase*>& bases);

}  // namespace scenario
