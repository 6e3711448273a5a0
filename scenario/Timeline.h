#pragma once
// The dry run of a scenario: every force sailing each of its cases on the scenario clock (see
// Voyage.h), with what happens on the way in time order: the departure, the arrival at each
// waypoint and target, and each entering and leaving of an area of the other side
// (ExposureArea.h), crossings found to the minute; each with the daylight at its place and time.

#include <cstdint>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "scenario/DayPhase.h"
#include "scenario/ExposureArea.h"
#include "scenario/Voyage.h"

namespace globe {
class TCustomVoduz4;
}

namespace scenario {

class TForce;
class TScenarioState;

enum class TEventKind : std::uint8_t { Depart, Arrive, Enter, Leave };

// "depart", "arrive", "enter", "leave".
const char* EventKindName(TEventKind kind);

// Where an event happens: at the start (no area), a waypoint or target, or an area's edge.
enum class TEventPlace : std::uint8_t { Start, Waypoint, Target, Recon, Strike, Minefield, Subzone };

// "waypoint", "target", the area kinds' names; empty for the start.
const char* EventPlaceName(TEventPlace place);

struct TTimelineEvent {
  std::string Force;  // the force's title
  std::int32_t Side = 0;
  int Case = 1;
  std::int64_t Minute = 0;  // after the scenario start
  TEventKind Kind = TEventKind::Depart;
  TEventPlace Place = TEventPlace::Start;
  std::string Name;  // the base's or zone's title, or the place's line
  globe::TGeoPoint At;
  TDayPhase Phase = dpNone;
};

// A force's sailing of one case.
struct TCaseVoyage {
  std::string Force;
  std::int32_t Side = 0;
  TTimelineRoute Route;
  TVoyage Voyage;
};

// Every case with a route of every force, forces in load order.
std::vector<TCaseVoyage> ScenarioVoyages(const TScenarioState& state);

// One case per force, forces in load order, as the editor plays them: the selected force's
// shown case, every other force's case that the load chose for it (the one the map shows).
// A force whose case has no route is left out.
std::vector<TCaseVoyage> PlayedVoyages(const TScenarioState& state, const TForce* selected, int shownCase);

// The minute of the last arrival of the voyages (0 when none sails).
std::int64_t LastArrivalMinute(const std::vector<TCaseVoyage>& voyages);

// The events of one case against the areas of the side other than the force's, in time order.
// `start` is the scenario start as a date-time (for the daylight).
std::vector<TTimelineEvent> CaseTimeline(const TCaseVoyage& voyage, const std::vector<TExposureArea>& areas, double start);

// The events of the voyages in time order (events of the same minute in voyage order).
std::vector<TTimelineEvent> VoyagesTimeline(const std::vector<TCaseVoyage>& voyages,
                                            const std::vector<TExposureArea>& areas, double start);

// The events of every case in time order (events of the same minute in force and case order).
std::vector<TTimelineEvent> ScenarioTimeline(const TScenarioState& state, globe::TCustomVoduz4& globe);

// The date-time of a minute after the start.
double MinuteTime(double start, std::int64_t minute);

}  // namespace scenario
