// Point storage: the dynamic arrays under it, point stores (one chain of points) and chain stores
// (the chains of one object).

#include "globe/data/PointStore.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <stdexcept>
#include <tuple>

#include "Points.h"
#include "globe/data/ChainStore.h"
#include "globe/data/DynArray.h"
#include "globe/data/GeoTypes.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"
#include "globe/data/PackedBounds.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Ints = std::vector<int32_t>;
using corvalis::testing::ThrownMessage;
using testing::Deg;
using testing::DegPoint;
using testing::StoreOf;

TEST(PointStore, CountAddDeleteBulkFillAndIndexChecks) {
  TPointStore store;
  store.SetCount(2);
  EXPECT_EQ(store.Point(1), TGeoPoint());
  EXPECT_EQ(store.Add(TGeoPoint(5, 6)), 2);
  store.Delete(0);
  store.Delete(7);  // outside: nothing
  EXPECT_EQ(testing::PointsOf(store), (std::vector<TGeoPoint>{{0, 0}, {5, 6}}));
  EXPECT_THROW(store.Point(2), std::out_of_range);
  EXPECT_THROW(store.SetPoint(-1, TGeoPoint()), std::out_of_range);
  // The readers' bulk fill writes a run of points as given, heights untouched, and refuses a run
  // that does not lie within the store.
  for (bool heights : {false, true}) {
    TPointStore bulk(heights);
    bulk.SetCount(4);
    bulk.SetPoint(0, TGeoPoint(1, 2, 3));
    const int32_t run[] = {10, 11, 20, 21};
    bulk.StoreLongLat(1, run, 2);
    EXPECT_EQ(testing::PointsOf(bulk), (std::vector<TGeoPoint>{{1, 2, heights ? 3 : 0}, {10, 11}, {20, 21}, {0, 0}}));
    EXPECT_THROW(bulk.StoreLongLat(3, run, 2), std::out_of_range);
    EXPECT_THROW(bulk.StoreLongLat(-1, run, 1), std::out_of_range);
    bulk.StoreLongLat(9, run, 0);  // an empty run touches nothing
    const TGeoPoint whole[] = {{7, 8, 9}};  // whole points: the height only where heights are kept
    bulk.StorePoints(3, whole, 1);
    EXPECT_EQ(bulk.Point(3), TGeoPoint(7, 8, heights ? 9 : 0));
    EXPECT_THROW(bulk.StorePoints(3, whole, 2), std::out_of_range);
    // The unchecked view reads every point, at either packing.
    const TPointStore::TPackedView view = bulk.Packed();
    Ints read;
    for (int32_t i = 0; i < view.Count(); ++i) read.insert(read.end(), {view.LongX(i), view.LatY(i)});
    EXPECT_EQ(read, (Ints{1, 2, 10, 11, 20, 21, 7, 8}));
  }
  EXPECT_EQ(TPointStore().Packed().Count(), 0);
}

TEST(PointStore, HeightsAreKeptOnlyWhenAskedFor) {
  EXPECT_EQ(StoreOf({TGeoPoint(1, 2, 3)}).Point(0), TGeoPoint(1, 2, 0));
  TPointStore high = StoreOf({TGeoPoint(1, 2, 3), TGeoPoint(4, 5, 6)}, true);
  EXPECT_EQ(high.Point(1), TGeoPoint(4, 5, 6));
  TPointStore same = high;  // packed: 12 bytes a point with heights, 8 without
  same.SetStoreHeight(false);
  EXPECT_EQ(high.InstanceMemory() - same.InstanceMemory(), 2 * 4);
  // Switching off and on again keeps the positions and leaves every height at 0.
  high.SetStoreHeight(false);
  high.SetStoreHeight(true);
  EXPECT_EQ(testing::PointsOf(high), (std::vector<TGeoPoint>{{1, 2, 0}, {4, 5, 0}}));
  high.SetPoint(0, TGeoPoint(7, 8, 9));
  EXPECT_EQ(high.Point(0).Height, 9);
  // The stream bits leave the height bit alone.
  high.SetStreamFlags(0xFF);
  EXPECT_EQ(high.Flags(), psfStreamFlags | psfStoreHeight);
  EXPECT_EQ(high.Clone()->Flags(), high.Flags());
}

