#include "globe/view/ViewNavigation.h"

#include <algorithm>
#include <cmath>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"

namespace globe {

namespace {

// Fitting is done twice: the first pass works from the old scale's rounded pixels, the second
// from pixels at about the final scale.
constexpr int kFitPasses = 2;

platform::TPoint WindowCentre(const TVoduz4& view) { return {view.CanvasWidth() / 2, view.CanvasHeight() / 2}; }

// Moves the projection's origin so that what is at `from` is seen at `to`.
void ShiftOrigin(TVoduz4& view, platform::TPoint from, platform::TPoint to)
{
  TGlobeProjection& p = view.Projection();
  p.SetIntProp(prXOrigin, Wrap32(int64_t{p.XOrigin()} + to.X - from.X));
  p.SetIntProp(prYOrigin, Wrap32(int64_t{p.YOrigin()} + to.Y - from.Y));
}

// The middle of the points' longitudes (taken the short way round, as a scenario lies in one
// sea) and latitudes.
TGeoPoint MiddleOf(std::span<const TGeoPoint> points)
{
  const int32_t reference = points.front().LongX;
  int64_t west = 0, east = 0;
  int32_t south = points.front().LatY, north = south;
  for (const TGeoPoint& point : points) {
    const int64_t d = NormaliseLongitude(Wrap32(int64_t{point.LongX} - reference));
    west = std::min(west, d);
    east = std::max(east, d);
    south = std::min(south, point.LatY);
    north = std::max(north, point.LatY);
  }
  return TGeoPoint(NormaliseLongitude(Wrap32(reference + (west + east) / 2)),
                   static_cast<int32_t>((int64_t{south} + north) / 2), 0);
}

}  // namespace

void ZoomAboutPixel(TVoduz4& view, int32_t altitude, int32_t x, int32_t y)
{
  TGlobeProjection& p = view.Projection();
  TGeoPoint under;
  const bool onGlobe = view.DeviceXYToLL(x, y, under);
  p.SetAltitude(altitude);
  platform::TPoint now;
  if (onGlobe && p.PointLLToDeviceXY(under, now)) ShiftOrigin(view, now, {x, y});
  view.UpdateScrollBars();
  view.RedrawGlobe();
}

void PanByWindowShare(TVoduz4& view, double fx, double fy)
{
  const platform::TPoint centre = WindowCentre(view);
  const int32_t dx = static_cast<int32_t>(std::lround(fx * view.CanvasWidth()));
  const int32_t dy = static_cast<int32_t>(std::lround(fy * view.CanvasHeight()));
  TGeoPoint atCentre, ahead;
  if (view.DeviceXYToLL(centre.X, centre.Y, atCentre) &&
      view.DeviceXYToLL(centre.X + dx, centre.Y + dy, ahead)) {
    view.RotateToBring(ahead, atCentre);
    view.RedrawGlobe();
    return;
  }
  const long double scale = view.Projection().ScaleFactor();
  if (!(scale > 0)) return;
  view.ScrollBy(RoundToInt(dx / scale), RoundToInt(dy / scale));
}

bool ZoomToPoints(TVoduz4& view, std::span<const TGeoPoint> points, double margin)
{
  if (points.empty()) return false;
  TGlobeProjection& p = view.Projection();
  const TGeoPoint middle = MiddleOf(points);
  view.LocateToLL(middle.LongX, middle.LatY);
  const platform::TPoint centre = WindowCentre(view);
  const long double halfW = std::max(1, view.CanvasWidth() / 2) * (1 - margin);
  const long double halfH = std::max(1, view.CanvasHeight() / 2) * (1 - margin);
  for (int pass = 0; pass < kFitPasses; ++pass) {
    platform::TPoint seen;
    if (p.PointLLToDeviceXY(middle, seen)) ShiftOrigin(view, seen, centre);
    int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
    bool allSeen = true;
    for (const TGeoPoint& point : points) {
      platform::TPoint xy;
      if (!p.PointLLToDeviceXY(point, xy)) {
        allSeen = false;  // beyond the horizon: the whole globe is needed
        break;
      }
      left = std::min<int64_t>(left, xy.X), right = std::max<int64_t>(right, xy.X);
      top = std::min<int64_t>(top, xy.Y), bottom = std::max<int64_t>(bottom, xy.Y);
    }
    if (!allSeen) {
      p.SetScaleFactor(0);
      continue;
    }
    // The points' box goes to the window centre; the zoom about the centre then grows it evenly.
    ShiftOrigin(view, {static_cast<int32_t>((left + right) / 2), static_cast<int32_t>((top + bottom) / 2)}, centre);
    const long double scale = p.ScaleFactor();
    long double fit = MaxScaleFactor;
    if (right > left) fit = std::min(fit, halfW * 2 / ((right - left) / scale));
    if (bottom > top) fit = std::min(fit, halfH * 2 / ((bottom - top) / scale));
    p.SetScaleFactor(fit);
  }
  view.UpdateScrollBars();
  view.RedrawGlobe();
  return true;
}

}  // namespace globe
