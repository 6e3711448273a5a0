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

// "123.4 Nm, course 45.0 deg": the leg's great-circle length and its true course.
std::string LegFigures(const TRouteLeg& leg, const platform::RegionalSettings& regional)
{
  const auto fixed = [&regional](long double value) {
    return platform::FormatFixed(value, kPrecision, kDecimals, regional);
  };
  const long double miles =
      globe::GreatCircleDistance(leg.From, leg.To) / static_cast<long double>(globe::GlobeUnitsPerMinute);
  // Bearings grow westward: the true course is clockwise from north.
  long double course = -globe::InitialBearing(leg.From, leg.To) / static_cast<long double>(globe::GlobeUnitsPerDegree);
  if (course < 0) course += 360;
  if (course == 0) course = 0;
  return fixed(miles) + " Nm, course " + fixed(course) + " deg";
}

// "150830 (day)": the arrival at the leg's end; empty for an untimed leg or one beyond the
// calendar.
std::string ArrivalText(const TLegTooltip& tip)
{
  if (!tip.Arrival) return {};
  std::string text;
  try {
    text = FormatTimeGroup(tip.StartTime + *tip.Arrival * tip.OneHour);
  } catch (const platform::EConvertError&) {
    return {};
  }
  if (tip.Phase != dpNone) text += std::string(" (") + DayPhaseName(tip.Phase) + ")";
  return text;
}

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
  const std::string head = tip.FromLineText.empty() ? tip.LineText
                                                    : "Leg from " + tip.FromLineText + " to " + tip.LineText;
  std::string text = head + "\nLeg: " + LegFigures(tip.Leg, regional) + "\n" +
                     std::to_string(LegHours(tip.Leg.From, tip.Leg.To, tip.Speed)) + " h at " +
                     std::to_string(tip.Speed) + " kn";
  const std::string arrival = ArrivalText(tip);
  return arrival.empty() ? text : text + "\nArrival: " + arrival;
}

TLegTooltip LegTooltipOf(const std::vector<TRouteLeg>& legs, std::size_t index, const TCaseTiming& timing,
                         const globe::TGlobeProjection& projection)
{
  TLegTooltip tip;
  tip.Leg = legs.at(index);
  tip.Speed = timing.Speed;
  tip.Arrival = LegArrivalHours(legs, index, timing.Delay, timing.Speed);
  tip.StartTime = timing.StartTime;
  tip.OneHour = timing.OneHour;
  if (tip.Arrival) tip.Phase = DayPhase(projection, tip.Leg.To, tip.StartTime + *tip.Arrival * tip.OneHour);
  return tip;
}

std::string DragReadoutText(const std::string& lineText, const std::vector<TRouteLeg>& legs, const TRoutePointRef& point,
                            const TCaseTiming& timing, const globe::TGlobeProjection& projection,
                            const platform::RegionalSettings& regional)
{
  std::string text = lineText;
  for (const bool into : {true, false}) {
    for (std::size_t i = 0; i < legs.size(); ++i) {
      if (!((into ? legs[i].ToRef : legs[i].FromRef) == point)) continue;
      const TLegTooltip tip = LegTooltipOf(legs, i, timing, projection);
      const std::string arrival = ArrivalText(tip);
      text += std::string(into ? "\nLeg in: " : "\nLeg out: ") + LegFigures(tip.Leg, regional) +
              (arrival.empty() ? "" : ", arrival " + arrival);
      break;
    }
  }
  return text;
}

std::string BaseTooltipText(const TBase& base)
{
  return base.Title() + "\n" + (base.Side == 0 ? "Axis " : "Allied ") + (base.IsPort() ? "port" : "airfield") +
         "\nMines: " + Miles(base.Mines) + " Nm\nRecon range: " + Miles(base.ReconRange) +
         " Nm\nStrike range: " + Miles(base.StrikeRange) + " Nm";
}

}  // namespace scenario
