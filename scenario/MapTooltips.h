#pragma once
// The texts the map shows when the mouse rests on a route leg or a waypoint, or when a base is
// clicked. Lines are separated by "\n".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegionalSettings.h"
#include "scenario/DayPhase.h"
#include "scenario/RouteLegs.h"

namespace globe {
class TGlobeProjection;
}

namespace scenario {

class TBase;

// Hours from the case's start (its delay included) to the end of leg `index`, counted as the
// arrival times on the map are; none for an untimed leg or an index beyond the legs.
std::optional<std::int32_t> LegArrivalHours(const std::vector<TRouteLeg>& legs, std::size_t index,
                                            std::int32_t delay, std::int32_t speed);

struct TLegTooltip {
  std::string LineText;   // the case line of the leg's end
  // For a leg rather than its end mark: the case line it starts from ("the start" when it starts
  // at the force's start without a line of its own); empty for a mark.
  std::string FromLineText;
  TRouteLeg Leg;
  std::int32_t Speed = 0;                  // knots
  std::optional<std::int32_t> Arrival;     // hours from the start time, if timed
  double StartTime = 0;
  double OneHour = 1.0 / 24.0;
  TDayPhase Phase = dpNone;                // at the leg's end at the arrival time
};

// "WP=3510N 02400E", "Leg: 123.4 Nm, course 045.0 deg", "12 h at 10 kn", "Arrival: 150830 (day)";
// for a leg the first line is "Leg from WP=3500N 02250E to WP=3510N 02400E".
std::string LegTooltipText(const TLegTooltip& tip, const platform::RegionalSettings& regional);

// What a case's arrival times count from.
struct TCaseTiming {
  std::int32_t Delay = 0;  // hours, the case's own
  std::int32_t Speed = 0;  // knots, the force's
  double StartTime = 0;
  double OneHour = 1.0 / 24.0;
};

// Leg `index` of the legs (below their count) with its speed, arrival and the daylight there as
// the window shows it; the line texts are the caller's.
TLegTooltip LegTooltipOf(const std::vector<TRouteLeg>& legs, std::size_t index, const TCaseTiming& timing,
                         const globe::TGlobeProjection& projection);

// While a route point is dragged: the line it would get, then the leg into it and the leg out of
// it ("Leg in: 123.4 Nm, course 045.0 deg, arrival 150830 (day)", "Leg out: ..."), figured as
// the leg tooltips are; a point at an end of the route has one of them, a point off the route
// none.
std::string DragReadoutText(const std::string& lineText, const std::vector<TRouteLeg>& legs, const TRoutePointRef& point,
                            const TCaseTiming& timing, const globe::TGlobeProjection& projection,
                            const platform::RegionalSettings& regional);

// "Suda Bay", "Allied port", "Mines: 5 Nm", "Recon range: 120 Nm", "Strike range: 200 Nm".
std::string BaseTooltipText(const TBase& base);

}  // namespace scenario
