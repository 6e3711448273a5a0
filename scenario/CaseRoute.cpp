#include "scenario/CaseRoute.h"

#include <algorithm>

#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/BaseLookup.h"
#include "scenario/CaseLineKind.h"
#include "scenario/PositionText.h"

namespace scenario {

namespace {

// The value after the line's first "=" when the label before it is the expected one (any label
// when none is expected); empty otherwise.
std::string ValueOf(const std::string& line, std::string_view label = {}) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return {};
    if (!label.empty() && std::string_view(line).substr(0, equals) != label) return {};
    return line.substr(equals + 1);
}

}  // namespace

TCaseRoute ReadCaseRoute(const platform::TextLines& lines, std::size_t first, std::size_t end,
                         const std::vector<TBase*>& bases) {
    TCaseRoute route;
    end = std::min(end, lines.size());
    for (std::size_t i = first; i < end; ++i) {
        const std::string& line = lines[i];
        // A position of the line, or a problem noted for it.
        auto position = [&](std::string_view label) -> std::optional<TRoutePoint> {
            const std::string value = ValueOf(line, label);
            globe::TGeoPoint point;
            if (ParsePositionValue(value, point)) return TRoutePoint{point, i, false};
            route.BadPositions.push_back({i, value});
            return std::nullopt;
        };
        auto base = [&](const std::string& name) -> std::optional<TRoutePoint> {
            if (const TBase* found = FindBaseByTitle(bases, name)) return TRoutePoint{found->Location, i, true};
            route.UnknownBases.push_back({i, name});
            return std::nullopt;
        };
        switch (ClassifyCaseLine(line)) {
        case TCaseLineKind::LL:
            if (!ValueOf(line, "LL").empty()) {
                if (auto point = position("LL")) route.Start = point;
            }
            break;
        case TCaseLineKind::Location: {
            const std::string name = ValueOf(line, "LOCATION");
            if (!name.empty()) {
                if (auto point = base(name)) route.Start = point;
            }
            break;
        }
        case TCaseLineKind::CWPI:
            route.CWPI = platform::StrToIntDef(ValueOf(line, "CWPI"), 0);
            route.CWPILine = i;
            break;
        case TCaseLineKind::WP:
            if (auto point = position("WP")) route.Waypoints.push_back(*point);
            break;
        case TCaseLineKind::TP:
            if (auto point = position("TP")) route.Targets.push_back(*point);
            break;
        case TCaseLineKind::Target:
            if (auto point = base(ValueOf(line))) route.Targets.push_back(*point);
            break;
        case TCaseLineKind::Origin:
            if (auto point = base(ValueOf(line))) route.Waypoints.push_back(*point);
            break;
        default:
            break;
        }
    }
    return route;
}

}  // namespace scenario
