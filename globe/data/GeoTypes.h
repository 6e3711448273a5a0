#pragma once
// Geographic point and rectangle records in GlobeUnit, and the cached cartesian point.

#include <cstdint>

#include "globe/data/GlobeUnits.h"

namespace globe {

// A position: longitude, latitude and height above the sphere, all GlobeUnit.
// The constructors normalise the longitude; direct field writes do not.
struct TGeoPoint {
  int32_t LongX = 0;
  int32_t LatY = 0;
  int32_t Height = 0;

  constexpr TGeoPoint() = default;
  constexpr TGeoPoint(int32_t longX, int32_t latY, int32_t height = 0)
      : LongX(NormaliseLongitude(longX)), LatY(latY), Height(height) {}
  // From decimal degrees through DegToGU.
  static TGeoPoint FromDegrees(long double longitude, long double latitude) {
    return TGeoPoint(DegToGU(longitude), DegToGU(latitude));
  }

  friend constexpr bool operator==(const TGeoPoint&, const TGeoPoint&) = default;
};

// South-west corner, eastward width and northward height. Width 0 and height 0 is empty.
// LongX + Width may run past +972,000,000 (the rectangle crosses the 180-degree meridian).
struct TGeoRect {
  int32_t LongX = 0;
  int32_t LatY = 0;
  int32_t Width = 0;
  int32_t Height = 0;

  constexpr TGeoRect() = default;
  constexpr TGeoRect(int32_t longX, int32_t latY, int32_t width, int32_t height)
      : LongX(longX), LatY(latY), Width(width), Height(height) {}

  friend constexpr bool operator==(const TGeoRect&, const TGeoRect&) = default;
};

constexpr bool RectIsEmpty(const TGeoRect& r) { return r.Width == 0 && r.Height == 0; }

// Cartesian point in GlobeUnit: origin at the sphere's centre, Y to the north pole,
// Z to longitude 0 on the equator, X to longitude +90 degrees.
struct TPoint3D {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;

  friend constexpr bool operator==(const TPoint3D&, const TPoint3D&) = default;
};
static_assert(sizeof(TPoint3D) == 12);

}  // namespace globe
