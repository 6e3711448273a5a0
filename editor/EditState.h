#pragma once
// What the main window shows of the loaded scenario beside the document's current force and
// case: the current force's routes as the map draws them (the document's parsed cases, which a
// mark drag moves until its drop), the case list line whose point is circled, and where the
// shown case's block stands in the side lines.
#include "globe/data/GeoTypes.h"
#include "scenario/ForceCases.h"

namespace editor {

struct TEditState {
  // The parsed cases of the current force (CaseStart, CaseWaypoints, CaseTargets, CaseDelay,
  // CaseCWPI), indexed by case number - 1.
  scenario::TForceCases Cases;
  // The point of the selected waypoint line, circled on the map (LatY 0: none).
  globe::TGeoPoint SelectedPoint{};
  // The shown case's first and last line in its side lines.
  int CaseFirstLine = 0;
  int CaseLastLine = 0;
};

}  // namespace editor
