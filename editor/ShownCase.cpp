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

scenario::TDeviceProjector ViewProjector(globe::TVoduz4& view)
{
  return [&view](const globe::TGeoPoint& point, platform::TPoint& xy) {
    return view.Projection().PointLLToDeviceXY(point, xy);
  };
}

int HitTolerance(const globe::TVoduz4& view) { return view.DevicePixels(scenario::kRouteHitPixels); }

}  // namespace editor
