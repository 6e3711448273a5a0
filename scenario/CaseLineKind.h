#pragma once
// What a line inside a case says, by the first of the case readers' key tests that matches.

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

enum class TCaseLineKind {
    FormationHeading,  // "FORMATIONHEADING"
    LL,                // "LL": the start position
    RD,                // "RD=": a random delay
    CWPI,              // "CWPI=": the current waypoint
    Location,          // "LOCATION": starts at a base
    Delay,             // "DELAY"
    WP,                // "WP=": a waypoint
    TP,                // "TP=": a target point
    Target,            // "Target=": a base as target
    Origin,            // "Origin=": a base as waypoint
    Other,
};

// The tests run in the order above and are case-sensitive substring tests, so a "Target=" line
// whose base name holds "LL" is a start line.
TCaseLineKind ClassifyCaseLine(std::string_view line);

// The case key ("WP=", "LOCATION=", ...) a line that is not read probably meant: its label
// (before "=") is the key's but for upper and lower case ("wp=3700N 02400E").
std::optional<std::string> CaseKeyInOtherCase(std::string_view line);

}  // namespace scenario
