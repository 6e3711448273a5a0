#pragma once
// Simplification of one chain for the coarse levels of detail: a pass that leaves out points
// near the last one kept, then Douglas-Peucker. The points kept are a subset of the chain, in
// order, with both ends kept, and every point left out lies within `tolerance` (GlobeUnit,
// measured in the longitude/latitude plane, longitudes unwrapped along the chain across the
// 180-degree meridian) of the segment that replaces it. On the sphere and in
// the plate carree that plane distance is never shorter than the distance on the map, so the
// error in pixels is at most tolerance x ScaleFactor.
//
// Rings (closed chains) stay rings: the first and last points are kept, so a ring stored with its
// first point repeated stays closed, and a ring whose simplified form would turn over (opposite
// winding, or fewer than three corners) is simplified again at a quarter of the tolerance, and
// at worst kept whole.

#include <cstdint>

#include "globe/data/PointStore.h"

namespace globe {

// Chains of at most this many points are never simplified.
inline constexpr int32_t kSmallChainPoints = 8;

TPointStore SimplifyChain(const TPointStore& chain, int32_t tolerance, bool closed);

}  // namespace globe
