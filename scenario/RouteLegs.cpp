#include "scenario/RouteLegs.h"

namespace scenario {

std::vector<TRouteLeg> RouteLegs(const TForceCases& cases, int n)
{
  std::vector<TRouteLeg> legs;
  if (n < 1 || n > kCaseCount) return legs;
  const std::size_t i = static_cast<std::size_t>(n - 1);
  const globe::TPointStore& waypoints = cases.CaseWaypoints[i];
  const globe::TPointStore& targets = cases.CaseTargets[i];
  const std::int32_t first = cases.CaseCWPI[i];
  if (first < 0 || first >= waypoints.Count()) return legs;
  const auto waypoint = [](std::int32_t j) { return TRoutePointRef{TRouteMark::Waypoint, j}; };
  const auto target = [](std::int32_t j) { return TRoutePointRef{TRouteMark::Target, j}; };
  legs.push_back({cases.CaseStart[i], waypoints.Point(first), TRoutePointRef{}, waypoint(first), true});
  for (std::int32_t j = first + 1; j < waypoints.Count(); ++j)
    legs.push_back({waypoints.Point(j - 1), waypoints.Point(j), waypoint(j - 1), waypoint(j), true});
  if (targets.Count() == 0) return legs;
  const std::int32_t last = waypoints.Count() - 1;
  legs.push_back({waypoints.Point(last), targets.Point(0), waypoint(last), target(0), true});
  for (std::int32_t j = 1; j < targets.Count(); ++j)
    legs.push_back({targets.Point(j - 1), targets.Point(j), target(j - 1), target(j), false});
  return legs;
}

}  // namespace scenario
