#include "globe/view/SamePixel.h"

#include "globe/view/CustomGlobeView.h"
#include "globe/view/GlobeProjection.h"

namespace globe {

bool SamePixel(TCustomGlobeView& view, const TGeoPoint& a, const TGeoPoint& b) {
  platform::TPoint pa, pb;
  view.Projection().PointLLToDeviceXY(a, pa);
  view.Projection().PointLLToDeviceXY(b, pb);
  return pa == pb;
}

}  // namespace globe
