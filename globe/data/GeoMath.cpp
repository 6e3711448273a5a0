#include "globe/data/GeoMath.h"

#include <algorithm>
#include <cstdlib>

namespace globe {

long double NormaliseDegrees(long double degrees) {
  if (degrees > 180) return degrees - 360;
  if (degrees < -180) return degrees + 360;
  return degrees;
}

long double NormaliseRadians(long double radians) {
  if (radians <= -GUPi) return radians + 2 * GUPi;
  if (radians > GUPi) return radians - 2 * GUPi;
  return radians;
}

long double Hypot(long double a, long double b) {
  const long double p = std::max(std::fabs(a), std::fabs(b));
  const long double q = std::min(std::fabs(a), std::fabs(b));
  if (q == 0) return p;
  const long double r = q / p;
  return p * std::sqrt(1 + r * r);
}

long double ArcTan2(long double y, long double x) { return std::atan2(y, x); }

long double ArcSin(long double v) {
  if (std::fabs(v) >= 1) return Sign(v) * (GUPi / 2);
  return std::atan2(v, std::sqrt(1 - v * v));
}

long double ArcCos(long double v) {
  const long double rest = 1 - v * v;
  if (rest > 0) return std::atan2(std::sqrt(rest), v);
  return v < 0 ? GUPi : 0;
}

long double Tan(long double v) { return std::tan(v); }

void SinCos(long double angle, long double& sinValue, long double& cosValue) {
  sinValue = std::sin(angle);
  cosValue = std::cos(angle);
}

int32_t MulDiv(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return -1;
  // |a|, |b| and |c| stay within 33 bits for every caller, so the product fits in 128 bits;
  // __int128 keeps even hostile values exact.
  const __int128 product = static_cast<__int128>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const __int128 absProduct = product < 0 ? -product : product;
  const __int128 absC = c < 0 ? -static_cast<__int128>(c) : c;
  const __int128 quotient = (absProduct + absC / 2) / absC;  // halves away from zero
  const __int128 result = negative ? -quotient : quotient;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<int32_t>(result);
}

TVec3 Vec3Normalise(const TVec3& v) {
  const long double lengthSq = v.X * v.X + v.Y * v.Y + v.Z * v.Z;
  if (lengthSq <= 1e-10L) return v;
  const long double inv = 1 / std::sqrt(lengthSq);
  return {v.X * inv, v.Y * inv, v.Z * inv};
}

long double Vec3Dot(const TVec3& a, const TVec3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

TVec3 Vec3Cross(const TVec3& a, const TVec3& b) {
  return Vec3Normalise({a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X});
}

TVec3 MatrixTimesVecRaw(const TMatrix3& m, const TVec3& v) {
  return {m[0][0] * v.X + m[0][1] * v.Y + m[0][2] * v.Z,
          m[1][0] * v.X + m[1][1] * v.Y + m[1][2] * v.Z,
          m[2][0] * v.X + m[2][1] * v.Y + m[2][2] * v.Z};
}

TVec3 MatrixTimesVec(const TMatrix3& m, const TVec3& v) {
  return Vec3Normalise(MatrixTimesVecRaw(m, v));
}

TMatrix3 MatrixScale(const TMatrix3& m, long double factor) {
  TMatrix3 r = m;
  for (auto& row : r)
    for (long double& e : row) e *= factor;
  return r;
}

TMatrix3 MatrixTranspose(const TMatrix3& m) {
  TMatrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i][j] = m[j][i];
  return r;
}

TQuaternion QuaternionFromAxisAngle(const TVec3& axis, long double angle) {
  long double s, c;
  SinCos(angle / 2, s, c);
  return {axis.X * s, axis.Y * s, axis.Z * s, c};
}

TQuaternion QuaternionFromEuler(long double xDegrees, long double yDegrees, long double zDegrees) {
  const long double degToRad = GUPi / 180;
  long double sa, ca, sb, cb, sc, cc;
  SinCos((GUPi - xDegrees * degToRad) / 2, sa, ca);
  SinCos(yDegrees * degToRad / 2, sb, cb);
  SinCos(zDegrees * degToRad / 2, sc, cc);
  return {cb * sa * cc - sb * ca * sc, cb * sa * sc + sb * ca * cc, cb * ca * sc - sb * sa * cc,
          cb * ca * cc + sb * sa * sc};
}

TMatrix3 QuaternionToMatrix(const TQuaternion& q) {
  const long double q0 = q.Q0, q1 = q.Q1, q2 = q.Q2, q3 = q.Q3;
  TMatrix3 r{};
  r[0] = {1 - 2 * (q1 * q1 + q2 * q2), 2 * (q2 * q3 + q0 * q1), 2 * (q0 * q2 - q1 * q3)};
  r[1] = {2 * (q0 * q1 - q2 * q3), 1 - 2 * (q0 * q0 + q2 * q2), 2 * (q0 * q3 + q1 * q2)};
  r[2] = {2 * (q1 * q3 + q0 * q2), 2 * (q1 * q2 - q0 * q3), 1 - 2 * (q0 * q0 + q1 * q1)};
  return r;
}

namespace {

// Sine and cosine of an angle in GlobeUnit, in Extended or in doubles. The quarter turns are
// taken off in integers, exactly, so the library works on at most an eighth of a turn, where it
// needs no argument reduction (that reduction costs more than the sine itself in Extended).
template <class Float>
void SinCosOfGU(int64_t angle, Float& sinValue, Float& cosValue) {
  const int64_t quarter = GU_90_DEGREES;
  int64_t turns = (angle + quarter / 2) / quarter;
  if (angle + quarter / 2 < 0 && (angle + quarter / 2) % quarter != 0) --turns;  // floor
  const Float rest = static_cast<Float>(angle - turns * quarter) * static_cast<Float>(GUToRadians);
  const Float s = std::sin(rest), c = std::cos(rest);
  switch (turns & 3) {
    case 0: sinValue = s, cosValue = c; break;
    case 1: sinValue = c, cosValue = -s; break;
    case 2: sinValue = -s, cosValue = -c; break;
    default: sinValue = -c, cosValue = s; break;
  }
}

// The last two angles asked for, with their sines and cosines: graticule lines repeat one
// coordinate from point to point, and the corners and sampled edges of a bounding rectangle
// take turns between two longitudes and two latitudes.
struct TSinCosMemo {
  struct TEntry {
    int64_t Angle = 0;
    long double Sin = 0, Cos = 1;
  };
  TEntry Entries[2];
  int Older = 1;

