#include "scenario/MapTooltips.h"

#include <optional>

#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "platform/ConvertError.h"
#include "platform/FloatText.h"
#include "scenario/Base.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ScenarioTime.h"

namespace scenario {

namespace {

// Numbers with one decimal, at most 7 significant digits, as the status bar writes them.
constexpr int kPrecision = 7;
constexpr int kDecimals = 1;

std::string Miles(std::int32_t gu) { return std::to_string(globe::RoundToInt(gu / static_cast<long double>(globe::GlobeUnitsPerMinute))); }

}  // namespace

std::optional<std::int32_t> LegArrivalHours(const std::vector<TRouteLeg>& legs, std::size_t index,
                                            std::int32_t delay, std::int32_t speed)
{
  if (index >= legs.size() || !legs[index].Timed) return std::nullopt;
  std::int32_t hours = delay;
  for (std::size_t i = 0; i <= index; ++i)
    if (legs[i].Timed) hours = globe::Wrap32(std::int64_t{hours} + LegHours(legs[i].From, legs[i].To, speed));
  return hours;
}

std::string LegTooltipText(const TLegTooltip& tip, const platform::RegionalSettings& regional)
{
  const auto fixed = [&regional](long double value) {
    return platform::FormatFixed(value, kPrecision, kDecimals, regional);
  };
  const long double miles =
      globe::GreatCircleDistance(tip.Leg.From, tip.Leg.To) / static_cast<long double>(globe::GlobeUnitsPerMinute);
  // Bearings grow westward: the true course is clockwise from north.
  long double course = -globe::InitialBearing(tip.Leg.From, tip.Leg.To) / static_cast<long double>(globe::GlobeUnitsPerDegree);
  if (course < 0) course += 360;
  if (course == 0) course = 0;
  const std::string head = tip.FromLineText.empty() ? tip.LineText
                                                    : "Leg from " + tip.FromLineText + " to " + tip.LineText;
  std::string text = head + "\nLeg: " + fixed(miles) + " Nm, course " + fixed(course) + " deg\n" +
                     std::to_string(LegHours(tip.Leg.From, tip.Leg.To, tip.Speed)) + " h at " +
                     std::to_string(tip.Speed) + " kn";
  if (!tip.Arrival) return text;
  try {
    text += "\nArrival: " + FormatTimeGroup(tip.StartTime + *tip.Arrival * tip.OneHour);
  } catch (const platform::EConvertError&) {
    return text;  // beyond the calendar
  }
  if (tip.Phase != dpNone) text += std::string(" (") + DayPhaseName(tip.Phase) + ")";
  return text;
}

std::string BaseTooltipText(const TBase& base)
{
  return base.Title() + "\n" + (base.Side == 0 ? "Axis " : "Allied ") + (base.IsPort() ? "port" : "airfield") +
         "\nMines: " + Miles(base.Mines) + " Nm\nRecon range: " + Miles(base.ReconRange) +
         " Nm\nStrike range: " + Miles(base.StrikeRange) + " Nm";
}

}  // namespace scenario
