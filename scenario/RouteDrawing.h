#pragma once
// The selected force's routes on the map: for each parsed case a line from its start through its
// waypoints to its targets, the shown case drawn thick, with estimated times of arrival written
// at its waypoints in a colour that tells day, twilight or night there. Drawn inside the view's
// render event.
#include <cstdint>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "platform/Color.h"
#include "platform/DeviceGeometry.h"
#include "scenario/ForceCases.h"

namespace globe {
class TGlobeCanvas;
class TTitleSpace;
class TVoduz4;
}

namespace scenario {

// A white outline one pixel wide around a label keeps it readable over its own route line and
// the coast: the text drawn in white one pixel to each side of `at` (its top-left corner), in
// the canvas's font; the canvas state is reset afterwards.
void DrawLabelOutline(globe::TGlobeCanvas& canvas, platform::TPoint at, const std::string& text);

// Takes the room of a label and its outline in the titles' space, measured in the canvas's font,
// top-left at `at`; false when it would cover a label written before.
bool TakeLabelRoom(globe::TGlobeCanvas& canvas, globe::TTitleSpace& titles, platform::TPoint at, const std::string& text);

// The placement priority of arrival times: before every layer's titles.
inline constexpr int kArrivalPriority = 0;

// The colour of case n (1..6); black for any other number.
platform::TColor CaseColour(int n);

// Whole hours to sail from one point to the other at a speed in knots; 1,000,000 when the speed
// is below 1 knot.
std::int32_t LegHours(const globe::TGeoPoint& from, const globe::TGeoPoint& to, std::int32_t speed);

class TRouteDrawing {
 public:
  TRouteDrawing(globe::TVoduz4& view, const TForceCases& cases) : View_(view), Cases_(cases) {}

  int CurrentCase = 1;                   // drawn thick and timed
  globe::TGeoPoint SelectedPoint{};      // circled on the current case; latitude 0: none
  std::int32_t CurrentSpeed = 0;         // knots, of the force
  double StartTime = 0;                  // date-time the times count from
  double OneHour = 1.0 / 24.0;           // date-time of one hour

  // Every case with waypoints, then the current case's arrival times on top of all route lines.
  // A case whose current waypoint index lies outside its waypoints has no route to draw: only
  // its selection circle is drawn.
  void DrawRoutes();
  // Adds the leg's hours to `hours` and takes the arrival time "ddhhnn" at the leg's end, in the
  // canvas text colour of daylight there (red by day, grey in twilight, black at night), for
  // DrawLabels. No label when the time is beyond the calendar or the speed is below 1 knot.
  void DrawLegLabel(const globe::TGeoPoint& from, const globe::TGeoPoint& to, std::int32_t& hours);
  // Writes the labels taken so far, each outlined in white, its top-left corner at its point.
  // When the view places labels they go to its placement stage instead (its record lists those
  // whose point is hidden).
  void DrawLabels();

 private:
  void QueueLabels(globe::TTitleSpace& titles);
  // Hands the leg's line to the placement stage.
  void KeepLabelsOff(globe::TTitleSpace& titles, const globe::TGeoPoint& from, const globe::TGeoPoint& to);
  void SetCasePen(int n);

  struct TLegLabel {
    globe::TGeoPoint At;
    std::string Text;
    platform::TColor Colour;
  };

  globe::TVoduz4& View_;
  const TForceCases& Cases_;
  std::vector<TLegLabel> Labels_;
};

}  // namespace scenario
