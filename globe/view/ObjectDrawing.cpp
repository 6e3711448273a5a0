#include "globe/view/ObjectDrawing.h"

#include <algorithm>

#include "globe/data/GeoDataObject.h"
#include "globe/data/ObjectRenderers.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"

namespace globe {

namespace {

constexpr int32_t kPointRadius = 3;

void DrawGeoDataObject(TGlobeObject& object, TGlobeCanvas& canvas, uint16_t state) {
  auto* geo = dynamic_cast<TGeoDataObject*>(&object);
  if (geo == nullptr) return;
  if (geo->Chains().Count() == 0) {
    platform::TPoint xy;
    if (!canvas.Projection().PointLLToDeviceXY(geo->GetCentroid(), xy)) return;
    canvas.Surface().Ellipse(platform::TRect{xy.X - kPointRadius, xy.Y - kPointRadius,
                                             xy.X + kPointRadius, xy.Y + kPointRadius});
    return;
  }
  const int32_t margin = std::max(1, canvas.Surface().State().CurrentPen.Width);
  if (geo->Closed()) state |= rsClosed;
  canvas.RenderChainStore(geo->Chains(), state, margin);
}

}  // namespace

void InstallObjectDrawing() { SetGeoDataObjectRenderer(&DrawGeoDataObject); }

}  // namespace globe
