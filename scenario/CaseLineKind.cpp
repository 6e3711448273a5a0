#include "scenario/CaseLineKind.h"

#include <array>
#include <utility>

#include "scenario/LabelValue.h"

namespace scenario {

TCaseLineKind ClassifyCaseLine(std::string_view line) {
    static constexpr std::array<std::pair<std::string_view, TCaseLineKind>, 10> kKeys{{
        {"FORMATIONHEADING", TCaseLineKind::clkFormationHeading},
        {"LL", TCaseLineKind::clkStart},
        {"RD=", TCaseLineKind::clkRandomDelay},
        {"CWPI=", TCaseLineKind::clkCWPI},
        {"LOCATION", TCaseLineKind::clkLocation},
        {"DELAY", TCaseLineKind::clkDelay},
        {"WP=", TCaseLineKind::clkWaypoint},
        {"TP=", TCaseLineKind::clkTargetPoint},
        {"Target=", TCaseLineKind::clkTargetBase},
        {"Origin=", TCaseLineKind::clkOriginBase},
    }};
    for (const auto& [key, kind] : kKeys) {
        if (HasKey(line, key)) return kind;
    }
    return TCaseLineKind::clkOther;
}

}  // namespace scenario
