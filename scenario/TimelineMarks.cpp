#include "scenario/TimelineMarks.h"

#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/TitleSpace.h"
#include "globe/view/Voduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/SideColors.h"

namespace scenario {

namespace {

constexpr int kMarkRadius = 5;
constexpr double kTickLength = 12;
constexpr int kTickWidth = 2;
// The track in black over the routes, which are drawn in the cases' colours: thick as far as the
// force has sailed, thin and dashed beyond.
constexpr platform::TColor kTrackColour = platform::clBlack;
constexpr int kSailedWidth = 3;
// The points ahead on the course that may give the tick's direction on the screen, the nearest
// first (1, 10, 100 and 1000 nautical miles); the first at least kAheadPixels away gives it.
constexpr std::int32_t kAheadMiles[] = {1, 10, 100, 1000};
constexpr int kAheadPixels = 4;
constexpr std::uint8_t kShortArc = 0;

platform::Pen MakePen(platform::TColor colour, platform::TPenStyle style, int width)
{
  platform::Pen pen;
  pen.Color = colour;
  pen.Style = style;
  pen.Width = width;
  return pen;
}

// The force's name beside its mark, black over a white outline. On a map that keeps its titles
// apart the name takes its room first (a layer's title under it is left out), and is left out
// itself where another name stands.
void WriteName(globe::TVoduz4& view, platform::TPoint at, const std::string& name)
{
  globe::TGlobeCanvas& canvas = view.Canvas();
  if (view.TitleSpace() != nullptr && !TakeLabelRoom(canvas, *view.TitleSpace(), at, name)) return;
  DrawLabelOutline(canvas, at, name);
  const platform::Font& font = canvas.CanvasState().CurrentFont;
  globe::TGlobeFont text(font.Name, font.Height, globe::TGlobeUnitTypes::Pixel, platform::clBlack);
  if (text.Realize(canvas, false)) canvas.Surface().TextOut(at.X, at.Y, name);
  canvas.ResetState();
}

// The force's dot and heading tick at its position in the frame; false when the position is on
// the hidden side. The dot is kept as a mark: the map's labels keep off it.
bool DrawMark(globe::TVoduz4& view, const TCaseVoyage& voyage, const TTimelineFrame& frame, platform::TPoint& at)
{
  const TVoyagePosition position = voyage.Voyage.PositionAt(frame.Minute);
  if (!view.Projection().PointLLToDeviceXY(position.Point, at)) return false;
  globe::TGlobeCanvas& canvas = view.Canvas();
  // The engine's bearing grows toward the west.
  const std::int32_t bearing = -position.Heading * globe::GlobeUnitsPerDegree;
  platform::TPoint ahead = at;
  for (const std::int32_t miles : kAheadMiles) {
    platform::TPoint xy;
    const globe::TGeoPoint point = globe::DestinationPoint(position.Point, bearing, miles * globe::GlobeUnitsPerMinute);
    if (!view.Projection().PointLLToDeviceXY(point, xy)) break;
    ahead = xy;
    if (std::abs(xy.X - at.X) + std::abs(xy.Y - at.Y) >= kAheadPixels) break;
  }
  canvas.SetPen(MakePen(platform::clBlack, platform::psSolid, kTickWidth));
  const platform::TPoint tick[] = {at, HeadingTickEnd(at, ahead)};
  canvas.Surface().Polyline(tick);

  platform::Brush fill;
  fill.Kind = platform::BrushKind::Solid;
  fill.Color = Exposed(voyage.Side, position.Point, frame.Areas) ? kExposedColour : SideColor(voyage.Side);
  canvas.SetBrush(fill);
  canvas.SetPen(MakePen(platform::clBlack, platform::psSolid, 1));
  const platform::TRect dot{at.X - kMarkRadius, at.Y - kMarkRadius, at.X + kMarkRadius + 1, at.Y + kMarkRadius + 1};
  canvas.Surface().Ellipse(dot);
  view.MarkDrawn(dot);
  return true;
}

// The legs sailed by the frame's minute solid, the rest dashed; the leg under way split at the
// force's position.
void DrawTrack(globe::TVoduz4& view, const TCaseVoyage& voyage, std::int64_t minute)
{
  globe::TGlobeCanvas& canvas = view.Canvas();
  const platform::Pen sailed = MakePen(kTrackColour, platform::psSolid, kSailedWidth);
  const platform::Pen ahead = MakePen(kTrackColour, platform::psDash, 1);
  for (const TVoyageLeg& leg : voyage.Voyage.Legs()) {
    const std::int64_t m = voyage.Voyage.Moves() ? minute - leg.StartMinute : 0;
    if (m >= leg.Minutes && voyage.Voyage.Moves()) {
      canvas.SetPen(sailed);
      view.RenderGreatCircle(leg.From, leg.To, kShortArc);
    } else if (m <= 0) {
      canvas.SetPen(ahead);
      view.RenderGreatCircle(leg.From, leg.To, kShortArc);
    } else {
      const globe::TGeoPoint at = TVoyage::PointOnLeg(leg, m);
      canvas.SetPen(sailed);
      view.RenderGreatCircle(leg.From, at, kShortArc);
      canvas.SetPen(ahead);
      view.RenderGreatCircle(at, leg.To, kShortArc);
    }
  }
}

}  // namespace

bool Exposed(std::int32_t side, const globe::TGeoPoint& point, const std::vector<TExposureArea>& areas)
{
  for (const TExposureArea& area : areas) {
    if (area.Side == side || (area.Kind != TAreaKind::Strike && area.Kind != TAreaKind::Recon)) continue;
    if (area.Contains(point)) return true;
  }
  return false;
}

platform::TPoint HeadingTickEnd(platform::TPoint at, platform::TPoint toward)
{
  const double dx = toward.X - at.X, dy = toward.Y - at.Y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return {at.X, at.Y - static_cast<int>(kTickLength)};
  return {at.X + static_cast<int>(std::lround(dx / length * kTickLength)),
          at.Y + static_cast<int>(std::lround(dy / length * kTickLength))};
}

void DrawTimelineMarks(globe::TVoduz4& view, const TTimelineFrame& frame)
{
  globe::TGlobeCanvas& canvas = view.Canvas();
  const platform::DrawingState saved = canvas.CanvasState();
  for (const TCaseVoyage& voyage : frame.Voyages)
    if (voyage.Force == frame.SelectedForce) DrawTrack(view, voyage, frame.Minute);
  // Every dot first, then the names over them: a dot drawn later would hide a name's letters.
  std::vector<std::pair<platform::TPoint, const std::string*>> names;
  for (const TCaseVoyage& voyage : frame.Voyages) {
    platform::TPoint at;
    if (DrawMark(view, voyage, frame, at)) names.emplace_back(at, &voyage.Force);
  }
  for (const auto& [at, name] : names) WriteName(view, {at.X + kMarkRadius + 3, at.Y - kMarkRadius - 3}, *name);
  canvas.SetPen(saved.CurrentPen);
  canvas.SetBrush(saved.CurrentBrush);
  canvas.SetTextColor(saved.TextColor);
}

void ShowForceTitles(globe::TVoduz4& view, bool show)
{
  globe::TGlobeLayer* forces = view.LayerStore().LayerByName(kTrackingLayer);
  if (forces == nullptr || forces->ShowTitles() == show) return;
  forces->SetShowTitles(show);
  view.RedrawGlobe();
}

}  // namespace scenario
