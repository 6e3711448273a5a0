#pragma once
// One thing the scenario checks found: where (file and line), how bad, a short stable code, a
// message, and for the map the force, case and point it concerns.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "globe/data/GeoTypes.h"
#include "scenario/Diagnostic.h"

namespace scenario {

class TForce;

struct TLintFinding {
    std::string File;      // relative to the scenario directory, e.g. "AxisShips.cfg"
    std::size_t Line = 0;  // 1-based
    TLintSeverity Severity = TLintSeverity::lsError;
    std::string Code;  // e.g. "waypoint-on-land"
    std::string Message;
    const TForce* Force = nullptr;  // the force the finding belongs to, if any
    int Case = 0;                   // its case number, 0 for none
    std::optional<globe::TGeoPoint> At;  // the position concerned, for a mark on the map
};

// "FILE:LINE: severity: message [code]", the form compilers and editors understand; a finding
// about no file (the land map) is "severity: message [code]".
std::string FormatFinding(const TLintFinding& finding);

}  // namespace scenario
