#include "globe/view/SamePixel.h"

#include "globe/view/CustomVoduz4.h"
#include "globe/view/GlobeProjection.h"

namespace globe {

bool SamePixel(TCustomVoduz4& view, const TGeoPoint& a, const TGeoPoint& b) {
  platform::TPoint pa, pb;
  view.Projection().PointLLToDeviceXY(a, pa);
  view.Projection().PointLLToDeviceXY(b, pb);
  return pa == pb;
}

}  // namespace globe
