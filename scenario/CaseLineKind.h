#pragma once
// What a line inside a case says, by the first of the case readers' key tests that matches.

#include <string_view>

namespace scenario {

enum class TCaseLineKind {
    clkFormationHeading,  // "FORMATIONHEADING"
    clkStart,             // "LL": the start position
    clkRandomDelay,       // "RD="
    clkCWPI,              // "CWPI=": the current waypoint
    clkLocation,          // "LOCATION": starts at a base
    clkDelay,             // "DELAY"
    clkWaypoint,          // "WP="
    clkTargetPoint,       // "TP="
    clkTargetBase,        // "Target=": a base as target
    clkOriginBase,        // "Origin=": a base as waypoint
    clkOther,
};

// The tests run in the order above and are case-sensitive substring tests, so a "Target=" line
// whose base name holds "LL" is a start line.
TCaseLineKind ClassifyCaseLine(std::string_view line);

}  // namespace scenario
