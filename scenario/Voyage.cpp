#include "scenario/Voyage.h"

#include <algorithm>
#include <cmath>

#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/GreatCirclePath.h"
#include "scenario/RouteDrawing.h"

namespace scenario {

namespace {

constexpr std::int64_t kMinutesPerHour = 60;
// The course at a point is taken over this fraction of the leg on either side of it.
constexpr long double kCourseSpan = 1e-3L;

// Compass degrees (clockwise from north) of the course at fraction f of the great circle.
std::int32_t CourseAt(const TVoyageLeg& leg, long double f)
{
  const long double before = std::max(0.0L, f - kCourseSpan);
  const long double after = std::min(1.0L, f + kCourseSpan);
  const globe::TGeoPoint a = globe::GreatCirclePoint(leg.From, leg.To, before);
  const globe::TGeoPoint b = globe::GreatCirclePoint(leg.From, leg.To, after);
  if (a == b) return 0;
  // The engine's bearing grows toward the west.
  const long double degrees = -static_cast<long double>(globe::InitialBearing(a, b)) / globe::GlobeUnitsPerDegree;
  const auto whole = static_cast<std::int32_t>(std::lround(degrees));
  return ((whole % 360) + 360) % 360;
}

long double Fraction(const TVoyageLeg& leg, std::int64_t m)
{
  if (leg.Minutes <= 0) return 1;
  return static_cast<long double>(m) / static_cast<long double>(leg.Minutes);
}

}  // namespace

TVoyage::TVoyage(const TTimelineRoute& route, std::int32_t speed)
    : Moves_(speed >= 1), DepartMinute_(std::int64_t{route.DelayHours} * kMinutesPerHour)
{
  std::int64_t minute = DepartMinute_;
  for (std::size_t i = 1; i < route.Places.size(); ++i) {
    const globe::TGeoPoint& from = route.Places[i - 1].Point;
    const globe::TGeoPoint& to = route.Places[i].Point;
    const std::int64_t minutes = Moves_ ? std::int64_t{LegHours(from, to, speed)} * kMinutesPerHour : 0;
    Legs_.push_back({from, to, minute, minutes});
    minute += minutes;
  }
}

globe::TGeoPoint TVoyage::PointOnLeg(const TVoyageLeg& leg, std::int64_t m)
{
  // A leg of no hours is sailed at once.
  if (m >= leg.Minutes) return leg.To;
  if (m <= 0) return leg.From;
  return globe::GreatCirclePoint(leg.From, leg.To, Fraction(leg, m));
}

TVoyagePosition TVoyage::PositionAt(std::int64_t minute) const
{
  if (Legs_.empty()) return {};
  const TVoyageLeg& first = Legs_.front();
  if (!Moves_ || minute < DepartMinute_) return {first.From, CourseAt(first, 0), true, false};
  for (const TVoyageLeg& leg : Legs_) {
    const std::int64_t m = minute - leg.StartMinute;
    if (m < leg.Minutes) return {PointOnLeg(leg, m), CourseAt(leg, Fraction(leg, m)), false, false};
  }
  const TVoyageLeg& last = Legs_.back();
  return {last.To, CourseAt(last, 1), false, true};
}

}  // namespace scenario
