#include "globe/view/ObjectDrawing.h"

#include <algorithm>

#include "globe/data/BitmapObject.h"
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

// The bitmap over its bounds (its top-left corner at the object's centre), as two textured
// triangles.
void DrawBitmapObject(TGlobeObject& object, TGlobeCanvas& canvas, uint16_t) {
  auto* bitmap = dynamic_cast<TBitmapObject*>(&object);
  if (bitmap == nullptr || !bitmap->TextureData().HasTexture()) return;
  const TGeoRect bounds = bitmap->GetBounds();
  const int32_t east = static_cast<int32_t>(int64_t{bounds.LongX} + bounds.Width);
  const int32_t north = static_cast<int32_t>(int64_t{bounds.LatY} + bounds.Height);
  const TGeoPoint topLeft(bounds.LongX, north, 0), topRight(east, north, 0);
  const TGeoPoint bottomLeft(bounds.LongX, bounds.LatY, 0), bottomRight(east, bounds.LatY, 0);
  canvas.RenderTextureTriangle(topLeft, topRight, bottomRight, bitmap->TextureData());
  canvas.RenderTextureTriangle(topLeft, bottomRight, bottomLeft, bitmap->TextureData());
}

}  // namespace

void InstallObjectDrawing() {
  SetGeoDataObjectRenderer(&DrawGeoDataObject);
  SetBitmapObjectRenderer(&DrawBitmapObject);
}

}  // namespace globe
