#pragma once
// Pixel identity of two geographic points in a view.

#include "globe/data/GeoTypes.h"

namespace globe {

class TCustomGlobeView;

// Whether both points project to the same device pixel through the view's projection.
bool SamePixel(TCustomGlobeView& view, const TGeoPoint& a, const TGeoPoint& b);

}  // namespace globe
