#pragma once
// What "the whole scenario" and "a force's routes" cover on the map: the points a view must
// show to see them, and whether a view shows the scenario well enough to open on it.
#include <cstdint>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "scenario/ForceCases.h"

namespace globe {
class TCustomVoduz4;
class TGlobeProjection;
}

namespace scenario {

class TForce;
class TScenarioState;

// Every base, every force and every point of the submarine zones' outlines.
std::vector<globe::TGeoPoint> ScenarioExtentPoints(const TScenarioState& state, globe::TCustomVoduz4& globe);

// The force's position and the start, waypoints and targets of each of its parsed cases.
std::vector<globe::TGeoPoint> ForceRoutePoints(TForce* force, const TForceCases& cases);

// Whether a window of width x height pixels sees the scenario: every point is in it and the
// points span at least half its width or height. A scenario of no points is always seen.
bool WindowShowsScenario(const globe::TGlobeProjection& projection, std::int32_t width, std::int32_t height,
                         const std::vector<globe::TGeoPoint>& points);

}  // namespace scenario