  void Get(int64_t angle, long double& sinValue, long double& cosValue) {
    for (int i = 0; i < 2; ++i)
      if (Entries[i].Angle == angle) {
        sinValue = Entries[i].Sin;
        cosValue = Entries[i].Cos;
        Older = 1 - i;
        return;
      }
    TEntry& entry = Entries[Older];
    SinCosOfGU(angle, entry.Sin, entry.Cos);
    entry.Angle = angle;
    Older = 1 - Older;
    sinValue = entry.Sin;
    cosValue = entry.Cos;
  }
};

}  // namespace

TVec3 GeoToCartesianExact(const TGeoPoint& p) {
  thread_local TSinCosMemo longitudes, latitudes;
  long double sinA = 0, cosA = 1, sinB = 0, cosB = 1;
  longitudes.Get(p.LongX, sinA, cosA);
  latitudes.Get(p.LatY, sinB, cosB);
  const long double r = static_cast<long double>(p.Height) + EarthRadiusGU;
  const long double t = r * cosB;
  return {t * sinA, r * sinB, t * cosA};
}

std::array<double, 3> GeoToCartesianInDoubles(const TGeoPoint& p) {
  // The sines and cosines are within a few units of their last place, so the coordinates lie
  // far within 2^-45 of the radius from the Extended ones.
  double sinA = 0, cosA = 1, sinB = 0, cosB = 1;
  SinCosOfGU(p.LongX, sinA, cosA);
  SinCosOfGU(p.LatY, sinB, cosB);
  const double r = static_cast<double>(p.Height) + EarthRadiusGU;
  const double t = r * cosB;
  return {t * sinA, r * sinB, t * cosA};
}

TPoint3D GeoToCartesian(const TGeoPoint& p) {
  const std::array<double, 3> v = GeoToCartesianInDoubles(p);
  const double bound = GeoToCartesianBound(p);
  int64_t x = 0, y = 0, z = 0;
  if (RoundsSurely(v[0], bound, x) && RoundsSurely(v[1], bound, y) && RoundsSurely(v[2], bound, z))
    return {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(z)};
  const TVec3 exact = GeoToCartesianExact(p);
  return {RoundToInt(exact.X), RoundToInt(exact.Y), RoundToInt(exact.Z)};
}

void CartesianToGeo(const TVec3& unitVector, TGeoPoint& target) {
  auto truncToInt = [](long double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(Wrap32(static_cast<int64_t>(std::trunc(v))));
  };
  if (unitVector.Z != 0) target.LongX = truncToInt(std::atan2(unitVector.X, unitVector.Z) * RadiansToGU);
  target.LatY = truncToInt(ArcSin(unitVector.Y) * RadiansToGU);
  target.Height = 0;
}

int32_t WrapLongitude(int64_t longX) {
  int64_t r = longX % GU_360_DEGREES;
  if (r > GU_180_DEGREES) r -= GU_360_DEGREES;
  if (r <= -GU_180_DEGREES) r += GU_360_DEGREES;
  return static_cast<int32_t>(r);
}

int32_t TLongitudeMean::Mean() const {
  if (Count_ == 0) return 0;
  const long double mean = std::nearbyint(static_cast<long double>(Sum_) / static_cast<long double>(Count_));
  if (!std::isfinite(mean) || std::fabs(mean) > 9e18L) return 0;
  return WrapLongitude(static_cast<int64_t>(mean));
}

bool PointInRect(const TGeoPoint& p, const TGeoRect& r) {
  const int64_t south = r.LatY, north = int64_t{r.LatY} + r.Height;
  if (!(south < p.LatY && p.LatY < north)) return false;
  const int64_t west = r.LongX, east = int64_t{r.LongX} + r.Width;
  if (west < p.LongX && p.LongX < east) return true;
  if (east >= 972'000'001) {
    const int64_t shifted = int64_t{p.LongX} + GU_360_DEGREES;
    return west < shifted && shifted < east;
  }
  return false;
}

TGeoRect RectUnion(const TGeoRect& a, const TGeoRect& b) {
  if (RectIsEmpty(a)) return b;
  if (RectIsEmpty(b)) return a;
  const int64_t west = std::min(a.LongX, b.LongX);
  const int64_t south = std::min(a.LatY, b.LatY);
  const int64_t east = std::max(int64_t{a.LongX} + a.Width, int64_t{b.LongX} + b.Width);
  const int64_t north = std::max(int64_t{a.LatY} + a.Height, int64_t{b.LatY} + b.Height);
  return TGeoRect(static_cast<int32_t>(west), static_cast<int32_t>(south), Wrap32(east - west),
                  Wrap32(north - south));
}

}  // namespace globe
