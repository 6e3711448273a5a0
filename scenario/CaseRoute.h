#pragma once
// The positions of one case as the checks see them: each with the index of the line it stands
// on, whether it is a base, and the lines whose base or position cannot be read.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "platform/TextLines.h"

namespace scenario {

class TBase;

struct TRoutePoint {
    globe::TGeoPoint Point;
    std::size_t Line = 0;  // index in the side's lines
    bool AtBase = false;   // a base's location ("LOCATION", "Target=", "Origin=")
};

// A line naming a base that is not loaded, or a position that cannot be read.
struct TRouteLineProblem {
    std::size_t Line = 0;
    std::string Text;  // the base name or the position text
};

struct TCaseRoute {
    std::optional<TRoutePoint> Start;  // "LL" or "LOCATION"; the last one wins
    std::vector<TRoutePoint> Waypoints;  // "WP=" and "Origin=" in order
    std::vector<TRoutePoint> Targets;    // "TP=" and "Target=" in order
    std::int32_t CWPI = 0;
    std::optional<std::size_t> CWPILine;
    std::vector<TRouteLineProblem> UnknownBases;
    std::vector<TRouteLineProblem> BadPositions;
};

// Reads lines first .. end - 1 of a case with the tests of the case reader (ClassifyCaseLine);
// nothing is reported and reading never stops early.
TCaseRoute ReadCaseRoute(const platform::TextLines& lines, std::size_t first, std::size_t end,
                         const std::vector<TBase*>& bases);

}  // namespace scenario
