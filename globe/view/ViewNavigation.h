#pragma once
// Navigating the map view from the wheel and the keyboard: zooming about a window pixel,
// turning the globe by a share of the window, and fitting a set of points into the window.
#include <cstdint>
#include <span>

#include "globe/data/GeoTypes.h"

namespace globe {

class TVoduz4;

// Sets the altitude and keeps the point seen at pixel (x, y) at that pixel; a pixel off the
// globe zooms about the window centre as the zoom buttons do.
void ZoomAboutPixel(TVoduz4& view, int32_t altitude, int32_t x, int32_t y);

// Brings the point seen `fx` window widths right of and `fy` window heights below the window
// centre to the centre: the globe turns (or, off the globe, the map slides).
void PanByWindowShare(TVoduz4& view, double fx, double fy);

// Centres the view on the points and zooms so that every one lies in the window with `margin`
// (a share of the window's half size) free on each side. False, changing nothing, without points.
bool ZoomToPoints(TVoduz4& view, std::span<const TGeoPoint> points, double margin);

}  // namespace globe
