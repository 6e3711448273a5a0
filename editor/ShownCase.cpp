#include "editor/ShownCase.h"

#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "scenario/CaseParser.h"
#include "scenario/Force.h"
#include "scenario/MissionCases.h"

namespace editor {

scenario::TCaseTiming TShownCase::Timing()
{
  scenario::TCaseTiming timing;
  if (Force() == nullptr || CaseNumber() < 1 || CaseNumber() > scenario::kCaseCount) return timing;
  timing.Delay = Cases().CaseDelay[static_cast<std::size_t>(CaseNumber() - 1)];
  timing.Speed = Force()->CurrentSpeed;
  return timing;
}

std::vector<scenario::TRouteLeg> TShownCase::Legs()
{
  if (Force() == nullptr) return {};
  return scenario::RouteLegs(Cases(), CaseNumber());
}

std::optional<int> TShownCase::MarkRow(const scenario::TRoutePointRef& mark) const
{
  const platform::TextLines lines = Lines();
  if (lines.empty()) return std::nullopt;
  const auto row = scenario::RouteMarkLine(lines, 1, scenario::CaseLinesEnd(lines, 1), mark);
  if (!row) return std::nullopt;
  return static_cast<int>(*row);
}

std::string TShownCase::Line(int row) const
{
  const platform::TextLines lines = Lines();
  return row >= 0 && static_cast<std::size_t>(row) < lines.size() ? lines[static_cast<std::size_t>(row)] : std::string();
}

QString RouteTooltipAt(TShownCase& shown, globe::TVoduz4& view, const platform::RegionalSettings& regional, int x, int y)
{
  const std::vector<scenario::TRouteLeg> legs = shown.Legs();
  const scenario::TRouteHit hit = scenario::HitTestRoute(legs, ViewProjector(view), {x, y}, HitTolerance(view));
  std::size_t index = hit.Leg;
  if (hit.Kind == scenario::TRouteHitKind::None) return {};
  if (hit.Kind == scenario::TRouteHitKind::Mark) {
    for (index = 0; index < legs.size() && !(legs[index].ToRef == hit.Mark); ++index) {
    }
    if (index == legs.size()) return {};
  }
  scenario::TLegTooltip tip = scenario::LegTooltipOf(legs, index, shown.Timing(), view.Projection());
  if (const auto row = shown.MarkRow(tip.Leg.ToRef)) tip.LineText = shown.Line(*row);
  if (hit.Kind == scenario::TRouteHitKind::Leg) {
    const auto from = shown.MarkRow(tip.Leg.FromRef);
    tip.FromLineText = from ? shown.Line(*from) : "the start";
  }
  return QString::fromStdString(scenario::LegTooltipText(tip, regional));
}

scenario::TDeviceProjector ViewProjector(globe::TVoduz4& view)
{
  return [&view](const globe::TGeoPoint& point, platform::TPoint& xy) {
    return view.Projection().PointLLToDeviceXY(point, xy);
  };
}

int HitTolerance(const globe::TVoduz4& view) { return view.DevicePixels(scenario::kRouteHitPixels); }

}  // namespace editor
