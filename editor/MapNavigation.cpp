#include "editor/MapNavigation.h"

#include <cstdlib>
#include <vector>

#include "editor/MapZoom.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/ViewNavigation.h"
#include "globe/view/Voduz4.h"
#include "scenario/ScenarioExtent.h"

namespace editor {

namespace {

// Eighths of a degree in one wheel notch.
constexpr int kWheelNotch = 120;
// The arrow keys turn the globe by this share of the window.
constexpr double kArrowShare = 0.1;
// Free space on each side of what "zoom to" shows: a tenth of the window's width and height
// (room for the labels around the outermost marks). ZoomToPoints takes it as a share of the
// window's half size.
constexpr double kZoomMargin = 2 * kZoomMarginShare;

}  // namespace

void ZoomInStep(globe::TVoduz4& map)
{
  globe::TGlobeProjection& projection = map.Projection();
  projection.SetAltitude(ZoomedInAltitude(projection.Altitude()));
}

void ZoomOutStep(globe::TVoduz4& map)
{
  globe::TGlobeProjection& projection = map.Projection();
  if (const auto altitude = ZoomedOutAltitude(projection.Altitude())) projection.SetAltitude(*altitude);
}

void WheelZoom(globe::TVoduz4& map, platform::ShiftState shift, int delta, int x, int y, int& rest)
{
  rest += delta;
  const int notches = rest / kWheelNotch;
  rest %= kWheelNotch;
  if (notches == 0) return;
  int32_t altitude = map.Projection().Altitude();
  for (int i = 0; i < std::abs(notches); ++i) {
    if (notches > 0) {
      altitude = ZoomedInAltitude(altitude, shift.Ctrl ? kFineZoomInStep : kZoomInStep);
    } else if (const auto out = ZoomedOutAltitude(altitude, shift.Ctrl ? kFineZoomOutStep : kZoomOutStep)) {
      altitude = *out;
    }
  }
  if (altitude != map.Projection().Altitude()) globe::ZoomAboutPixel(map, altitude, x, y);
}

bool PanByArrowKey(globe::TVoduz4& map, platform::ViewKey key)
{
  using platform::ViewKey;
  switch (key) {
    case ViewKey::Left: globe::PanByWindowShare(map, -kArrowShare, 0); return true;
    case ViewKey::Right: globe::PanByWindowShare(map, kArrowShare, 0); return true;
    case ViewKey::Up: globe::PanByWindowShare(map, 0, -kArrowShare); return true;
    case ViewKey::Down: globe::PanByWindowShare(map, 0, kArrowShare); return true;
    default: return false;
  }
}

void ZoomToScenario(globe::TVoduz4& map, const scenario::TScenarioState& state)
{
  globe::ZoomToPoints(map, scenario::ScenarioExtentPoints(state, map), kZoomMargin);
}

void ZoomToForce(globe::TVoduz4& map, scenario::TForce* force, const scenario::TForceCases& cases)
{
  globe::ZoomToPoints(map, scenario::ForceRoutePoints(force, cases), kZoomMargin);
}

void ShowWholeGlobe(globe::TVoduz4& map)
{
  constexpr long double kFirstLatitude = 30, kFirstLongitude = 15;
  globe::TGlobeProjection& projection = map.Projection();
  projection.SetAltitude(0);
  projection.SetCenterLatitude(kFirstLatitude);
  projection.SetCenterLongitude(kFirstLongitude);
}

void ShowScenarioIfAway(globe::TVoduz4& map, const scenario::TScenarioState& state)
{
  const std::vector<globe::TGeoPoint> points = scenario::ScenarioExtentPoints(state, map);
  if (!scenario::WindowShowsScenario(map.Projection(), map.CanvasWidth(), map.CanvasHeight(), points))
    globe::ZoomToPoints(map, points, kZoomMargin);
}

}  // namespace editor
