#include "scenario/ScenarioDrawing.h"

#include "scenario/FindingMarks.h"
#include "scenario/Force.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ViewMapPainter.h"

namespace scenario {

void DrawScenarioOnView(globe::TVoduz4& view, const std::vector<TBase*>& bases, const TShownCase& shown,
                        const std::vector<TLintFinding>& findings)
{
  DrawBasesOnView(bases, view);
  if (shown.Cases != nullptr) {
    TRouteDrawing routes(view, *shown.Cases);
    routes.CurrentCase = shown.Case;
    routes.SelectedPoint = shown.SelectedPoint;
    routes.CurrentSpeed = shown.Force != nullptr ? shown.Force->CurrentSpeed : 0;
    routes.StartTime = shown.StartTime;
    routes.OneHour = shown.OneHour;
    routes.DrawRoutes();
  }
  DrawFindingMarks(view, findings, shown.Force);
}

}  // namespace scenario
