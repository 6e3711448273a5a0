#pragma once
// Points along the great circle between two positions, close enough together that the straight
// line in latitude and longitude between neighbours stays on the circle to within a fraction of
// a nautical mile, also where the circle runs near a pole or over the 180-degree meridian.

#include <cstdint>
#include <vector>

#include "globe/data/GeoTypes.h"

namespace globe {

// The point at fraction t (0..1) of the great circle from a to b; a when the two are the same
// point or opposite points.
TGeoPoint GreatCirclePoint(const TGeoPoint& a, const TGeoPoint& b, long double t);

// The points of the circle from fraction fromT to toT (fromT <= toT), both ends included,
// neighbours at most maxStep GlobeUnit apart and at most half a degree of longitude apart (near
// a pole the steps get shorter, down to a hundredth of a mile).
std::vector<TGeoPoint> GreatCirclePath(const TGeoPoint& a, const TGeoPoint& b, long double fromT, long double toT,
                                       int32_t maxStep);

}  // namespace globe
