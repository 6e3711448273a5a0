#pragma once
// Angle, vector, matrix and quaternion helpers and the geometric tests on GlobeUnit records.

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <span>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeUnits.h"

namespace globe {

// --- angles and scalars (Extended = long double) ---
long double NormaliseDegrees(long double degrees);  // once: above 180 -360, below -180 +360
long double NormaliseRadians(long double radians);  // once: <= -pi +2pi, > pi -2pi
long double Hypot(long double a, long double b);
long double ArcTan2(long double y, long double x);
long double ArcSin(long double v);  // sign(v) × pi/2 for |v| >= 1
long double ArcCos(long double v);  // pi for v <= -1, 0 for v >= 1
long double Tan(long double v);
void SinCos(long double angle, long double& sinValue, long double& cosValue);
// 1 for values 0 and above, else -1.
constexpr int Sign(long double v) { return v >= 0 ? 1 : -1; }

// The platform's MulDiv: round(a × b / c) with a 64-bit product, halves away from zero;
// -1 when c is 0 or the result does not fit in 32 bits.
int32_t MulDiv(int64_t a, int64_t b, int64_t c);
// Wraps a 64-bit intermediate into 32 bits as the original integer arithmetic does.
constexpr int32_t Wrap32(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

// Nearest integer, halves to even (the default rounding mode), of a value with |v| < 2^61 (the
// caller checks). Adding 1.5 * 2^63 rounds v in one addition, as the result has no fraction bits
// left; the integer then sits in the 64-bit significand of the extended format. This spares the
// slow frndint and the rounding-mode switches of a float-to-integer cast, which every projected
// or converted coordinate would pay.
inline constexpr long double RoundHalfEvenLimit = 2305843009213693952.0L;  // 2^61
#if defined(__x86_64__) && LDBL_MANT_DIG == 64
inline constexpr uint64_t RoundHalfEvenShift = 13835058055282163712ULL;  // 1.5 * 2^63
inline long double RoundHalfEvenExtended(long double v) {
  const long double shift = static_cast<long double>(RoundHalfEvenShift);
  return (v + shift) - shift;
}
inline int64_t RoundHalfEvenSmall(long double v) {
  const long double shifted = v + static_cast<long double>(RoundHalfEvenShift);
  uint64_t significand = 0;
  std::memcpy(&significand, &shifted, sizeof significand);
  return static_cast<int64_t>(significand - RoundHalfEvenShift);
}
#else
inline long double RoundHalfEvenExtended(long double v) { return std::rint(v); }
inline int64_t RoundHalfEvenSmall(long double v) { return static_cast<int64_t>(std::rint(v)); }
#endif

// Whether `value` and every number within `bound` of it round (halves to even) to the same
// integer, which is then `rounded`: a double worked out to within `bound` of an Extended then
// rounds as the Extended does. Values beyond 2^30 are left to the Extended path.
inline bool RoundsSurely(double value, double bound, int64_t& rounded) {
  if (!(std::fabs(value) < 0x1p30)) return false;
  constexpr double kShift = 0x1.8p52;  // adding and taking off rounds to an integer, halves to even
  const double r = (value + kShift) - kShift;
  if (std::fabs(std::fabs(value - r) - 0.5) <= bound) return false;
  rounded = static_cast<int64_t>(r);
  return true;
}

// Halves-to-even rounding of an Extended into 32 bits (wrapping beyond the range).
inline int32_t RoundToInt(long double v) {
  if (!std::isfinite(v)) return 0;
  if (std::fabs(v) < RoundHalfEvenLimit) return Wrap32(RoundHalfEvenSmall(v));
  // Beyond 64 bits the low 32 bits are meaningless anyway; clamp to keep the cast defined.
  const long double r = std::rint(v);
  if (r >= 9.2e18L || r <= -9.2e18L) return 0;
  return Wrap32(static_cast<int64_t>(r));
}

// --- 3-D vectors, 3×3 matrices (row-major) and quaternions in Extended ---
struct TVec3 {
  long double X = 0, Y = 0, Z = 0;
};
using TMatrix3 = std::array<std::array<long double, 3>, 3>;
// Q0..Q2 the vector part, Q3 the scalar part.
struct TQuaternion {
  long double Q0 = 0, Q1 = 0, Q2 = 0, Q3 = 1;
};

TVec3 Vec3Normalise(const TVec3& v);  // unchanged when the squared length is at most 1e-10
long double Vec3Dot(const TVec3& a, const TVec3& b);
TVec3 Vec3Cross(const TVec3& a, const TVec3& b);              // normalised
TVec3 MatrixTimesVec(const TMatrix3& m, const TVec3& v);      // normalised
TVec3 MatrixTimesVecRaw(const TMatrix3& m, const TVec3& v);   // not normalised
TMatrix3 MatrixScale(const TMatrix3& m, long double factor);
TMatrix3 MatrixTranspose(const TMatrix3& m);
// Rotation by `angle` radians about `axis` (sin and cos of the half angle).
TQuaternion QuaternionFromAxisAngle(const TVec3& axis, long double angle);
// The globe rotation from three angles in degrees: a = (pi - x × pi/180)/2, b = y/2, c = z/2
// (radians); q0 = cb·sa·cc − sb·ca·sc, q1 = cb·sa·sc + sb·ca·cc, q2 = cb·ca·sc − sb·sa·cc,
// q3 = cb·ca·cc + sb·sa·sc.
TQuaternion QuaternionFromEuler(long double xDegrees, long double yDegrees, long double zDegrees);
// Rows: R00 = 1−2(q1²+q2²), R01 = 2(q2q3+q0q1), R02 = 2(q0q2−q1q3); R10 = 2(q0q1−q2q3),
// R11 = 1−2(q0²+q2²), R12 = 2(q0q3+q1q2); R20 = 2(q1q3+q0q2), R21 = 2(q1q2−q0q3),
// R22 = 1−2(q0²+q1²).
TMatrix3 QuaternionToMatrix(const TQuaternion& q);

// --- geographic <-> cartesian ---
// Rounded cartesian point on the sphere of radius EarthRadiusGU + Height: the rounding of
// GeoToCartesianExact (worked in doubles, in Extended only where a coordinate lies too near a
// half to tell).
TPoint3D GeoToCartesian(const TGeoPoint& p);
// The same in Extended without rounding.
TVec3 GeoToCartesianExact(const TGeoPoint& p);
// GeoToCartesianExact worked in doubles: every coordinate within GeoToCartesianBound of it.
std::array<double, 3> GeoToCartesianInDoubles(const TGeoPoint& p);
inline double GeoToCartesianBound(const TGeoPoint& p) {
  return std::fabs(static_cast<double>(p.Height) + EarthRadiusGU) * 0x1p-45;
}
// Back from a unit vector: LongX = trunc(atan2(X, Z) × RadiansToGU), only when Z is not 0
// (else `target.LongX` is left as it was); LatY = trunc(ArcSin(Y) × RadiansToGU); Height 0.
void CartesianToGeo(const TVec3& unitVector, TGeoPoint& target);

// Any longitude wrapped fully into -972,000,000 exclusive..+972,000,000 inclusive.
int32_t WrapLongitude(int64_t longX);

// Mean of the longitudes of a path. Steps of more than 180 degrees are taken the short way
// across the 180-degree meridian, so a chain from 170 E to 170 W averages to 180, not to 0;
// paths that never cross that meridian get the plain mean.
class TLongitudeMean {
 public:
  // Inline: centroids add every point of their chains.
  void Add(int32_t longX) {
    if (Count_ == 0) {
      Unwrapped_ = longX;
    } else {
      int64_t step = int64_t{longX} - Last_;
      if (step > GU_180_DEGREES) step -= GU_360_DEGREES;
      if (step < -GU_180_DEGREES) step += GU_360_DEGREES;
      Unwrapped_ += step;
    }
    Last_ = longX;
    Sum_ += Unwrapped_;
    ++Count_;
  }
  // Rounded (halves to even) and wrapped; 0 without longitudes.
  int32_t Mean() const;

 private:
  int64_t Count_ = 0;
  int64_t Last_ = 0;
  int64_t Unwrapped_ = 0;
  // Exact integer sum (the unwrapped longitudes are whole numbers).
  __int128 Sum_ = 0;
};

// --- rectangles and point sets ---
// Strict inside test; a rectangle crossing the 180-degree meridian also takes p.LongX + 360°.
bool PointInRect(const TGeoPoint& p, const TGeoRect& r);
// Smallest rectangle holding both; an empty operand yields the other.
TGeoRect RectUnion(const TGeoRect& a, const TGeoRect& b);

// Min/max corner of a set of device points (any type with X and Y members).
struct TPointsExtent {
  int32_t MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};
template <class PointT>
TPointsExtent PointsExtent(std::span<const PointT> points) {
  TPointsExtent e;
  if (points.empty()) return e;
  e.MinX = e.MaxX = points[0].X;
  e.MinY = e.MaxY = points[0].Y;
  for (const PointT& p : points) {
    if (p.X < e.MinX) e.MinX = p.X;
    if (p.X > e.MaxX) e.MaxX = p.X;
    if (p.Y < e.MinY) e.MinY = p.Y;
    if (p.Y > e.MaxY) e.MaxY = p.Y;
  }
  return e;
}

// The geometric tests of a point sequence, written once for packed stores and plain arrays:
// `count` points, `at(i)` returns point i as a TGeoPoint.

// The running state of dateline-aware bounds (see TPointStore::Bounds): extremes of the
// longitudes (all, the eastern and the western ones) and latitudes, and how often a step between
// two points crosses the 180-degree meridian (from at or west of 90 W to at or east of 90 E, or
// back: such a step goes the short way round). Extremes and counts do not depend on the order in
// which points and steps are taken, so a sweep may be split over lanes of a vector.
struct TBoundsSweep {
  int32_t MinLong = INT32_MAX, MaxLong = INT32_MIN, MinLat = INT32_MAX, MaxLat = INT32_MIN;
  int32_t MinNonNegLong = INT32_MAX, MaxNegLong = INT32_MIN;
  int64_t Crossings = 0;

  void Include(int32_t longX, int32_t latY) {
    MinLong = std::min(MinLong, longX);
    MaxLong = std::max(MaxLong, longX);
    MinLat = std::min(MinLat, latY);
    MaxLat = std::max(MaxLat, latY);
    if (longX >= 0)
      MinNonNegLong = std::min(MinNonNegLong, longX);
    else
      MaxNegLong = std::max(MaxNegLong, longX);
  }
  void Step(int32_t fromLongX, int32_t toLongX) {
    const bool fromWest = fromLongX <= -GU_90_DEGREES, fromEast = fromLongX >= GU_90_DEGREES;
    const bool toWest = toLongX <= -GU_90_DEGREES, toEast = toLongX >= GU_90_DEGREES;
    Crossings += (fromWest && toEast) || (fromEast && toWest);
  }
  // The rectangle of the points included (at least one): round a pole when the crossings are odd.
  TGeoRect Rect() const {
    TGeoRect r;
    r.LatY = MinLat;
    r.Height = Wrap32(int64_t{MaxLat} - MinLat);
    if (Crossings % 2 == 1) {  // the chain goes round a pole
      r.LongX = -971'999'999;
      r.Width = 1'943'999'998;
    } else if (Crossings == 0) {
      r.LongX = MinLong;
      r.Width = Wrap32(int64_t{MaxLong} - MinLong);
    } else {
      r.LongX = MinNonNegLong;
      r.Width = Wrap32((int64_t{GU_180_DEGREES} - MinNonNegLong) + (int64_t{MaxNegLong} + GU_180_DEGREES));
    }
    return r;
  }
};

// Dateline-aware bounds of a ring of points (the last steps to the first); `at(i)` may return any
// type with LongX and LatY.
template <class PointAt>
TGeoRect BoundsOfPoints(int32_t count, PointAt at) {
  if (count <= 0) return TGeoRect();
  TBoundsSweep sweep;
  int32_t previous = at(count - 1).LongX;
  for (int32_t i = 0; i < count; ++i) {
    const auto p = at(i);
    sweep.Include(p.LongX, p.LatY);
    sweep.Step(previous, p.LongX);
    previous = p.LongX;
  }
  return sweep.Rect();
}

// Crossing rule on the sphere. Longitudes are taken relative to the test point (wrapped into
// -180..+180 degrees) so that rings crossing the prime or the 180-degree meridian are handled
// whole. The test path runs east along the parallel to the test point's anti-meridian, then
// along the anti-meridian to a pole; each ring crossing on the way flips the result. A ring that
// winds round a pole (an odd number of anti-meridian crossings) starts "inside" at the pole on
// the side of its mean latitude.
template <class PointAt>
bool PointInPolygonOf(int32_t count, PointAt at, int32_t x, int32_t y) {
  if (count < 3) return false;
  constexpr int64_t half = GU_180_DEGREES, full = GU_360_DEGREES;
  auto relative = [&](int32_t longX) {
    int64_t r = (int64_t{longX} - x) % full;  // -360..360 exclusive
    if (r > half) r -= full;
    if (r <= -half) r += full;
    return r;  // -180 exclusive .. +180 inclusive
  };
  bool inside = false;
  int antiMeridianCrossings = 0;
  long double latitudeSum = 0;
  std::array<long double, 2> poleCrossings{0, 0};  // crossings between y and the north / south pole
  const TGeoPoint last = at(count - 1);
  int64_t prevX = relative(last.LongX), prevY = last.LatY;
  for (int32_t i = 0; i < count; ++i) {
    const TGeoPoint p = at(i);
    const int64_t px = relative(p.LongX), py = p.LatY;
    latitudeSum += py;
    // The edge prev -> p, its far end unwrapped to lie within 180 degrees of the near one.
    int64_t ex = px;
    if (ex - prevX > half) ex -= full;
    if (prevX - ex > half) ex += full;
    if ((py <= y && prevY > y) || (prevY <= y && py > y)) {
      // x of the edge at latitude y, wrapped back into the relative range; east of the point?
      const long double t = static_cast<long double>(int64_t{y} - prevY) / static_cast<long double>(py - prevY);
      long double crossX = prevX + t * static_cast<long double>(ex - prevX);
      if (crossX > half) crossX -= full;
      if (crossX <= -half) crossX += full;
      if (crossX > 0) inside = !inside;
    }
    // Crossing of the anti-meridian (relative +-180) by the unwrapped edge; the near end lies in
    // -180 exclusive..+180 inclusive, so only the far end can pass the line (half-open, so a
    // vertex on the line counts once).
    if (ex > half || ex <= -half) {
      const int64_t line = ex > half ? half : -half;
      ++antiMeridianCrossings;
      const long double t = static_cast<long double>(line - prevX) / static_cast<long double>(ex - prevX);
      const long double crossY = prevY + t * static_cast<long double>(py - prevY);
      if (crossY > y) poleCrossings[0] += 1;
      else poleCrossings[1] += 1;
    }
    prevX = px;
    prevY = py;
  }
  // Continue the path along the anti-meridian to the reference pole.
  const bool windsRoundPole = antiMeridianCrossings % 2 == 1;
  const bool north = !windsRoundPole || latitudeSum >= 0;
  const long double passed = north ? poleCrossings[0] : poleCrossings[1];
  if (static_cast<int64_t>(passed) % 2 == 1) inside = !inside;
  return windsRoundPole ? !inside : inside;
}

// Whether (x, y) lies within `tolerance` of one of the segments; zero-length segments never do.
template <class PointAt>
bool PointOnPolylineOf(int32_t count, PointAt at, int32_t x, int32_t y, int32_t tolerance) {
  for (int32_t i = 1; i < count; ++i) {
    const TGeoPoint a = at(i - 1), b = at(i);
    const long double dx = static_cast<long double>(b.LongX) - a.LongX;
    const long double dy = static_cast<long double>(b.LatY) - a.LatY;
    const long double lengthSq = dx * dx + dy * dy;
    if (lengthSq == 0) continue;
    const long double ex = static_cast<long double>(x) - a.LongX;
    const long double ey = static_cast<long double>(y) - a.LatY;
    const long double t = (ex * dx + ey * dy) / lengthSq;
    if (t < 0 || t > 1) continue;
    const long double distance = std::fabs(ex * dy - ey * dx) / std::sqrt(lengthSq);
    if (distance <= tolerance) return true;
  }
  return false;
}

inline TGeoRect BoundsOfPoints(std::span<const TGeoPoint> points) {
  return BoundsOfPoints(static_cast<int32_t>(points.size()), [&](int32_t i) { return points[i]; });
}
inline bool PointInPolygon(std::span<const TGeoPoint> polygon, int32_t longX, int32_t latY) {
  return PointInPolygonOf(static_cast<int32_t>(polygon.size()),
                          [&](int32_t i) { return polygon[i]; }, longX, latY);
}
inline bool PointOnPolyline(std::span<const TGeoPoint> polyline, int32_t longX, int32_t latY,
                            int32_t tolerance) {
  return PointOnPolylineOf(static_cast<int32_t>(polyline.size()),
                           [&](int32_t i) { return polyline[i]; }, longX, latY, tolerance);
}

}  // namespace globe
