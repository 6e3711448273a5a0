#pragma once
// Points in whole degrees and chains built from a list, shared by the geometry and file tests.

#include <vector>

#include "globe/data/PointStore.h"

namespace globe::testing {

constexpr int32_t Deg = GlobeUnitsPerDegree;

inline TGeoPoint DegPoint(int32_t longDeg, int32_t latDeg) { return TGeoPoint(longDeg * Deg, latDeg * Deg); }

inline TPointStore StoreOf(const std::vector<TGeoPoint>& points, bool heights = false) {
  TPointStore store(heights);
  for (const TGeoPoint& p : points) store.Add(p);
  return store;
}

inline std::vector<TGeoPoint> PointsOf(const TPointStore& store) {
  std::vector<TGeoPoint> points;
  for (int32_t i = 0; i < store.Count(); ++i) points.push_back(store.Point(i));
  return points;
}

}  // namespace globe::testing
