#pragma once
// Daylight at a point and time, for colouring a route's arrival-time labels: a simple solar
// model (declination from the days since the last winter solstice, the sun over 180 degrees at
// midnight and over 0 degrees at noon, moving west) and the angle between the point and the
// point under the sun.
#include <cstdint>
#include <optional>

#include "globe/data/GeoTypes.h"

namespace globe {
class TGlobeProjection;
}

namespace scenario {

enum TDayPhase : std::uint8_t { dpNone, dpDay, dpTwilight, dpNight };

// The point under the sun at a date-time (Height 0), or nothing for a date-time outside the
// years 2..9999 (no previous winter solstice to count from).
std::optional<globe::TGeoPoint> SubSolarPoint(double time);

// Day when the sun is above the horizon at the point, twilight while it is less than about six
// degrees below it, night below that; none when the time has no sun position. Any point has a
// phase, whether a window shows it or not.
TDayPhase DayPhase(const globe::TGeoPoint& point, double time);

// The phase of a point as the window shows it: the point taken through the window and back (the
// arrival labels are coloured so); none when it does not come back from the window.
TDayPhase DayPhase(const globe::TGlobeProjection& projection, const globe::TGeoPoint& point, double time);

// "day", "twilight", "night"; empty for none.
const char* DayPhaseName(TDayPhase phase);

}  // namespace scenario
