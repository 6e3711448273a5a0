#include "scenario/BaseDrawing.h"

#include "scenario/Base.h"
#include "scenario/SideColors.h"

namespace scenario {

void DrawBaseRanges(const std::vector<TBase*>& bases, TMapPainter& painter) {
    for (TBase* base : bases) {
        painter.SetPen(SideColor(base->Side), platform::psDot, 1);
        painter.RenderPolyline(base->ReconOutline);
        painter.SetPen(kTrackColor, platform::psSolid, 1);
        painter.RenderCircle(base->GetCentroid(), base->StrikeRange, kCircleSegments);
    }
}

void DrawMinefields(const std::vector<TBase*>& bases, TMapPainter& painter) {
    for (TBase* base : bases) {
        if (base->Mines <= 0) continue;
        painter.SetPen(SideColor(base->Side), platform::psDash, 3);
        painter.RenderCircle(base->GetCentroid(), base->Mines, kCircleSegments);
    }
}

}  // namespace scenario
