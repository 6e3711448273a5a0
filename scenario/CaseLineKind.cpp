#include "scenario/CaseLineKind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "scenario/LabelValue.h"

namespace scenario {

namespace {

constexpr std::array<std::pair<std::string_view, TCaseLineKind>, 10> kKeys{{
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

bool SameButCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

TCaseLineKind ClassifyCaseLine(std::string_view line) {
    for (const auto& [key, kind] : kKeys) {
        if (HasKey(line, key)) return kind;
    }
    return TCaseLineKind::Other;
}

std::optional<std::string> CaseKeyInOtherCase(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view label = line.substr(0, equals);
    for (const auto& [key, kind] : kKeys) {
        const std::string_view name = key.substr(0, key.find('='));
        if (SameButCase(label, name)) return std::string(name) + "=";
    }
    return std::nullopt;
}

}  // namespace scenario
