#pragma once
// Densifying rings along their great circles: every edge is cut into equal-angle pieces whose
// new points lie on the great circle through the edge's ends, so that a layer gains points
// without changing its shape. Used to build large benchmark layers from real coastlines.

#include <cstdint>
#include <vector>

#include "globe/data/GeoTypes.h"

namespace bench {

using TRing = std::vector<globe::TGeoPoint>;

// Great-circle lengths of the ring's edges, GlobeUnit.
std::vector<int32_t> EdgeLengths(const TRing& ring);

// Pieces an edge of `length` GlobeUnit is cut into for a step of `step`: ceil(length / step), at
// least one. A step of 0 or less cuts nothing.
int32_t PiecesFor(int32_t length, long double step);

// Points of a ring with these edges once every edge is cut for `step` (the original points stay).
int64_t DensifiedCount(const std::vector<int32_t>& edgeLengths, long double step);

// The ring with every edge cut for `step` (the last point of each edge is the next edge's
// first, so it is written once).
TRing Densify(const TRing& ring, long double step);

// The step for which the rings together reach about `target` points while no ring exceeds
// `maxPerRing` points: rings that would exceed it get a coarser step of their own (returned in
// `ringSteps`, one per ring). Rings with more edges than `maxPerRing` keep their points.
// `edgeLengths` holds EdgeLengths of every ring.
void ChooseSteps(const std::vector<std::vector<int32_t>>& edgeLengths, int64_t target, int64_t maxPerRing, std::vector<long double>& ringSteps);

}  // namespace bench
