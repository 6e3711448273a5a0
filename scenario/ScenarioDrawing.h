#pragma once
// The scenario's own drawing inside the view's render event, as the editor's map shows it: the
// bases' ranges and minefields, the shown force's routes with the shown case's handles and
// arrival times, then the warning marks of the shown force's findings.

#include <cstdint>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "scenario/ForceCases.h"
#include "scenario/LintFinding.h"

namespace globe {
class TVoduz4;
}

namespace scenario {

class TBase;
class TForce;

// The force and case the map shows, and what its arrival times count from.
struct TShownCase {
  const TForce* Force = nullptr;
  const TForceCases* Cases = nullptr;  // the force's cases; none: no routes
  int Case = 1;
  globe::TGeoPoint SelectedPoint{};
  double StartTime = 0;
  double OneHour = 1.0 / 24.0;
};

void DrawScenarioOnView(globe::TVoduz4& view, const std::vector<TBase*>& bases, const TShownCase& shown,
                        const std::vector<TLintFinding>& findings);

}  // namespace scenario
