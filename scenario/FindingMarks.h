#pragma once
// The warning marks of the scenario checks on the map: a small yellow triangle with a black
// outline and an exclamation mark at the point of each finding of the selected force. Drawn in
// the view's render event, over the routes.

#include <array>
#include <vector>

#include "platform/DeviceGeometry.h"
#include "scenario/LintFinding.h"

namespace globe {
class TVoduz4;
}

namespace scenario {

class TForce;

// The triangle's corners: its point up, 12 pixels wide and 11 high times `scale` (the device
// pixels of a logical one), centred on `at`.
std::array<platform::TPoint, 3> WarningTriangle(platform::TPoint at, int scale = 1);

// Marks the findings of `force` that have a point; points on the hidden side of the globe get
// none. The canvas's pen and brush are restored afterwards.
void DrawFindingMarks(globe::TVoduz4& view, const std::vector<TLintFinding>& findings, const TForce* force);

}  // namespace scenario
