#include "scenario/ViewMapPainter.h"

#include "globe/view/GlobeCanvas.h"
#include "globe/view/Voduz4.h"

namespace scenario {

void TViewMapPainter::SetPen(globe::TColor color, platform::TPenStyle style, std::int32_t width) {
    platform::Pen pen;
    pen.Color = color;
    pen.Style = style;
    pen.Width = width;
    View_.Canvas().SetPen(pen);
}

void TViewMapPainter::RenderPolyline(std::span<const globe::TGeoPoint> points) {
    View_.RenderPolyline(points);
}

void TViewMapPainter::RenderCircle(const globe::TGeoPoint& centre, std::int32_t radius, std::int32_t segments) {
    View_.RenderCircle(centre, radius, segments);
}

void DrawBasesOnView(const std::vector<TBase*>& bases, globe::TVoduz4& view) {
    TViewMapPainter painter(view);
    DrawBaseRanges(bases, painter);
    DrawMinefields(bases, painter);
}

}  // namespace scenario