TEST(PointStore, TranslateMovesHeightsOnlyWhenKeptAndWrapsIn32Bits) {
  TPointStore flat = StoreOf({{1, 2, 3}}), high = StoreOf({{1, 2, 3}}, true), edge = StoreOf({{0, INT32_MAX}});
  for (TPointStore* store : {&flat, &high}) store->Translate(10, 20, 30);
  edge.Translate(0, 1, 0);
  EXPECT_EQ(std::tuple(flat.Point(0), high.Point(0), edge.Point(0).LatY),
            std::tuple(TGeoPoint(11, 22, 0), TGeoPoint(11, 22, 33), INT32_MIN));
}

TEST(PointStore, CentroidIsTheRoundedMeanAndStaysAtThe180DegreeMeridian) {
  const struct {
    std::vector<TGeoPoint> Points;
    TGeoPoint Centroid;
  } cases[] = {
      {{}, TGeoPoint(0, 0, 0)},
      {{TGeoPoint(0, 0), TGeoPoint(3, 1)}, TGeoPoint(2, 0)},  // means 1.5 and 0.5: halves to even
      {{DegPoint(10, 20), DegPoint(20, 40), DegPoint(30, 60)}, DegPoint(20, 40)},
      {{DegPoint(170, 80), DegPoint(170, 80), DegPoint(170, 80)}, DegPoint(170, 80)},  // sums beyond 32 bits
      // A box from 170 E to 160 W centres at 175 W, not on the other side of the world.
      {{DegPoint(170, 10), DegPoint(-160, 10), DegPoint(-160, 20), DegPoint(170, 20)}, DegPoint(-175, 15)},
      // Across the 180-degree meridian from the west as from the east: the same centre, +180.
      {{DegPoint(175, 0), DegPoint(-175, 0)}, TGeoPoint(GU_180_DEGREES, 0)},
      {{DegPoint(-175, 0), DegPoint(175, 0)}, TGeoPoint(GU_180_DEGREES, 0)},
      {{DegPoint(-160, 10), DegPoint(170, 10), DegPoint(170, 20), DegPoint(-160, 20)}, DegPoint(-175, 15)},
      // The long way round in small steps keeps the plain mean.
      {{DegPoint(-170, 0), DegPoint(-60, 0), DegPoint(60, 0), DegPoint(170, 0)}, DegPoint(0, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(StoreOf(c.Points).Centroid(), c.Centroid) << c.Points.size();
  // Kept heights are averaged too (15.5 to the even 16); without them the centre lies at height 0.
  EXPECT_EQ(StoreOf({{0, 0, 10}, {2, 4, 21}}, true).Centroid(), TGeoPoint(1, 2, 16));
  EXPECT_EQ(StoreOf({{0, 0, 10}, {2, 4, 21}}).Centroid(), TGeoPoint(1, 2, 0));
}

TEST(PointStore, BoundsOfPlainChainsPolarRingsAndChainsAcrossThe180DegreeMeridian) {
  EXPECT_EQ(TPointStore().Bounds(), TGeoRect(0, 0, 0, 0));
  EXPECT_EQ(StoreOf({DegPoint(-10, 5), DegPoint(10, -5), DegPoint(3, 20)}).Bounds(),
            TGeoRect(-10 * Deg, -5 * Deg, 20 * Deg, 25 * Deg));
  TPointStore ring;  // round the north pole: the world's width
  for (int longitude : {0, 45, 90, 135, 180, -135, -90, -45}) ring.Add(DegPoint(longitude, 80));
  EXPECT_EQ(ring.Bounds(), TGeoRect(-971'999'999, 80 * Deg, 1'943'999'998, 0));
  EXPECT_EQ(StoreOf({DegPoint(170, 10), DegPoint(-170, 10), DegPoint(-170, 20), DegPoint(170, 20)}).Bounds(),
            TGeoRect(170 * Deg, 10 * Deg, 20 * Deg, 10 * Deg));  // across the meridian: starts east
}

// Long chains take their bounds several points at a time: the same rectangles as the sweep one
// point at a time, for chains of every length round the vector width, longitudes on and beside
// the 90-degree meridians and crossings of the 180-degree one (odd and even), read unaligned.
TEST(PointStore, PackedBoundsAgreeWithThePointByPointSweep) {
  std::mt19937 random(11);
  const int32_t near[] = {GU_90_DEGREES, -GU_90_DEGREES, GU_180_DEGREES, -GU_180_DEGREES + 1, 0, -1};
  auto longitude = [&] {
    switch (random() % 4) {
      case 0: return near[random() % 6] + static_cast<int32_t>(random() % 3) - 1;
      case 1: return static_cast<int32_t>(random() % 2 ? 170 * Deg : -170 * Deg) + static_cast<int32_t>(random() % 1000);
      default: return static_cast<int32_t>(random() % (2u * GU_180_DEGREES)) - GU_180_DEGREES + 1;
    }
  };
  std::array<int, 3> crossings{};
  for (int32_t count = 1; count <= 600; count += count < 40 ? 1 : 37) {
    for (int round = 0; round < 20; ++round) {
      std::vector<int32_t> words;
      for (int32_t i = 0; i < count; ++i)
        words.insert(words.end(), {NormaliseLongitude(longitude()), static_cast<int32_t>(random() % 100'000'000) - 50'000'000});
      std::vector<std::byte> bytes(words.size() * 4 + 4);
      std::memcpy(bytes.data() + 4, words.data(), words.size() * 4);
      const TGeoRect expected = BoundsOfPoints(count, [&](int32_t i) { return TGeoPoint(words[2 * i], words[2 * i + 1]); });
      ASSERT_EQ(BoundsOfPackedPoints(bytes.data() + 4, count), expected) << count << " points, round " << round;
      ASSERT_EQ(BoundsOfPackedPointsWithoutAvx(bytes.data() + 4, count), expected) << count << " points, round " << round;
      TBoundsSweep sweep;
      for (int32_t i = 0; i < count; ++i) sweep.Step(words[2 * ((i + count - 1) % count)], words[2 * i]);
      ++crossings[sweep.Crossings == 0 ? 0 : 1 + sweep.Crossings % 2];
    }
  }
  // Chains without crossings, with an even and with an odd number of them (round a pole).
  for (int kind : {0, 1, 2}) EXPECT_GT(crossings[kind], 50) << kind;
}

TEST(PointStore, PointInPolygonConcaveAcrossMeridiansAndRoundPoles) {
  const TPointStore square = StoreOf({DegPoint(20, 10), DegPoint(40, 10), DegPoint(40, 30), DegPoint(20, 30)});
  const TPointStore u = StoreOf({DegPoint(-40, 0), DegPoint(-10, 0), DegPoint(-10, 30), DegPoint(-20, 30),
                                 DegPoint(-20, 10), DegPoint(-30, 10), DegPoint(-30, 30), DegPoint(-40, 30)});
  const TPointStore channel = StoreOf({DegPoint(-6, 48), DegPoint(3, 48), DegPoint(3, 52), DegPoint(-6, 52)});
  const TPointStore pacific = StoreOf({DegPoint(170, 10), DegPoint(-170, 10), DegPoint(-170, 20), DegPoint(170, 20)});
  TPointStore arctic, antarctic;
  for (int longitude = -180; longitude < 180; longitude += 30) arctic.Add(DegPoint(longitude, 70));
  for (int longitude = 180; longitude > -180; longitude -= 45) antarctic.Add(DegPoint(longitude, -65));
  const TPointStore empty;
  const struct {
    const TPointStore* Ring;
    int32_t Long, Lat;
    bool Inside;
  } cases[] = {
      {&square, 30, 20, true},    {&square, 50, 20, false},   {&square, 30, 35, false},   {&u, -35, 20, true},
      {&u, -25, 20, false},       {&u, -25, 5, true},         {&empty, 0, 0, false},      {&channel, -2, 50, true},
      {&channel, 5, 50, false},   {&pacific, 175, 15, true},  {&pacific, -175, 15, true}, {&pacific, 180, 15, true},
      {&pacific, -160, 15, false}, {&pacific, 0, 15, false},  {&arctic, 10, 80, true},    {&arctic, 10, 60, false},
      {&arctic, -100, -80, false}, {&antarctic, 77, -80, true}, {&antarctic, 77, -50, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Ring->PointInPolygon(c.Long * Deg, c.Lat * Deg), c.Inside) << c.Long << " " << c.Lat;
}

TEST(PointStore, KeptThreeDPointsAreComputedOnceAndEveryEditDiscardsThem) {
  TPointStore store = StoreOf({DegPoint(0, 0), DegPoint(90, 0)});
  TPoint3DBlock first = store.Get3DPoints(true);
  EXPECT_EQ(*first, (std::vector<TPoint3D>{{0, 0, EarthRadiusGU}, {EarthRadiusGU, 0, 0}}));
  EXPECT_EQ(store.Get3DPoints(true).get(), first.get());  // lent, not recomputed
  store.SetPoint(1, DegPoint(0, 90));
  EXPECT_EQ((*first)[1], (TPoint3D{EarthRadiusGU, 0, 0}));  // the borrower's block stays valid
  EXPECT_EQ((*store.Get3DPoints(true))[1], (TPoint3D{0, EarthRadiusGU, 0}));
  store.Translate(0, -90 * Deg, 0);
  EXPECT_EQ((*store.Get3DPoints(true))[1], (TPoint3D{0, 0, EarthRadiusGU}));
  TPoint3DBlock own = store.Get3DPoints(false);  // not kept: a fresh block, the store keeps none
  EXPECT_EQ(std::tuple(store.Has3DCache(), own.use_count()), std::tuple(false, 1));
}

TEST(ChainStore, ReadingBeyondCountGrowsShrinkingDestroysAndStoreHeightReachesEveryChain) {
  TChainStore high(true);
  high.Chain(0).Add(TGeoPoint(1, 2, 3));
  high.SetStoreHeight(false);
  EXPECT_EQ(high.Chain(0).Point(0), TGeoPoint(1, 2, 0));
  EXPECT_FALSE(high.Chain(1).StoreHeight());
  TChainStore chains;
  TPointStore& sixth = chains.Chain(5);  // entries before stay empty until used
  EXPECT_EQ(std::tuple(chains.Count(), chains.ChainIfPresent(2), chains.ChainIfPresent(5)),
            std::tuple(6, nullptr, &sixth));
  EXPECT_THROW(chains.Chain(-1), std::out_of_range);
  chains.Chain(0).Add(TGeoPoint(1, 1));
  chains.Chain(1).Add(TGeoPoint(2, 2));
  chains.SetCount(1);
  chains.SetCount(3);
  EXPECT_EQ(std::tuple(chains.ChainIfPresent(1), chains.PointCount()), std::tuple(nullptr, 1));
  chains.Delete(0);
  chains.Delete(9);
  EXPECT_EQ(std::tuple(chains.Count(), chains.PointCount()), std::tuple(2, 0));
}

TEST(ChainStore, BoundsCentroidCloneAndTranslateSpanEveryChain) {
  TChainStore chains;
  EXPECT_EQ(std::tuple(chains.Bounds(), chains.Centroid()), std::tuple(TGeoRect(), TGeoPoint()));
  for (TGeoPoint p : {DegPoint(0, 0), DegPoint(10, 10), DegPoint(5, 5)}) chains.Chain(0).Add(p);
  chains.Chain(1).Add(DegPoint(-5, 20));
  chains.Chain(1).Add(DegPoint(-1, 30));
  EXPECT_EQ(chains.Centroid(), DegPoint(1, 15));  // each chain weighs the same
  chains.Chain(3);                                 // empty chains add nothing to the bounds
  EXPECT_EQ(chains.Bounds(), TGeoRect(-5 * Deg, 0, 15 * Deg, 30 * Deg));
  std::unique_ptr<TChainStore> copy = chains.Clone();
  copy->Translate(10, 20, 0);
  EXPECT_EQ(std::tuple(copy->Chain(1).Point(0), copy->ChainIfPresent(2), chains.Chain(1).Point(0)),
            std::tuple(TGeoPoint(-5 * Deg + 10, 20 * Deg + 20), nullptr, DegPoint(-5, 20)));
  // Islands on both sides of the 180-degree meridian centre on it, the western or the eastern first.
  for (const int32_t first : {178, -178}) {
    TChainStore islands;
    islands.Chain(0).Add(DegPoint(first, -17));
    islands.Chain(1).Add(DegPoint(-first, -17));
    EXPECT_EQ(islands.Centroid(), TGeoPoint(GU_180_DEGREES, -17 * Deg)) << first;
  }
}

Ints IntsOf(const TDynArray& a) {
  Ints values;
  for (int32_t i = 0; i < a.Count(); ++i) values.push_back(a.GetInt(i));
  return values;
}

// Edits one after another on an array numbered 0, 10, 20, 30, 40: a move shifts the elements
// between, indexes outside the range are ignored, inserts zero their slot (also at the end),
// growing adds zeroes and shrinking loses the values past the new end.
TEST(DynArray, EditsOnANumberedArray) {
  TDynArray a(4, 5);
  for (int32_t i = 0; i < 5; ++i) a.SetInt(i, 10 * i);
  for (const auto& [edit, after] : std::vector<std::pair<void (*)(TDynArray&), Ints>>{
           {[](TDynArray& d) { d.Move(1, 3); }, {0, 20, 30, 10, 40}},
           {[](TDynArray& d) { d.Move(4, 0); d.Move(2, 2); d.Move(1, 5); d.Move(5, 1); }, {40, 0, 20, 30, 10}},
           {[](TDynArray& d) { DynArrayMove(&d, 0, 1); }, {0, 40, 20, 30, 10}},
           {[](TDynArray& d) { d.Delete(5); d.Delete(-1); d.Delete(1); }, {0, 20, 30, 10}},
           {[](TDynArray& d) { d.Insert(1); d.Insert(5); }, {0, 0, 20, 30, 10, 0}},
           {[](TDynArray& d) { d.SetLength(7); }, {0, 0, 20, 30, 10, 0, 0}},
           {[](TDynArray& d) { d.SetLength(2); d.SetLength(3); }, {0, 0, 0}}}) {
    edit(a);
    EXPECT_EQ(IntsOf(a), after);
  }
}

TEST(DynArray, ElementsOfEverySizeLocksClonesAndBadIndexes) {
  TDynArray a(4, 3);
  EXPECT_EQ((std::tuple{a.SetInt(1, 42), a.SetInt(1, 43)}), std::tuple(0, 42));  // the old value, in order
  EXPECT_EQ(std::tuple(a.IndexOf(43), a.IndexOf(21)), std::tuple(1, -1));
  EXPECT_THROW(a.GetInt(3), std::out_of_range);
  EXPECT_THROW(a.SetInt(-1, 0), std::out_of_range);
  a.Lock();
  std::unique_ptr<TDynArray> copy = a.Clone();
  copy->SetInt(0, 5);
  EXPECT_EQ(std::tuple(copy->LockCount(), a.GetInt(0)), std::tuple(0, 0));  // unlocked, an independent block
  a.Unlock();
  a.Unlock();  // never below zero
  EXPECT_EQ(a.LockCount(), 0);
  TDynArray wide(8, 2);
  wide.Set<int64_t>(0, 20);
  EXPECT_EQ(wide.IndexOf(20), -1);  // only for four-byte elements
  EXPECT_THROW(wide.GetInt(0), std::logic_error);
  TDynArray records(12, 2);  // packed without padding
  records.Set(1, TPoint3D{1, -2, 3});
  EXPECT_EQ(records.Get<TPoint3D>(1), (TPoint3D{1, -2, 3}));
  EXPECT_EQ(records.ElementAddress(1) - records.ElementAddress(0), 12);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { DynArraySetLength(nullptr, 3); }),
            "DynArraySetLength: Invalid Parameter");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { DynArrayMove(nullptr, 0, 1); }), "DynArrayMove: Invalid Parameter");
}

}  // namespace
}  // namespace globe
