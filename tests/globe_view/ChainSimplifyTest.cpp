// Simplification of chains for the levels of detail: what is kept is part of the chain, every
// point left out stays within the tolerance, rings stay closed and keep their winding, and small
// chains and objects are left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/ChainSimplify.h"
#include "globe/view/LevelOfDetail.h"

namespace globe {
namespace {

constexpr int64_t kDeg = GlobeUnitsPerDegree;
constexpr int64_t kTurn = 360 * kDeg;

// Longitude difference b - a the short way round.
long double LongStep(int32_t a, int32_t b) {
  int64_t d = (int64_t{b} - a) % kTurn;
  if (d > kTurn / 2) d -= kTurn;
  if (d < -kTurn / 2) d += kTurn;
  return static_cast<long double>(d);
}

// Distance in the longitude/latitude plane of p from the segment a-b (longitudes taken
// relative to a the short way round).
long double DistanceToSegment(const TGeoPoint& p, const TGeoPoint& a, const TGeoPoint& b) {
  const long double bx = LongStep(a.LongX, b.LongX), by = b.LatY - static_cast<long double>(a.LatY);
  const long double px = LongStep(a.LongX, p.LongX), py = p.LatY - static_cast<long double>(a.LatY);
  const long double length2 = bx * bx + by * by;
  long double t = length2 > 0 ? (px * bx + py * by) / length2 : 0;
  t = std::clamp<long double>(t, 0, 1);
  return std::hypot(px - t * bx, py - t * by);
}

// Winding of a ring by the shoelace sum over short-way longitude steps.
int Winding(const TPointStore& ring) {
  long double x = 0, sum = 0;
  std::vector<long double> xs{0};
  for (int32_t i = 1; i < ring.Count(); ++i) xs.push_back(x += LongStep(ring.LongX(i - 1), ring.LongX(i)));
  for (int32_t i = 0; i < ring.Count(); ++i) {
    const int32_t j = (i + 1) % ring.Count();
    sum += xs[i] * ring.LatY(j) - xs[j] * ring.LatY(i);
  }
  return sum > 0 ? 1 : (sum < 0 ? -1 : 0);
}

TPointStore Circle(int32_t count, int64_t centreLong, int64_t centreLat, int64_t radius, bool repeatFirst,
                   long double wobble = 0, int turn = 1) {
  TPointStore ring;
  for (int32_t i = 0; i < count; ++i) {
    const long double a = turn * 2 * std::numbers::pi_v<long double> * i / count;
    const long double r = radius * (1 + wobble * std::sin(7 * a));
    int64_t x = centreLong + std::llround(r * std::cos(a));
    if (x > kTurn / 2) x -= kTurn;
    ring.Add(TGeoPoint(static_cast<int32_t>(x), static_cast<int32_t>(centreLat + std::llround(r * std::sin(a))), 0));
  }
  if (repeatFirst) ring.Add(ring.Point(0));
  return ring;
}

// A wave two degrees high with a zigzag of `jitter` on it.
TPointStore Wave(int32_t count, int32_t step, int32_t jitter) {
  TPointStore line;
  for (int32_t i = 0; i < count; ++i)
    line.Add(TGeoPoint(i * step, static_cast<int32_t>(std::lround(2 * kDeg * std::sin(i / 100.0))) + i % 2 * jitter, 0));
  return line;
}

struct SimplifyCase {
  const char* Name;
  TPointStore Chain;
  int32_t Tolerance;
  bool Closed;
};

TEST(SimplifyChainTest, KeepsAnOrderedPartWithinTheToleranceAndRingsClosedAndTheRightWayRound) {
  const SimplifyCase cases[] = {
      {"ring, first point repeated", Circle(2000, 10 * kDeg, 40 * kDeg, 5 * kDeg, true, 0.05L), 1 << 19, true},
      {"ring, open ends", Circle(2000, -60 * kDeg, -20 * kDeg, 3 * kDeg, false, 0.1L), 1 << 17, true},
      {"ring across the 180 meridian", Circle(3000, 180 * kDeg, 10 * kDeg, 2 * kDeg, true, 0.05L), 1 << 19, true},
      {"clockwise ring", Circle(500, 0, 0, 4 * kDeg, true, 0.2L, -1), 1 << 21, true},
      {"line with a fine zigzag", Wave(1000, 20'000, 60'000), 1 << 17, false},
  };
  for (const SimplifyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TPointStore simple = SimplifyChain(c.Chain, c.Tolerance, c.Closed);
    ASSERT_LT(simple.Count(), c.Chain.Count() / 2);  // worth it
    ASSERT_GE(simple.Count(), 3);
    EXPECT_EQ(simple.Point(0), c.Chain.Point(0));
    EXPECT_EQ(simple.Point(simple.Count() - 1), c.Chain.Point(c.Chain.Count() - 1));
    // Every kept point is the next matching point of the chain; the points between two kept
    // ones lie within the tolerance of the segment joining them.
    int32_t at = 0;
    for (int32_t k = 1; k < simple.Count(); ++k) {
      const TGeoPoint from = simple.Point(k - 1), to = simple.Point(k);
      int32_t next = at + 1;
      while (next < c.Chain.Count() && c.Chain.Point(next) != to) ++next;
      ASSERT_LT(next, c.Chain.Count()) << "kept point " << k << " is not a later point of the chain";
      for (int32_t p = at + 1; p < next; ++p)
        ASSERT_LE(DistanceToSegment(c.Chain.Point(p), from, to), c.Tolerance) << "point " << p;
      at = next;
    }
    if (c.Closed) {
      EXPECT_EQ(Winding(simple), Winding(c.Chain));
    }
  }
}

TEST(SimplifyChainTest, ARingThinnerThanTheToleranceIsNotTurnedOverOrFlattened) {
  // A narrow sliver: out along one side and back a little apart, narrower than the tolerance.
  TPointStore sliver;
  for (int32_t i = 0; i <= 40; ++i) sliver.Add(TGeoPoint(i * 100'000, i % 3 * 1'000, 0));
  for (int32_t i = 40; i >= 0; --i) sliver.Add(TGeoPoint(i * 100'000, 20'000 + i % 5 * 1'000, 0));
  const int winding = Winding(sliver);
  ASSERT_NE(winding, 0);
  for (int32_t tolerance : {10'000, 100'000, 1'000'000}) {
    const TPointStore simple = SimplifyChain(sliver, tolerance, true);
    EXPECT_GE(simple.Count(), 3) << tolerance;
    EXPECT_EQ(Winding(simple), winding) << tolerance;
  }
}

TEST(SimplifyChainTest, SmallChainsAndObjectsStayAsTheyAre) {
  const TPointStore octagon = Circle(kSmallChainPoints, 0, 0, 10 * kDeg, false);
  const TPointStore same = SimplifyChain(octagon, 100 * kDeg, true);
  ASSERT_EQ(same.Count(), octagon.Count());
  for (int32_t i = 0; i < octagon.Count(); ++i) EXPECT_EQ(same.Point(i), octagon.Point(i));
  // An object under kMinLevelPoints points gets no copy, however coarse the level.
  TGeoDataObject small(nullptr);
  small.Chains().Chain(0) = Circle(kMinLevelPoints - 2, 0, 0, kDeg / 10, true);
  small.SetClosed(true);
  EXPECT_EQ(SimplifiedCopy(small, LevelTolerance(kLevelCount - 1)), nullptr);
}

TEST(SimplifyChainTest, CopyKeepsTheObjectsBoundsCentreAndTitle) {
  TGeoDataObject full(nullptr);
  full.Chains().Chain(0) = Circle(400, 5 * kDeg, 5 * kDeg, 2 * kDeg, true, 0.1L);
  full.Chains().Chain(1) = Circle(300, 9 * kDeg, 5 * kDeg, kDeg, true, 0.1L);
  full.SetClosed(true);
  full.SetTitle("Island");
  full.SetPresenterID(7);
  const auto copy = SimplifiedCopy(full, LevelTolerance(1));
  ASSERT_NE(copy, nullptr);
  EXPECT_LT(copy->Chains().PointCount(), full.Chains().PointCount() / 4);
  ASSERT_EQ(copy->Chains().Count(), 2);
  EXPECT_EQ(std::tuple(copy->GetBounds(), copy->GetCentroid(), copy->Title(), copy->PresenterID(), copy->Closed()),
            std::tuple(full.GetBounds(), full.GetCentroid(), "Island", 7, true));
}

}  // namespace
}  // namespace globe
