#pragma once
// The legs of one case's route in the order the map draws them: from the case's start to its
// current waypoint, on through the later waypoints, to the first target point (these legs are
// timed), then from target to target (untimed). Waypoints before the current one are not part
// of the route. Drawing, hit tests and leg tooltips share this one walk.
#include <cstdint>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "scenario/ForceCases.h"

namespace scenario {

enum class TRouteMark : std::uint8_t { Start, Waypoint, Target };

// A point of a case's route: its start, or the index-th point of its waypoints or targets.
struct TRoutePointRef {
  TRouteMark Kind = TRouteMark::Start;
  std::int32_t Index = 0;
  friend bool operator==(const TRoutePointRef&, const TRoutePointRef&) = default;
};

struct TRouteLeg {
  globe::TGeoPoint From, To;
  TRoutePointRef FromRef, ToRef;
  bool Timed = false;  // an arrival time is written at its end (current case only)
};

// The legs of case n (1..6); none when the case has no waypoint or its current waypoint index
// lies outside its waypoints.
std::vector<TRouteLeg> RouteLegs(const TForceCases& cases, int n);

}  // namespace scenario
