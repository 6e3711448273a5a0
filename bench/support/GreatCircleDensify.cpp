#include "bench/support/GreatCircleDensify.h"

#include <algorithm>
#include <cmath>

#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"

namespace bench {

using globe::TGeoPoint;

std::vector<int32_t> EdgeLengths(const TRing& ring) {
  std::vector<int32_t> lengths;
  for (size_t i = 1; i < ring.size(); ++i) lengths.push_back(globe::GreatCircleDistance(ring[i - 1], ring[i]));
  return lengths;
}

int32_t PiecesFor(int32_t length, long double step) {
  if (step <= 0) return 1;
  return static_cast<int32_t>(std::clamp<long double>(std::ceil(length / step), 1, 1'000'000));
}

int64_t DensifiedCount(const std::vector<int32_t>& edgeLengths, long double step) {
  int64_t count = 1;
  for (int32_t length : edgeLengths) count += PiecesFor(length, step);
  return count;
}

TRing Densify(const TRing& ring, long double step) {
  if (ring.size() < 2) return ring;
  TRing out;
  const std::vector<int32_t> lengths = EdgeLengths(ring);
  out.reserve(static_cast<size_t>(DensifiedCount(lengths, step)));
  out.push_back(ring.front());
  for (size_t i = 1; i < ring.size(); ++i) {
    const TGeoPoint& a = ring[i - 1];
    const TGeoPoint& b = ring[i];
    const int32_t pieces = PiecesFor(lengths[i - 1], step);
    const globe::TVec3 va = globe::Vec3Normalise(globe::GeoToCartesianExact(a));
    const globe::TVec3 vb = globe::Vec3Normalise(globe::GeoToCartesianExact(b));
    const long double angle = globe::ArcCos(globe::Vec3Dot(va, vb));
    const long double sinAngle = std::sin(angle);
    for (int32_t k = 1; k < pieces; ++k) {
      // Spherical interpolation: equal angles along the great circle of a and b.
      const long double t = static_cast<long double>(k) / pieces;
      const long double wa = sinAngle > 1e-15L ? std::sin((1 - t) * angle) / sinAngle : 1 - t;
      const long double wb = sinAngle > 1e-15L ? std::sin(t * angle) / sinAngle : t;
      const globe::TVec3 v{wa * va.X + wb * vb.X, wa * va.Y + wb * vb.Y, wa * va.Z + wb * vb.Z};
      TGeoPoint p = a;
      globe::CartesianToGeo(globe::Vec3Normalise(v), p);
      out.push_back(p);
    }
    out.push_back(b);
  }
  return out;
}

namespace {

// The step (by bisection on its logarithm) for which `count(step)` comes closest to `target`
// from below; counts fall as the step grows.
template <class Count>
long double StepForTarget(Count count, int64_t target) {
  long double fine = 1, coarse = 1e10L;  // GlobeUnit: far below a point's spacing; beyond the globe
  if (count(coarse) >= target) return coarse;
  for (int i = 0; i < 60; ++i) {
    const long double middle = std::sqrt(fine * coarse);
    (count(middle) > target ? fine : coarse) = middle;
  }
  return coarse;
}

}  // namespace

void ChooseSteps(const std::vector<std::vector<int32_t>>& edgeLengths, int64_t target, int64_t maxPerRing,
                 std::vector<long double>& ringSteps) {
  const auto& rings = edgeLengths;
  // Each ring's own step for its cap, then the shared step that fills the target with the rings
  // capped at their own.
  std::vector<long double> capSteps(rings.size());
  for (size_t r = 0; r < rings.size(); ++r)
    capSteps[r] = StepForTarget([&](long double s) { return DensifiedCount(rings[r], s); }, maxPerRing);
  const long double shared = StepForTarget(
      [&](long double s) {
        int64_t total = 0;
        for (size_t r = 0; r < rings.size(); ++r) total += DensifiedCount(rings[r], std::max(s, capSteps[r]));
        return total;
      },
      target);
  ringSteps.resize(rings.size());
  for (size_t r = 0; r < rings.size(); ++r) ringSteps[r] = std::max(shared, capSteps[r]);
}

}  // namespace bench
