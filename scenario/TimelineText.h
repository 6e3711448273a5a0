#pragma once
// The dry run written out: one line an event ("201430  Force A1 (case 1): enters strike range of
// Maleme (day)"), the events as JSON, and where every force is at a given time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/JsonText.h"
#include "scenario/Timeline.h"

namespace scenario {

// What happens, in words: "enters strike range of Maleme", "arrives at waypoint WP=...".
std::string TimelineEventWords(const TTimelineEvent& event);

// The event's line, with its line end. `start` is the scenario start as a date-time.
std::string TimelineEventLine(const TTimelineEvent& event, double start);

// {"events": [...]}: per event force, side, case, time (ISO, "1941-05-20T14:30"), ddhhmm, kind,
// area (null at the start), name, lat, lon (degrees) and phase (null when unknown).
TJson TimelineJson(const std::vector<TTimelineEvent>& events, double start);

// The minutes after the start of the first time at or after the start (within a year) whose day of
// the month, hour and minute are those of a "DDHHMM" text; none for a text that is not one.
std::optional<std::int64_t> MinuteOfTimeGroup(double start, std::string_view timeGroup);

// One line a case: "201430  Force A1 (case 1): at 3530N 02310E heading 275 (night)", "waiting at"
// before its departure (or below 1 knot), "arrived at" after its last arrival.
std::string PositionsText(const std::vector<TCaseVoyage>& voyages, double start, std::int64_t minute);

}  // namespace scenario
