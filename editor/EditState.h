#pragma once
// What the main window shows of the loaded scenario: the selected force, its case tab, its
// parsed cases, the case list line whose point is circled, and where the shown case's block
// stands in the side lines.
#include "globe/data/GeoTypes.h"
#include "scenario/ForceCases.h"

namespace scenario {
class TForce;
}

namespace editor {

struct TEditState {
  // The force whose cases are shown; none before the first force selection.
  scenario::TForce* CurrentForce = nullptr;
  int CurrentCase = 1;
  // The parsed cases of CurrentForce (CaseStart, CaseWaypoints, CaseTargets, CaseDelay,
  // CaseCWPI), indexed by case number - 1.
  scenario::TForceCases Cases;
  // The point of the selected waypoint line, circled on the map (LatY 0: none).
  globe::TGeoPoint SelectedPoint{};
  // The shown case's first and last line in its side lines.
  int CaseFirstLine = 0;
  int CaseLastLine = 0;
};

}  // namespace editor
