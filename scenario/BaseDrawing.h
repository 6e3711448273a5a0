#pragma once
// The drawing passes of the bases that run after the layers: reconnaissance sectors with strike
// ranges, and minefields. They draw through a small painter interface that the view implements
// with its canvas pen and its geographic polyline and circle rendering.

#include <cstdint>
#include <span>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeColor.h"
#include "platform/DrawingSurface.h"

namespace scenario {

class TBase;

// Segments of a drawn range or minefield circle.
inline constexpr std::int32_t kCircleSegments = 72;

class TMapPainter {
public:
    virtual ~TMapPainter() = default;
    // Sets the canvas pen (pixel width); the pen stays so after the passes.
    virtual void SetPen(globe::TColor color, platform::TPenStyle style, std::int32_t width) = 0;
    // A line through geographic points in the view's projection.
    virtual void RenderPolyline(std::span<const globe::TGeoPoint> points) = 0;
    // A circle of `radius` GlobeUnit around a point, drawn as `segments` straight pieces.
    virtual void RenderCircle(const globe::TGeoPoint& centre, std::int32_t radius, std::int32_t segments) = 0;
};

// Per base, in order: its reconnaissance outline dotted in the side colour, then its strike
// range as a grey circle (drawn even for a range of 0).
void DrawBaseRanges(const std::vector<TBase*>& bases, TMapPainter& painter);
// Per base with mines: a dashed circle of width 3 in the side colour.
void DrawMinefields(const std::vector<TBase*>& bases, TMapPainter& painter);

}  // namespace scenario
