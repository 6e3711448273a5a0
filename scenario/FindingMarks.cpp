#include "scenario/FindingMarks.h"

#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/Color.h"

namespace scenario {

namespace {

constexpr platform::TColor kWarningYellow = 0x00FFFF;  // blue-green-red

}  // namespace

std::array<platform::TPoint, 3> WarningTriangle(platform::TPoint at, int scale) {
    return {platform::TPoint{at.X, at.Y - 6 * scale}, platform::TPoint{at.X + 6 * scale, at.Y + 5 * scale},
            platform::TPoint{at.X - 6 * scale, at.Y + 5 * scale}};
}

void DrawFindingMarks(globe::TVoduz4& view, const std::vector<TLintFinding>& findings, const TForce* force) {
    if (force == nullptr) return;
    globe::TGlobeCanvas& canvas = view.Canvas();
    const platform::Pen savedPen = canvas.CanvasState().CurrentPen;
    const platform::Brush savedBrush = canvas.CanvasState().CurrentBrush;
    platform::Pen pen;
    pen.Color = platform::clBlack;
    pen.Style = platform::psSolid;
    // Whole device pixels to a logical one, so that the mark keeps its shape.
    const int scale = view.DevicePixels(1);
    pen.Width = scale;
    platform::Brush brush;
    brush.Kind = platform::BrushKind::Solid;
    brush.Color = kWarningYellow;
    canvas.SetPen(pen);
    canvas.SetBrush(brush);
    for (const TLintFinding& finding : findings) {
        platform::TPoint at;
        if (finding.Force != force || !finding.At || !view.Projection().PointLLToDeviceXY(*finding.At, at)) continue;
        const auto triangle = WarningTriangle(at, scale);
        canvas.Surface().Polygon(triangle);
        view.MarkDrawn(platform::TRect{triangle[2].X, triangle[0].Y, triangle[1].X + 1, triangle[1].Y + 1});
        // The exclamation mark: a stroke and a dot.
        const platform::TPoint stroke[] = {{at.X, at.Y - 2 * scale}, {at.X, at.Y + 2 * scale}};
        canvas.Surface().Polyline(stroke);
        canvas.Surface().SetPixel(at.X, at.Y + 3 * scale, platform::clBlack);
    }
    canvas.SetPen(savedPen);
    canvas.SetBrush(savedBrush);
}

}  // namespace scenario
