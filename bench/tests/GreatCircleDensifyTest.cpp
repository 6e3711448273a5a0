#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "bench/support/GreatCircleDensify.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeUnits.h"

using bench::TRing;
using globe::GlobeUnitsPerDegree;
using globe::TGeoPoint;

namespace {

TGeoPoint Deg(double longitude, double latitude) {
  return TGeoPoint{static_cast<int32_t>(std::lround(longitude * GlobeUnitsPerDegree)),
                   static_cast<int32_t>(std::lround(latitude * GlobeUnitsPerDegree)), 0};
}

globe::TVec3 Unit(const TGeoPoint& p) { return globe::Vec3Normalise(globe::GeoToCartesianExact(p)); }

TEST(GreatCircleDensify, PiecesAreTheCeilingOfLengthOverStepAndAtLeastOne) {
  EXPECT_EQ(bench::PiecesFor(10, 3), 4);
  EXPECT_EQ(bench::PiecesFor(9, 3), 3);
  EXPECT_EQ(bench::PiecesFor(0, 3), 1);
  EXPECT_EQ(bench::PiecesFor(1000, 0), 1);
  EXPECT_EQ(bench::DensifiedCount({10, 9, 0}, 3), 1 + 4 + 3 + 1);
}

TEST(GreatCircleDensify, EquatorEdgeIsCutIntoEqualDegrees) {
  // Ten degrees of equator with a one-degree step: the points fall on every whole degree.
  const TRing ring{Deg(0, 0), Deg(10, 0)};
  const long double step = bench::EdgeLengths(ring)[0] / 10.0L;
  const TRing dense = bench::Densify(ring, step);
  ASSERT_EQ(dense.size(), 11u);
  for (int k = 0; k <= 10; ++k) {
    EXPECT_NEAR(dense[k].LongX, k * GlobeUnitsPerDegree, 2) << k;
    EXPECT_NEAR(dense[k].LatY, 0, 2) << k;
  }
}

TEST(GreatCircleDensify, NewPointsLieOnTheEdgesGreatCircleInOrder) {
  // An oblique edge across the prime meridian and one across the 180-degree meridian.
  const TRing ring{Deg(-30, 10), Deg(40, 50), Deg(170, 60), Deg(-170, 55)};
  const std::vector<int32_t> lengths = bench::EdgeLengths(ring);
  const long double step = 90'000 * 60;  // 60 nautical miles
  const TRing dense = bench::Densify(ring, step);
  ASSERT_EQ(static_cast<int64_t>(dense.size()), bench::DensifiedCount(lengths, step));
  EXPECT_GT(dense.size(), 40u);

  size_t at = 0;
  for (size_t e = 0; e + 1 < ring.size(); ++e) {
    const globe::TVec3 a = Unit(ring[e]), b = Unit(ring[e + 1]);
    const globe::TVec3 normal = globe::Vec3Cross(a, b);
    ASSERT_EQ(dense[at].LongX, ring[e].LongX);  // originals stay, in order
    ASSERT_EQ(dense[at].LatY, ring[e].LatY);
    const int32_t pieces = bench::PiecesFor(lengths[e], step);
    const long double along = std::acos(static_cast<double>(globe::Vec3Dot(a, b))) / pieces;
    for (int32_t k = 1; k <= pieces; ++k) {
      const globe::TVec3 p = Unit(dense[at + k]);
      const globe::TVec3 q = Unit(dense[at + k - 1]);
      EXPECT_NEAR(static_cast<double>(globe::Vec3Dot(p, normal)), 0, 1e-7) << e << " " << k;
      EXPECT_NEAR(std::acos(static_cast<double>(globe::Vec3Dot(p, q))), static_cast<double>(along), 1e-6);
    }
    at += static_cast<size_t>(pieces);
  }
  EXPECT_EQ(dense.back().LongX, ring.back().LongX);
  EXPECT_EQ(at, dense.size() - 1);
}

TEST(GreatCircleDensify, StepsReachTheTargetWithoutRingsPassingTheirCap) {
  // A small ring and a long one: the long one is held at the cap, the small one takes the rest.
  TRing small{Deg(0, 0), Deg(1, 0), Deg(1, 1), Deg(0, 0)};
  TRing large;
  for (int i = 0; i <= 36; ++i) large.push_back(Deg(-180 + 10 * i, 0));
  const std::vector<std::vector<int32_t>> lengths{bench::EdgeLengths(small), bench::EdgeLengths(large)};
  std::vector<long double> steps;
  bench::ChooseSteps(lengths, 1800, 1000, steps);
  ASSERT_EQ(steps.size(), 2u);
  const int64_t smallCount = bench::DensifiedCount(lengths[0], steps[0]);
  const int64_t largeCount = bench::DensifiedCount(lengths[1], steps[1]);
  EXPECT_LE(largeCount, 1000);
  EXPECT_GE(largeCount, 1000 - 36);  // within one piece per edge of the cap
  EXPECT_LE(smallCount + largeCount, 1800);
  EXPECT_GE(smallCount + largeCount, 1800 - 3);  // within one piece per edge of the small ring
  EXPECT_LT(steps[0], steps[1]);

  // A ring with more edges than the cap keeps its points.
  bench::ChooseSteps({lengths[1]}, 100, 10, steps);
  EXPECT_EQ(bench::DensifiedCount(lengths[1], steps[0]), 37);
}

}  // namespace
