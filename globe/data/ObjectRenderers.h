#pragma once
// Objects drawn without a presenter draw themselves through the view's canvas. The canvas belongs
// to the view layer, which installs the drawing of each object kind here when it starts; until
// then such objects draw nothing.

#include <cstdint>

namespace globe {

class TGlobeCanvas;
class TGlobeObject;

using TObjectRenderer = void (*)(TGlobeObject& object, TGlobeCanvas& canvas, uint16_t state);

// TGeoDataObject: chains in the canvas pen (and brush when closed), or a small circle at the
// centre of a point object. TBitmapObject: its texture.
void SetGeoDataObjectRenderer(TObjectRenderer renderer);
void SetBitmapObjectRenderer(TObjectRenderer renderer);
TObjectRenderer GeoDataObjectRenderer();
TObjectRenderer BitmapObjectRenderer();

}  // namespace globe
