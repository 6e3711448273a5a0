#include "globe/data/PointStore.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace globe {
namespace {

constexpr int32_t Deg = GlobeUnitsPerDegree;

TPointStore StoreOf(std::initializer_list<TGeoPoint> points, bool heights = false) {
  TPointStore store(heights);
  for (const TGeoPoint& p : points) store.Add(p);
  return store;
}

TGeoPoint DegPoint(int32_t longDeg, int32_t latDeg) { return TGeoPoint(longDeg * Deg, latDeg * Deg); }

TEST(PointStore, CountCreatesZeroPointsAndAddAppends) {
  TPointStore store;
  EXPECT_EQ(store.Count(), 0);
  store.SetCount(2);
  EXPECT_EQ(store.Point(1), TGeoPoint());
  EXPECT_EQ(store.Add(TGeoPoint(5, 6)), 2);
  EXPECT_EQ(store.Point(2), TGeoPoint(5, 6));
  store.Delete(0);
  store.Delete(7);  // outside: nothing
  EXPECT_EQ(store.Count(), 2);
  EXPECT_EQ(store.Point(1), TGeoPoint(5, 6));
  EXPECT_THROW(store.Point(2), std::out_of_range);
  EXPECT_THROW(store.SetPoint(-1, TGeoPoint()), std::out_of_range);
}

TEST(PointStore, HeightsAreKeptOnlyWhenAskedFor) {
  TPointStore flat = StoreOf({TGeoPoint(1, 2, 3)});
  EXPECT_EQ(flat.Point(0), TGeoPoint(1, 2, 0));
  EXPECT_EQ(flat.Flags() & psfStoreHeight, 0);

  TPointStore high = StoreOf({TGeoPoint(1, 2, 3), TGeoPoint(4, 5, 6)}, true);
  EXPECT_EQ(high.Point(1), TGeoPoint(4, 5, 6));
  EXPECT_EQ(high.Flags() & psfStoreHeight, psfStoreHeight);
  // Packed: 12 bytes a point with heights, 8 without.
  TPointStore same = high;
  same.SetStoreHeight(false);
  EXPECT_EQ(high.InstanceMemory() - same.InstanceMemory(), 2 * 4);

  // Switching off and on again keeps the positions and leaves every height at 0.
  high.SetStoreHeight(false);
  EXPECT_EQ(high.Point(1), TGeoPoint(4, 5, 0));
  high.SetStoreHeight(true);
  EXPECT_EQ(high.Count(), 2);
  EXPECT_EQ(high.Point(0), TGeoPoint(1, 2, 0));
  EXPECT_EQ(high.Point(1), TGeoPoint(4, 5, 0));
  high.SetPoint(0, TGeoPoint(7, 8, 9));
  EXPECT_EQ(high.Point(0).Height, 9);
}

TEST(PointStore, StreamFlagsLeaveTheHeightBitAlone) {
  TPointStore store(true);
  store.SetStreamFlags(0xFF);
  EXPECT_EQ(store.Flags(), psfStreamFlags | psfStoreHeight);
  store.SetStreamFlags(psfDeltaEncoded);
  EXPECT_EQ(store.Flags(), psfDeltaEncoded | psfStoreHeight);
  EXPECT_TRUE(store.StoreHeight());
  EXPECT_EQ(store.Clone()->Flags(), store.Flags());
}

TEST(PointStore, TranslateMovesHeightsOnlyWhenKeptAndWrapsIn32Bits) {
  TPointStore flat = StoreOf({TGeoPoint(1, 2)});
  flat.Translate(10, 20, 30);
  EXPECT_EQ(flat.Point(0), TGeoPoint(11, 22, 0));
  TPointStore high = StoreOf({TGeoPoint(1, 2, 3)}, true);
  high.Translate(10, 20, 30);
  EXPECT_EQ(high.Point(0), TGeoPoint(11, 22, 33));
  TPointStore edge = StoreOf({TGeoPoint(0, INT32_MAX)});
  edge.Translate(0, 1, 0);
  EXPECT_EQ(edge.Point(0).LatY, INT32_MIN);
}

TEST(PointStore, CentroidIsTheRoundedMean) {
  EXPECT_EQ(TPointStore().Centroid(), TGeoPoint(0, 0, 0));
  // Means 1.5 and 0.5: halves go to even.
  EXPECT_EQ(StoreOf({TGeoPoint(0, 0), TGeoPoint(3, 1)}).Centroid(), TGeoPoint(2, 0));
  EXPECT_EQ(StoreOf({DegPoint(10, 20), DegPoint(20, 40), DegPoint(30, 60)}).Centroid(), DegPoint(20, 40));
  // Sums beyond 32 bits do not overflow.
  EXPECT_EQ(StoreOf({DegPoint(170, 80), DegPoint(170, 80), DegPoint(170, 80)}).Centroid(), DegPoint(170, 80));
}

TEST(PointStore, CentroidOfAChainAcrossThe180DegreeMeridianStaysThere) {
  // A box from 170 E to 160 W: its centre is at 175 W, not on the other side of the world.
  EXPECT_EQ(StoreOf({DegPoint(170, 10), DegPoint(-160, 10), DegPoint(-160, 20), DegPoint(170, 20)}).Centroid(),
            DegPoint(-175, 15));
  EXPECT_EQ(StoreOf({DegPoint(175, 0), DegPoint(-175, 0)}).Centroid().LongX, GU_180_DEGREES);
  // A chain going the long way round in small steps keeps its plain mean.
  EXPECT_EQ(StoreOf({DegPoint(-170, 0), DegPoint(-60, 0), DegPoint(60, 0), DegPoint(170, 0)}).Centroid(),
            DegPoint(0, 0));
}

TEST(PointStore, BoundsOfPlainChainsPolarRingsAndChainsAcrossThe180DegreeMeridian) {
  EXPECT_EQ(TPointStore().Bounds(), TGeoRect(0, 0, 0, 0));
  EXPECT_EQ(StoreOf({DegPoint(-10, 5), DegPoint(10, -5), DegPoint(3, 20)}).Bounds(),
            TGeoRect(-10 * Deg, -5 * Deg, 20 * Deg, 25 * Deg));
  // A ring round the north pole spans the world.
  TPointStore ring;
  for (int longitude : {0, 45, 90, 135, 180, -135, -90, -45}) ring.Add(DegPoint(longitude, 80));
  EXPECT_EQ(ring.Bounds(), TGeoRect(-971'999'999, 80 * Deg, 1'943'999'998, 0));
  // Across the 180-degree meridian the bounds start east.
  TPointStore box = StoreOf({DegPoint(170, 10), DegPoint(-170, 10), DegPoint(-170, 20), DegPoint(170, 20)});
  EXPECT_EQ(box.Bounds(), TGeoRect(170 * Deg, 10 * Deg, 20 * Deg, 10 * Deg));
}

TEST(PointStore, PointInPolygonCrossingRule) {
  TPointStore square = StoreOf({DegPoint(20, 10), DegPoint(40, 10), DegPoint(40, 30), DegPoint(20, 30)});
  EXPECT_TRUE(square.PointInPolygon(30 * Deg, 20 * Deg));
  EXPECT_FALSE(square.PointInPolygon(50 * Deg, 20 * Deg));
  EXPECT_FALSE(square.PointInPolygon(10 * Deg, 20 * Deg));
  EXPECT_FALSE(square.PointInPolygon(30 * Deg, 35 * Deg));
  // Concave: a U open to the north.
  TPointStore u = StoreOf({DegPoint(-40, 0), DegPoint(-10, 0), DegPoint(-10, 30), DegPoint(-20, 30),
                           DegPoint(-20, 10), DegPoint(-30, 10), DegPoint(-30, 30), DegPoint(-40, 30)});
  EXPECT_TRUE(u.PointInPolygon(-35 * Deg, 20 * Deg));
  EXPECT_FALSE(u.PointInPolygon(-25 * Deg, 20 * Deg));
  EXPECT_TRUE(u.PointInPolygon(-25 * Deg, 5 * Deg));
  EXPECT_FALSE(TPointStore().PointInPolygon(0, 0));
}

TEST(PointStore, PointInPolygonAcrossThePrimeAndThe180DegreeMeridians) {
  // A zone straddling Greenwich (the English Channel region) contains points on both sides.
  TPointStore channel = StoreOf({DegPoint(-6, 48), DegPoint(3, 48), DegPoint(3, 52), DegPoint(-6, 52)});
  EXPECT_TRUE(channel.PointInPolygon(1 * Deg, 50 * Deg));
  EXPECT_TRUE(channel.PointInPolygon(-2 * Deg, 50 * Deg));
  EXPECT_FALSE(channel.PointInPolygon(5 * Deg, 50 * Deg));
  EXPECT_FALSE(channel.PointInPolygon(-170 * Deg, 50 * Deg));
  // A box from 170 E to 170 W.
  TPointStore pacific = StoreOf({DegPoint(170, 10), DegPoint(-170, 10), DegPoint(-170, 20), DegPoint(170, 20)});
  EXPECT_TRUE(pacific.PointInPolygon(175 * Deg, 15 * Deg));
  EXPECT_TRUE(pacific.PointInPolygon(-175 * Deg, 15 * Deg));
  EXPECT_TRUE(pacific.PointInPolygon(GU_180_DEGREES, 15 * Deg));
  EXPECT_FALSE(pacific.PointInPolygon(160 * Deg, 15 * Deg));
  EXPECT_FALSE(pacific.PointInPolygon(-160 * Deg, 15 * Deg));
  EXPECT_FALSE(pacific.PointInPolygon(0, 15 * Deg));
  EXPECT_FALSE(pacific.PointInPolygon(175 * Deg, 25 * Deg));
}

TEST(PointStore, PointInPolygonOfARingRoundAPole) {
  TPointStore arctic;
  for (int longitude = -180; longitude < 180; longitude += 30) arctic.Add(DegPoint(longitude, 70));
  EXPECT_TRUE(arctic.PointInPolygon(10 * Deg, 80 * Deg));
  EXPECT_TRUE(arctic.PointInPolygon(-100 * Deg, 89 * Deg));
  EXPECT_FALSE(arctic.PointInPolygon(10 * Deg, 60 * Deg));
  EXPECT_FALSE(arctic.PointInPolygon(-100 * Deg, -80 * Deg));
  TPointStore antarctic;
  for (int longitude = 180; longitude > -180; longitude -= 45) antarctic.Add(DegPoint(longitude, -65));
  EXPECT_TRUE(antarctic.PointInPolygon(77 * Deg, -80 * Deg));
  EXPECT_FALSE(antarctic.PointInPolygon(77 * Deg, -50 * Deg));
}

TEST(PointStore, PointOnPolylineWithinTolerance) {
  TPointStore line = StoreOf({TGeoPoint(0, 0), TGeoPoint(1000, 0), TGeoPoint(1000, 1000)});
  EXPECT_TRUE(line.PointOnPolyline(500, 10, 10));
  EXPECT_FALSE(line.PointOnPolyline(500, 11, 10));
  EXPECT_TRUE(line.PointOnPolyline(1005, 500, 5));
  // Beyond the ends of the segments (projection parameter outside 0..1).
  EXPECT_FALSE(line.PointOnPolyline(-5, 0, 10));
  EXPECT_FALSE(line.PointOnPolyline(1000, 1010, 5));
  // A chain of one repeated point (zero-length segment) never matches.
  EXPECT_FALSE(StoreOf({TGeoPoint(5, 5), TGeoPoint(5, 5)}).PointOnPolyline(5, 5, 100));
}

TEST(PointStore, KeptThreeDPointsAreComputedOnceAndEveryEditDiscardsThem) {
  TPointStore store = StoreOf({DegPoint(0, 0), DegPoint(90, 0)});
  TPoint3DBlock first = store.Get3DPoints(true);
  ASSERT_EQ(first->size(), 2u);
  EXPECT_EQ((*first)[0], (TPoint3D{0, 0, EarthRadiusGU}));
  EXPECT_EQ((*first)[1], (TPoint3D{EarthRadiusGU, 0, 0}));
  EXPECT_TRUE(store.Has3DCache());
  EXPECT_EQ(store.Get3DPoints(true).get(), first.get());  // lent, not recomputed
  const int64_t withCache = store.InstanceMemory();

  store.SetPoint(1, DegPoint(0, 90));
  EXPECT_FALSE(store.Has3DCache());
  EXPECT_EQ(withCache - store.InstanceMemory(), 2 * 12);
  EXPECT_EQ((*first)[1], (TPoint3D{EarthRadiusGU, 0, 0}));  // the borrower's block stays valid
  TPoint3DBlock second = store.Get3DPoints(true);
  EXPECT_EQ((*second)[1], (TPoint3D{0, EarthRadiusGU, 0}));

  for (auto edit : {+[](TPointStore& s) { s.Add(TGeoPoint()); }, +[](TPointStore& s) { s.Delete(0); },
                    +[](TPointStore& s) { s.SetCount(1); }, +[](TPointStore& s) { s.Translate(1, 1, 1); },
                    +[](TPointStore& s) { s.SetStoreHeight(true); }}) {
    store.Get3DPoints(true);
    edit(store);
    EXPECT_FALSE(store.Has3DCache());
  }
  // Not kept: the caller gets a fresh block and the store keeps nothing.
  store.Get3DPoints(true);
  TPoint3DBlock own = store.Get3DPoints(false);
  EXPECT_FALSE(store.Has3DCache());
  EXPECT_EQ(own.use_count(), 1);
}

TEST(PointStore, CloneCopiesPointsIndependently) {
  TPointStore store = StoreOf({TGeoPoint(1, 2, 3)}, true);
  std::unique_ptr<TPointStore> copy = store.Clone();
  EXPECT_EQ(copy->ClassName(), "TPointStore");
  EXPECT_EQ(copy->Point(0), TGeoPoint(1, 2, 3));
  copy->SetPoint(0, TGeoPoint(4, 5, 6));
  EXPECT_EQ(store.Point(0), TGeoPoint(1, 2, 3));
}

}  // namespace
}  // namespace globe

namespace globe {
namespace {

// The readers' bulk fill writes a run of points as they are given, heights untouched, and
// refuses a run that does not lie within the store.
TEST(PointStore, StoreLongLatWritesARunInPlace) {
  for (bool heights : {false, true}) {
    TPointStore store(heights);
    store.SetCount(4);
    store.SetPoint(0, TGeoPoint(1, 2, 3));
    const int32_t run[] = {10, 11, 20, 21};
    store.StoreLongLat(1, run, 2);
    EXPECT_EQ(store.Point(0), TGeoPoint(1, 2, heights ? 3 : 0));
    EXPECT_EQ(store.Point(1), TGeoPoint(10, 11, 0));
    EXPECT_EQ(store.Point(2), TGeoPoint(20, 21, 0));
    EXPECT_EQ(store.Point(3), TGeoPoint(0, 0, 0));
    EXPECT_THROW(store.StoreLongLat(3, run, 2), std::out_of_range);
    EXPECT_THROW(store.StoreLongLat(-1, run, 1), std::out_of_range);
    store.StoreLongLat(9, run, 0);  // an empty run touches nothing
  }
}

}  // namespace
}  // namespace globe
