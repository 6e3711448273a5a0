#pragma once
// Distances, bearings and destination points on the engine's sphere or a reference ellipsoid,
// all in GlobeUnit (one nautical mile = 90,000). Bearings grow toward the west: a point due
// east is at -486,000,000 (-90 degrees).

#include <cstdint>

#include "globe/data/GeoTypes.h"

namespace globe {

enum class TSpheroid : uint8_t {
  Airy1830,
  Australian1965,
  Bessel1841,
  Clarke1866,
  Clarke1880,
  Everest1830,
  GRS1967,
  GRS1980,
  Helmert1906,
  Hough,
  International1920,
  Krassovsky1940,
  SouthAmerican1969,
  WGS60,
  WGS66,
  WGS72,
  WGS84,
};
inline constexpr int SpheroidCount = 17;

struct TSpheroidParameters {
  int32_t SemiMajorAxis;  // GlobeUnit
  double Flattening;      // f = 1 / inverse flattening
};
// The table entry of a spheroid (an out-of-range value gives WGS84's entry).
TSpheroidParameters SpheroidParameters(TSpheroid spheroid);

// Haversine distance on the sphere.
int32_t GreatCircleDistance(const TGeoPoint& a, const TGeoPoint& b);
// Vincenty's inverse method with a single lambda update; identical points give 0.
int32_t EllipsoidDistance(const TGeoPoint& a, const TGeoPoint& b, TSpheroid spheroid);
// Initial great-circle bearing from a to b, -972,000,000..+972,000,000, growing westward.
int32_t InitialBearing(const TGeoPoint& a, const TGeoPoint& b);
// The point `distance` away from `start` along `bearing` (westward-growing), Height 0.
TGeoPoint DestinationPoint(const TGeoPoint& start, int32_t bearing, int32_t distance);

}  // namespace globe
