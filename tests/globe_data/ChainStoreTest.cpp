#include "globe/data/ChainStore.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace globe {
namespace {

constexpr int32_t Deg = GlobeUnitsPerDegree;

TGeoPoint DegPoint(int32_t longDeg, int32_t latDeg) { return TGeoPoint(longDeg * Deg, latDeg * Deg); }

TEST(ChainStore, ReadingBeyondCountGrowsWithEmptyChains) {
  TChainStore chains;
  EXPECT_EQ(chains.Count(), 0);
  TPointStore& sixth = chains.Chain(5);
  EXPECT_EQ(chains.Count(), 6);
  EXPECT_EQ(sixth.Count(), 0);
  EXPECT_EQ(chains.ChainIfPresent(2), nullptr);  // entries before stay empty until used
  EXPECT_EQ(chains.ChainIfPresent(5), &sixth);
  EXPECT_EQ(&chains.Chain(5), &sixth);
  EXPECT_THROW(chains.Chain(-1), std::out_of_range);
}

TEST(ChainStore, StoreHeightReachesExistingAndNewChains) {
  TChainStore chains(true);
  EXPECT_TRUE(chains.Chain(0).StoreHeight());
  chains.Chain(0).Add(TGeoPoint(1, 2, 3));
  chains.SetStoreHeight(false);
  EXPECT_FALSE(chains.Chain(0).StoreHeight());
  EXPECT_EQ(chains.Chain(0).Point(0), TGeoPoint(1, 2, 0));
  EXPECT_FALSE(chains.Chain(1).StoreHeight());
}

TEST(ChainStore, ShrinkingDestroysChainsAndGrowingAddsEmptyOnes) {
  TChainStore chains;
  chains.Chain(0).Add(TGeoPoint(1, 1));
  chains.Chain(1).Add(TGeoPoint(2, 2));
  chains.Chain(2).Add(TGeoPoint(3, 3));
  chains.SetCount(1);
  EXPECT_EQ(chains.Count(), 1);
  chains.SetCount(3);
  EXPECT_EQ(chains.ChainIfPresent(1), nullptr);
  EXPECT_EQ(chains.Chain(1).Count(), 0);
  EXPECT_EQ(chains.PointCount(), 1);
  chains.Delete(0);
  chains.Delete(9);
  EXPECT_EQ(chains.Count(), 2);
  EXPECT_EQ(chains.PointCount(), 0);
}

TEST(ChainStore, BoundsUniteChainsThatHavePoints) {
  TChainStore chains;
  EXPECT_EQ(chains.Bounds(), TGeoRect());
  chains.Chain(0).Add(DegPoint(0, 0));
  chains.Chain(0).Add(DegPoint(10, 10));
  chains.Chain(1);  // empty: ignored
  chains.Chain(2).Add(DegPoint(-5, 20));
  chains.Chain(2).Add(DegPoint(-1, 30));
  EXPECT_EQ(chains.Bounds(), TGeoRect(-5 * Deg, 0, 15 * Deg, 30 * Deg));
}

TEST(ChainStore, CentroidWeighsEachChainTheSame) {
  TChainStore chains;
  EXPECT_EQ(chains.Centroid(), TGeoPoint());
  chains.Chain(0).Add(DegPoint(0, 0));
  chains.Chain(0).Add(DegPoint(0, 0));
  chains.Chain(0).Add(DegPoint(0, 0));
  chains.Chain(1).Add(DegPoint(10, 20));
  EXPECT_EQ(chains.Centroid(), DegPoint(5, 10));
  // Islands on both sides of the 180-degree meridian centre on it.
  TChainStore islands;
  islands.Chain(0).Add(DegPoint(178, -17));
  islands.Chain(1).Add(DegPoint(-178, -17));
  EXPECT_EQ(islands.Centroid(), TGeoPoint(GU_180_DEGREES, -17 * Deg));
}

TEST(ChainStore, CloneAndTranslateWorkOnEveryChain) {
  TChainStore chains;
  chains.Chain(0).Add(TGeoPoint(1, 1));
  chains.Chain(2).Add(TGeoPoint(2, 2));
  std::unique_ptr<TChainStore> copy = chains.Clone();
  copy->Translate(10, 20, 0);
  EXPECT_EQ(copy->Chain(0).Point(0), TGeoPoint(11, 21));
  EXPECT_EQ(copy->Chain(2).Point(0), TGeoPoint(12, 22));
  EXPECT_EQ(copy->ChainIfPresent(1), nullptr);
  EXPECT_EQ(chains.Chain(0).Point(0), TGeoPoint(1, 1));
}

}  // namespace
}  // namespace globe
