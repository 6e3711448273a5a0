#pragma once
// The dry run at one time on the map: every played force at its position as a dot with a tick
// toward its heading and its name, the dot in its side's colour or, inside a strike range or
// reconnaissance sector of the other side, in the warning colour; the selected force's track in
// black, thick and solid up to its position and thin and dashed beyond. Drawn in the view's render event, over the routes.

#include <cstdint>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "platform/Color.h"
#include "platform/DeviceGeometry.h"
#include "scenario/Timeline.h"

namespace globe {
class TVoduz4;
}

namespace scenario {

inline constexpr platform::TColor kExposedColour = 0x00FFFF;  // yellow, as the warning marks

struct TTimelineFrame {
  std::vector<TCaseVoyage> Voyages;
  std::vector<TExposureArea> Areas;
  std::int64_t Minute = 0;     // after the scenario start
  std::string SelectedForce;   // the title of the force whose track is drawn; empty: none
};

// Whether a force of `side` at the point lies inside a strike range or reconnaissance sector of
// the other side.
bool Exposed(std::int32_t side, const globe::TGeoPoint& point, const std::vector<TExposureArea>& areas);

// The end of the heading tick of a mark at `at` (pixels), toward the screen direction `toward`
// (a point a little ahead on the course): 12 pixels long; straight up when the two coincide.
platform::TPoint HeadingTickEnd(platform::TPoint at, platform::TPoint toward);

// Draws the frame's marks and the selected force's track; forces out of sight get none. The
// canvas's pen, brush and text colour are restored afterwards.
void DrawTimelineMarks(globe::TVoduz4& view, const TTimelineFrame& frame);

// While the timeline's marks name the forces where they are, the force marks' own titles (layer
// "TrackingLayer") are off, so a force is not named twice; on again when the marks go.
void ShowForceTitles(globe::TVoduz4& view, bool show);

}  // namespace scenario
