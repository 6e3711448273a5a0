#include "globe/data/ObjectRenderers.h"

namespace globe {

namespace {
TObjectRenderer GeoDataRenderer = nullptr;
TObjectRenderer BitmapRenderer = nullptr;
}  // namespace

void SetGeoDataObjectRenderer(TObjectRenderer renderer) { GeoDataRenderer = renderer; }
void SetBitmapObjectRenderer(TObjectRenderer renderer) { BitmapRenderer = renderer; }
TObjectRenderer GeoDataObjectRenderer() { return GeoDataRenderer; }
TObjectRenderer BitmapObjectRenderer() { return BitmapRenderer; }

}  // namespace globe
