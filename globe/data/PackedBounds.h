#pragma once
// Dateline-aware bounds of points packed as longitude, latitude pairs of 32-bit words (a point
// store without heights): the sweep of BoundsOfPoints, four points at a time where the processor
// has AVX2. Chains of millions of points take their bounds when first read.

#include <cstddef>
#include <cstdint>

#include "globe/data/GeoTypes.h"

namespace globe {

// `words` holds `count` points (any alignment); an empty rectangle without points.
TGeoRect BoundsOfPackedPoints(const std::byte* words, int32_t count);
// The same without AVX2, one point at a time (for tests of both roads).
TGeoRect BoundsOfPackedPointsWithoutAvx(const std::byte* words, int32_t count);

}  // namespace globe
