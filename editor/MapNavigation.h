#pragma once
// Moving about the map: the toolbar's zoom steps, the wheel's zoom about the cursor, the arrow
// keys' turns, and zooming to the scenario or to a force's routes.
#include "platform/ViewEvents.h"
#include "scenario/ForceCases.h"

namespace globe {
class TVoduz4;
}
namespace scenario {
class TForce;
class TScenarioState;
}

namespace editor {

// One zoom step in or out (the toolbar's buttons, + and -).
void ZoomInStep(globe::TVoduz4& map);
void ZoomOutStep(globe::TVoduz4& map);

// The wheel: whole notches of delta zoom about the pixel (in for positive ones; a finer step
// with Ctrl); what is short of a notch stays in rest for the next turn (fine wheels, touch pads).
void WheelZoom(globe::TVoduz4& map, platform::ShiftState shift, int delta, int x, int y, int& rest);

// Arrow keys turn the globe by a tenth of the window; false for other keys.
bool PanByArrowKey(globe::TVoduz4& map, platform::ViewKey key);

// The share of the window's width and height left free on each side by the zooms to the
// scenario and to a force.
inline constexpr double kZoomMarginShare = 0.1;

// Every base, zone and force in the window with the margin.
void ZoomToScenario(globe::TVoduz4& map, const scenario::TScenarioState& state);
// The force and its cases' points in the window with the margin.
void ZoomToForce(globe::TVoduz4& map, scenario::TForce* force, const scenario::TForceCases& cases);
// The whole globe, turned to the seas of the demos (the first look before any scenario).
void ShowWholeGlobe(globe::TVoduz4& map);
// Zooms to the scenario when the window does not show it.
void ShowScenarioIfAway(globe::TVoduz4& map, const scenario::TScenarioState& state);

}  // namespace editor
