#include "globe/data/GreatCirclePath.h"

#include <algorithm>
#include <cmath>

#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"

namespace globe {

namespace {

struct TUnitVector {
  long double X, Y, Z;
};

TUnitVector ToVector(const TGeoPoint& p) {
  const long double lat = p.LatY * GUToRadians, lon = p.LongX * GUToRadians;
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

TGeoPoint ToPoint(const TUnitVector& v) {
  const long double lat = std::atan2(v.Z, std::hypot(v.X, v.Y));
  const long double lon = std::atan2(v.Y, v.X);
  return TGeoPoint(static_cast<int32_t>(RoundHalfEvenSmall(lon * RadiansToGU)),
                   static_cast<int32_t>(RoundHalfEvenSmall(lat * RadiansToGU)));
}

// Shortest longitude difference b - a, in GlobeUnit (-180..180 degrees).
int64_t LongitudeStep(int32_t a, int32_t b) {
  int64_t d = int64_t{b} - a;
  if (d > GU_180_DEGREES) d -= GU_360_DEGREES;
  if (d < -GU_180_DEGREES) d += GU_360_DEGREES;
  return d < 0 ? -d : d;
}

constexpr int64_t kMaxLongitudeStep = GlobeUnitsPerDegree / 2;
constexpr int32_t kShortestStep = GlobeUnitsPerMinute / 100;  // a hundredth of a mile
constexpr int kMaxHalvings = 24;

}  // namespace

TGeoPoint GreatCirclePoint(const TGeoPoint& a, const TGeoPoint& b, long double t) {
  const TUnitVector u = ToVector(a), v = ToVector(b);
  const long double dot = std::clamp(u.X * v.X + u.Y * v.Y + u.Z * v.Z, -1.0L, 1.0L);
  const long double angle = std::acos(dot);
  const long double s = std::sin(angle);
  if (s < 1e-15L) return a;
  const long double wa = std::sin((1 - t) * angle) / s, wb = std::sin(t * angle) / s;
  return ToPoint({wa * u.X + wb * v.X, wa * u.Y + wb * v.Y, wa * u.Z + wb * v.Z});
}

std::vector<TGeoPoint> GreatCirclePath(const TGeoPoint& a, const TGeoPoint& b, long double fromT, long double toT,
                                       int32_t maxStep) {
  const int32_t length = GreatCircleDistance(a, b);
  const long double span = std::max(toT - fromT, 0.0L);
  const long double pieces = std::ceil(span * length / std::max<int32_t>(maxStep, 1));
  const int64_t count = std::max<int64_t>(1, static_cast<int64_t>(pieces));
  std::vector<TGeoPoint> path{GreatCirclePoint(a, b, fromT)};
  // Appends the points after tFrom up to tTo, halving where longitude still jumps (near a pole).
  auto append = [&](auto&& self, long double tFrom, const TGeoPoint& from, long double tTo, int depth) -> void {
    const TGeoPoint to = GreatCirclePoint(a, b, tTo);
    const bool jump = LongitudeStep(from.LongX, to.LongX) > kMaxLongitudeStep;
    if (jump && depth < kMaxHalvings && (tTo - tFrom) * length > kShortestStep) {
      const long double tMid = (tFrom + tTo) / 2;
      self(self, tFrom, from, tMid, depth + 1);
      self(self, tMid, path.back(), tTo, depth + 1);
      return;
    }
    path.push_back(to);
  };
  for (int64_t i = 1; i <= count; ++i) {
    const long double t = i == count ? toT : fromT + span * i / count;
    append(append, fromT + span * (i - 1) / count, path.back(), t, 0);
  }
  return path;
}

}  // namespace globe
