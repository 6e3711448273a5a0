#pragma once
// How a force sails a case's route on the scenario clock: it waits at its start until the
// scenario start plus the case's delay, then sails leg by leg on the great circle, each leg taking
// the whole hours the arrival labels count for it (LegHours at the force's current speed), moving
// uniformly along the leg within those hours. A force below 1 knot stays at its start. Times are
// whole minutes after the scenario start.

#include <cstdint>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "scenario/TimelineRoute.h"

namespace scenario {

struct TVoyageLeg {
  globe::TGeoPoint From, To;
  std::int64_t StartMinute = 0;
  std::int64_t Minutes = 0;  // whole hours as minutes; 0 for a leg of no length in time
};

struct TVoyagePosition {
  globe::TGeoPoint Point;
  std::int32_t Heading = 0;  // compass degrees 0..359
  bool Waiting = false;      // before the departure, or below 1 knot
  bool Arrived = false;      // after the last arrival
};

class TVoyage {
 public:
  TVoyage(const TTimelineRoute& route, std::int32_t speed);

  bool Moves() const { return Moves_; }
  std::int64_t DepartMinute() const { return DepartMinute_; }
  const std::vector<TVoyageLeg>& Legs() const { return Legs_; }

  // Where the force is at minute m of a leg (0..Minutes).
  static globe::TGeoPoint PointOnLeg(const TVoyageLeg& leg, std::int64_t m);
  // Where the force is, and which way it heads, at a minute after the scenario start.
  TVoyagePosition PositionAt(std::int64_t minute) const;

 private:
  bool Moves_ = false;
  std::int64_t DepartMinute_ = 0;
  std::vector<TVoyageLeg> Legs_;
};

}  // namespace scenario
