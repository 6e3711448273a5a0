#include "scenario/CaseLineKind.h"

#include <array>
#include <utility>

#include "scenario/LabelValue.h"

namespace scenario {

TCaseLineKind ClassifyCaseLine(std::string_view line) {
    static constexpr std::array<std::pair<std::string_view, TCaseLineKind>, 10> kKeys{{
        {"FORMATIONHEADING", TCaseLineKind::FormationHeading},
        {"LL", TCaseLineKind::LL},
        {"RD=", TCaseLineKind::RD},
        {"CWPI=", TCaseLineKind::CWPI},
        {"LOCATION", TCaseLineKind::Location},
        {"DELAY", TCaseLineKind::Delay},
        {"WP=", TCaseLineKind::WP},
        {"TP=", TCaseLineKind::TP},
        {"Target=", TCaseLineKind::Target},
        {"Origin=", TCaseLineKind::Origin},
    }};
    for (const auto& [key, kind] : kKeys) {
        if (HasKey(line, key)) return kind;
    }
    return TCaseLineKind::Other;
}

}  // namespace scenario
