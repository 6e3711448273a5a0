#pragma once
// The map painter of the base drawing passes on a globe view: the pen goes to the view's canvas,
// lines and circles to the view's geographic rendering. Used inside the view's render event.

#include <cstdint>
#include <span>
#include <vector>

#include "scenario/BaseDrawing.h"

namespace globe {
class TVoduz4;
}

namespace scenario {

class TViewMapPainter final : public TMapPainter {
public:
    explicit TViewMapPainter(globe::TVoduz4& view) : View_(view) {}

    void SetPen(globe::TColor color, platform::TPenStyle style, std::int32_t width) override;
    void RenderPolyline(std::span<const globe::TGeoPoint> points) override;
    void RenderCircle(const globe::TGeoPoint& centre, std::int32_t radius, std::int32_t segments) override;

private:
    globe::TVoduz4& View_;
};

// The bases' passes of the render event in their order: ranges, then minefields.
void DrawBasesOnView(const std::vector<TBase*>& bases, globe::TVoduz4& view);

}  // namespace scenario
