#include "scenario/TimelineRoute.h"

#include "platform/QuietDialogs.h"
#include "scenario/CaseLineKind.h"
#include "scenario/CaseParser.h"
#include "scenario/Force.h"
#include "scenario/ForceCases.h"
#include "scenario/MissionCases.h"
#include "scenario/MissionLines.h"
#include "scenario/ScenarioState.h"

namespace scenario {

namespace {

// The last "LL=" or "LOCATION=" line of the case: the one that sets its start.
std::string StartLine(const platform::TextLines& lines, const TLineRange& range)
{
  std::string line;
  for (std::size_t i = range.First; i < range.End && i < lines.size(); ++i) {
    const TCaseLineKind kind = ClassifyCaseLine(lines[i]);
    if (kind == TCaseLineKind::LL || kind == TCaseLineKind::Location) line = Trimmed(lines[i]);
  }
  return line;
}

}  // namespace

std::vector<TTimelineRoute> ForceTimelineRoutes(const TScenarioState& state, const TForce& force)
{
  std::vector<TTimelineRoute> routes;
  const platform::TextLines& lines = state.SideLines[force.Side == 0 ? 0 : 1];
  const std::optional<std::size_t> nameLine = FindForceNameLine(lines, force.Title());
  if (!nameLine) return routes;
  // The load has shown what the case lines say wrong already: the dry run shows nothing again.
  platform::QuietDialogs quiet;
  TForceCases cases;
  for (int n = 1; n <= kCaseCount; ++n) {
    const std::optional<TLineRange> range = LocateCase(lines, *nameLine, n);
    if (!range) continue;
    ParseCase(lines, range->First, range->End, n, cases, state.BaseList, quiet);
    const std::vector<TRouteLeg> legs = RouteLegs(cases, n);
    if (legs.empty()) continue;
    TTimelineRoute route{n, cases.CaseDelay[static_cast<std::size_t>(n - 1)], {}};
    route.Places.push_back({legs.front().From, TRouteMark::Start, StartLine(lines, *range)});
    for (const TRouteLeg& leg : legs) {
      const std::optional<std::size_t> line = RouteMarkLine(lines, range->First, range->End, leg.ToRef);
      route.Places.push_back({leg.To, leg.ToRef.Kind, line ? std::string(Trimmed(lines[*line])) : std::string()});
    }
    routes.push_back(std::move(route));
  }
  return routes;
}

}  // namespace scenario
