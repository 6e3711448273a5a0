#include "scenario/TimelineText.h"

#include <cmath>
#include <cstdio>

#include "globe/data/GlobeUnits.h"
#include "platform/ConvertError.h"
#include "platform/DateTime.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioTime.h"

namespace scenario {

namespace {

constexpr long double kMinutesPerDay = 1440;
constexpr int kMonthsAhead = 12;
// Degrees are written to a ten-thousandth (about 10 metres).
constexpr long double kDegreeSteps = 10'000;

// "DDHHMM" of a date-time; dashes beyond the calendar.
std::string TimeGroupOrDashes(double time)
{
  try {
    return FormatTimeGroup(time);
  } catch (const platform::EConvertError&) {
    return "------";
  }
}

TJson IsoTime(double time)
{
  try {
    const platform::DateTimeParts parts = platform::DecodeDateTime(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d", parts.year, parts.month, parts.day, parts.hour,
                  parts.minute);
    return text;
  } catch (const platform::EConvertError&) {
    return nullptr;
  }
}

TJson Degrees(std::int32_t gu)
{
  const long double steps = std::nearbyint(gu / static_cast<long double>(globe::GlobeUnitsPerDegree) * kDegreeSteps);
  // + 0 writes a value that rounds to -0 as 0.
  return JsonNumber(static_cast<double>(steps / kDegreeSteps + 0.0L));
}

std::string CaseLead(double start, std::int64_t minute, const std::string& force, int n)
{
  return TimeGroupOrDashes(MinuteTime(start, minute)) + "  " + force + " (case " + std::to_string(n) + "): ";
}

std::string PhaseSuffix(TDayPhase phase)
{
  return phase == dpNone ? std::string() : std::string(" (") + DayPhaseName(phase) + ")";
}

std::string AreaWords(TEventPlace place, const std::string& name)
{
  switch (place) {
    case TEventPlace::Recon: return "reconnaissance sector of " + name;
    case TEventPlace::Strike: return "strike range of " + name;
    case TEventPlace::Minefield: return "minefield of " + name;
    default: return "submarine zone " + name;
  }
}

}  // namespace

std::string TimelineEventWords(const TTimelineEvent& event)
{
  switch (event.Kind) {
    case TEventKind::Depart: return event.Name.empty() ? "departs" : "departs from " + event.Name;
    case TEventKind::Arrive:
      return std::string("arrives at ") + EventPlaceName(event.Place) + (event.Name.empty() ? "" : " " + event.Name);
    case TEventKind::Enter: return "enters " + AreaWords(event.Place, event.Name);
    default: return "leaves " + AreaWords(event.Place, event.Name);
  }
}

namespace {

int Digits(std::string_view text)
{
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::string TimelineEventLine(const TTimelineEvent& event, double start)
{
  return CaseLead(start, event.Minute, event.Force, event.Case) + TimelineEventWords(event) + PhaseSuffix(event.Phase) + "\n";
}

TJson TimelineJson(const std::vector<TTimelineEvent>& events, double start)
{
  TJson list = TJson::array();
  for (const TTimelineEvent& event : events) {
    const double time = MinuteTime(start, event.Minute);
    TJson entry;
    entry["force"] = JsonText(event.Force);
    entry["side"] = event.Side;
    entry["case"] = event.Case;
    entry["time"] = IsoTime(time);
    entry["ddhhmm"] = TimeGroupOrDashes(time);
    entry["kind"] = EventKindName(event.Kind);
    entry["area"] = event.Place == TEventPlace::Start ? TJson(nullptr) : TJson(EventPlaceName(event.Place));
    entry["name"] = JsonText(event.Name);
    entry["lat"] = Degrees(event.At.LatY);
    entry["lon"] = Degrees(event.At.LongX);
    entry["phase"] = event.Phase == dpNone ? TJson(nullptr) : TJson(DayPhaseName(event.Phase));
    list.push_back(std::move(entry));
  }
  TJson document;
  document["events"] = std::move(list);
  return document;
}

std::optional<std::int64_t> MinuteOfTimeGroup(double start, std::string_view timeGroup)
{
  if (timeGroup.size() != 6 || timeGroup.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const int day = Digits(timeGroup.substr(0, 2));
  const int hour = Digits(timeGroup.substr(2, 2));
  const int minute = Digits(timeGroup.substr(4, 2));
  if (day < 1 || day > 31 || hour > 23 || minute > 59) return std::nullopt;
  try {
    const platform::DateTimeParts from = platform::DecodeDateTime(start);
    for (int ahead = 0; ahead <= kMonthsAhead; ++ahead) {
      const int months = from.month - 1 + ahead;
      const int year = from.year + months / 12;
      const int month = months % 12 + 1;
      if (day > platform::DaysInMonth(year, month)) continue;
      const double at = platform::EncodeDate(year, month, day) + (hour * 60 + minute) / static_cast<double>(kMinutesPerDay);
      const auto minutes = static_cast<std::int64_t>(std::llround((at - start) * kMinutesPerDay));
      if (minutes >= 0) return minutes;
    }
  } catch (const platform::EConvertError&) {
  }
  return std::nullopt;
}

std::string PositionsText(const std::vector<TCaseVoyage>& voyages, double start, std::int64_t minute)
{
  std::string text;
  const double time = MinuteTime(start, minute);
  for (const TCaseVoyage& voyage : voyages) {
    const TVoyagePosition at = voyage.Voyage.PositionAt(minute);
    const char* where = at.Waiting ? "waiting at " : at.Arrived ? "arrived at " : "at ";
    text += CaseLead(start, minute, voyage.Force, voyage.Route.Case) + where + FormatPosition(at.Point, false) +
            " heading " + std::to_string(at.Heading) + PhaseSuffix(DayPhase(at.Point, time)) + "\n";
  }
  return text;
}

}  // namespace scenario
