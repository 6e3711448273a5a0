#pragma once
// The route a force's case sails in the dry run: its start, then the end of every leg the map
// draws, each with the line that gives it, and the case's delay. Built from the case as the map
// parses it, in one place.

#include <cstdint>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "scenario/RouteLegs.h"

namespace scenario {

class TForce;
class TScenarioState;

struct TRoutePlace {
  globe::TGeoPoint Point;
  TRouteMark Kind = TRouteMark::Start;
  std::string Line;  // the trimmed line that gives the place ("WP=...", "Target=Maleme"); may be empty for the start
};

struct TTimelineRoute {
  int Case = 1;
  std::int32_t DelayHours = 0;
  std::vector<TRoutePlace> Places;  // the start, then each leg's end in route order; at least two
};

// The routes of the force's cases 1..6 that have one (a case without waypoints, or whose current
// waypoint lies outside them, has none), read from its side's lines as the map reads them.
std::vector<TTimelineRoute> ForceTimelineRoutes(const TScenarioState& state, const TForce& force);

}  // namespace scenario
