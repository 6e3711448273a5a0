#pragma once
// Pixel identity of two geographic points in a view.

#include "globe/data/GeoTypes.h"

namespace globe {

class TCustomVoduz4;

// Whether both points project to the same device pixel through the view's projection.
bool SamePixel(TCustomVoduz4& view, const TGeoPoint& a, const TGeoPoint& b);

}  // namespace globe
