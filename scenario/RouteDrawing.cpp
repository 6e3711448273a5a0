#include "scenario/RouteDrawing.h"

#include <array>
#include <string>

#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/TitleSpace.h"
#include "globe/view/Voduz4.h"
#include "platform/ConvertError.h"
#include "scenario/DayPhase.h"
#include "scenario/RouteLegs.h"
#include "scenario/ScenarioTime.h"
#include "scenario/WaypointHandles.h"

namespace scenario {

namespace {

// Red, maroon, green, blue, fuchsia, purple.
constexpr std::array<platform::TColor, kCaseCount> kCaseColours = {
    platform::MakeColor(0xFF, 0x00, 0x00), platform::MakeColor(0x80, 0x00, 0x00),
    platform::MakeColor(0x00, 0x80, 0x00), platform::MakeColor(0x00, 0x00, 0xFF),
    platform::MakeColor(0xFF, 0x00, 0xFF), platform::MakeColor(0x80, 0x00, 0x80)};

constexpr std::int32_t kNoSpeedHours = 1'000'000;
// The circle around the selected point: about 5.6 nautical miles, 72 segments.
constexpr std::int32_t kSelectedRadius = 500'000;
constexpr std::int32_t kSelectedSegments = 72;
constexpr std::uint8_t kShortArc = 0;

platform::TColor DayPhaseColour(TDayPhase phase, platform::TColor unchanged)
{
  switch (phase) {
    case dpDay: return platform::clRed;
    case dpNight: return platform::clBlack;
    case dpTwilight: return platform::clGray;
    default: return unchanged;
  }
}

}  // namespace

void DrawLabelOutline(globe::TGlobeCanvas& canvas, platform::TPoint at, const std::string& text)
{
  const platform::Font& font = canvas.CanvasState().CurrentFont;
  globe::TGlobeFont outline(font.Name, font.Height, globe::TGlobeUnitTypes::Pixel, platform::clWhite);
  if (outline.Realize(canvas, false)) {
    constexpr std::array<platform::TPoint, 4> kOffsets = {
        platform::TPoint{-1, 0}, platform::TPoint{1, 0}, platform::TPoint{0, -1}, platform::TPoint{0, 1}};
    for (const platform::TPoint& d : kOffsets) canvas.Surface().TextOut(at.X + d.X, at.Y + d.Y, text);
  }
  canvas.ResetState();
}

bool TakeLabelRoom(globe::TGlobeCanvas& canvas, globe::TTitleSpace& titles, platform::TPoint at, const std::string& text)
{
  const platform::Font& font = canvas.CanvasState().CurrentFont;
  globe::TGlobeFont measure(font.Name, font.Height, globe::TGlobeUnitTypes::Pixel, platform::clBlack);
  if (!measure.Realize(canvas, false)) return false;
  const platform::TSize extent = canvas.Surface().TextExtent(text);
  canvas.ResetState();
  return titles.Take(platform::TRect{at.X - 1, at.Y - 1, at.X + extent.Width + 1, at.Y + extent.Height + 1});
}

platform::TColor CaseColour(int n)
{
  if (n < 1 || n > kCaseCount) return platform::clBlack;
  return kCaseColours[static_cast<std::size_t>(n - 1)];
}

std::int32_t LegHours(const globe::TGeoPoint& from, const globe::TGeoPoint& to, std::int32_t speed)
{
  if (speed < 1) return kNoSpeedHours;
  // The distance is held in single precision, as the leg times always were.
  const auto miles = static_cast<float>(globe::GreatCircleDistance(from, to) /
                                        static_cast<long double>(globe::GlobeUnitsPerMinute));
  return globe::RoundToInt(static_cast<long double>(miles) / speed);
}

void TRouteDrawing::SetCasePen(int n)
{
  platform::Pen pen;
  pen.Color = CaseColour(n);
  pen.Style = platform::psSolid;
  pen.Width = View_.DevicePixels(n == CurrentCase ? 2 : 1);
  View_.Canvas().SetPen(pen);
}

void TRouteDrawing::DrawLegLabel(const globe::TGeoPoint& from, const globe::TGeoPoint& to, std::int32_t& hours)
{
  // Below 1 knot there is no arrival to write (the leg's hours are a sentinel, not a time).
  if (CurrentSpeed < 1) return;
  hours = globe::Wrap32(std::int64_t{hours} + LegHours(from, to, CurrentSpeed));
  const double eta = StartTime + hours * OneHour;
  std::string text;
  try {
    text = FormatTimeGroup(eta);
  } catch (const platform::EConvertError&) {
    return;  // thousands of years ahead: no date to write
  }
  globe::TGlobeCanvas& canvas = View_.Canvas();
  canvas.SetTextColor(DayPhaseColour(DayPhase(View_.Projection(), to, eta), canvas.CanvasState().TextColor));
  Labels_.push_back(TLegLabel{to, std::move(text), canvas.CanvasState().TextColor});
}

void TRouteDrawing::QueueLabels(globe::TTitleSpace& titles)
{
  globe::TGlobeCanvas& canvas = View_.Canvas();
  const platform::Font& font = canvas.CanvasState().CurrentFont;
  // Clear of the waypoint's handle.
  const std::int32_t gap = View_.DevicePixels(kHandleHalfSide + 2);
  for (const TLegLabel& label : Labels_) {
    platform::TPoint at;
    if (!View_.Projection().PointLLToDeviceXY(label.At, at)) {
      titles.LeaveOut(kArrivalPriority, label.Text, globe::kHiddenReason);
      continue;
    }
    globe::TGlobeFont labelFont(font.Name, font.Height, globe::TGlobeUnitTypes::Pixel, label.Colour);
    if (labelFont.Realize(canvas, false)) {
      platform::DrawingSurface& surface = canvas.Surface();
      surface.SetBackgroundMode(platform::BackgroundMode::Transparent);
      surface.SetTextAlign(platform::TextAlign{platform::HorizontalAlign::Left, platform::VerticalAlign::Top});
      titles.Queue(kArrivalPriority, at.X, at.Y, label.Text, surface.State(), at, gap);
    }
    canvas.ResetState();
  }
  Labels_.clear();
}

void TRouteDrawing::DrawLabels()
{
  globe::TGlobeCanvas& canvas = View_.Canvas();
  globe::TTitleSpace* titles = View_.TitleSpace();
  if (titles != nullptr && titles->Placing()) {
    QueueLabels(*titles);
    return;
  }
  for (const TLegLabel& label : Labels_) {
    platform::TPoint at;
    const bool seen = View_.Projection().PointLLToDeviceXY(label.At, at);
    // A label that would cover one written before it is left out (its outline included).
    if (titles != nullptr && (!seen || !TakeLabelRoom(canvas, *titles, at, label.Text))) continue;
    canvas.SetTextColor(label.Colour);
    if (seen) DrawLabelOutline(canvas, at, label.Text);
    View_.RenderTextOut(label.At.LongX, label.At.LatY, label.Text, globe::TGlobeUnitTypes::Pixel);
  }
  Labels_.clear();
}

void TRouteDrawing::KeepLabelsOff(globe::TTitleSpace& titles, const globe::TGeoPoint& from, const globe::TGeoPoint& to)
{
  // The leg as a few straight pieces between points along its great circle.
  constexpr int kPieces = 8;
  const std::int32_t bearing = globe::InitialBearing(from, to);
  const std::int32_t distance = globe::GreatCircleDistance(from, to);
  platform::TPoint last{};
  bool lastSeen = false;
  for (int k = 0; k <= kPieces; ++k) {
    const globe::TGeoPoint point =
        k == 0 ? from : k == kPieces ? to : globe::DestinationPoint(from, bearing, distance / kPieces * k);
    platform::TPoint at;
    const bool seen = View_.Projection().PointLLToDeviceXY(point, at);
    if (seen && lastSeen) titles.AddLine(last, at);
    last = at;
    lastSeen = seen;
  }
}

void TRouteDrawing::DrawRoutes()
{
  Labels_.clear();
  globe::TTitleSpace* titles = View_.TitleSpace();
  if (titles != nullptr && !titles->Placing()) titles = nullptr;
  for (int n = 1; n <= kCaseCount; ++n) {
    const std::size_t i = static_cast<std::size_t>(n - 1);
    if (Cases_.CaseWaypoints[i].Count() == 0) continue;
    const bool current = n == CurrentCase;
    SetCasePen(n);
    if (current && SelectedPoint.LatY != 0) View_.RenderCircle(SelectedPoint, kSelectedRadius, kSelectedSegments);

    std::int32_t hours = Cases_.CaseDelay[i];
    for (const TRouteLeg& leg : RouteLegs(Cases_, n)) {
      View_.RenderGreatCircle(leg.From, leg.To, kShortArc);
      if (titles != nullptr) KeepLabelsOff(*titles, leg.From, leg.To);
      if (!current || !leg.Timed) continue;
      DrawLegLabel(leg.From, leg.To, hours);
      SetCasePen(n);
    }
  }
  // The shown case's points that can be dragged, when labels are placed around marks.
  if (titles != nullptr) DrawWaypointHandles(View_, Cases_, CurrentCase);
  DrawLabels();
}

}  // namespace scenario
