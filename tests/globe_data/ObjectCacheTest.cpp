// The object cache: built objects count against CacheCapacity; passing it releases the oldest
// ones until a quarter of the capacity is left.

#include <gtest/gtest.h>

#include <set>

#include "GlobeDataFixtures.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"

namespace globe {
namespace {

using testing::TLineReader;

struct CacheFixture : ::testing::Test {
  TCustomVoduz4 globe;
  TLineReader* reader = nullptr;
  int reductions = 0;

  void SetUp() override {
    globe.SetCacheCapacity(4);  // 4096 bytes
    globe.OnReduceCacheMemory = [this](TCustomVoduz4&) { ++reductions; };
    TGlobeLayer* layer = globe.LayerStore().NewLayer();
    reader = globe.NewObjectSource<TLineReader>();
    layer->SetObjectSource(reader);
    reader->SetCount(200);
  }

  std::set<int> BuiltIndices() const {
    std::set<int> built;
    for (int i = 0; i < reader->Count(); ++i)
      if (const TGlobeObjectData* entry = reader->PeekEntry(i); entry && entry->AsObject()) built.insert(i);
    return built;
  }
};

TEST_F(CacheFixture, StaysUnderTheCapacityAndShrinksToAQuarterOldestFirst) {
  const int64_t objectSize = reader->Objects(0)->InstanceMemory();
  ASSERT_LT(objectSize * 4, 1024) << "objects must be small against a quarter of the capacity";
  for (int i = 1; i < 200; ++i) {
    const int before = reductions;
    reader->Objects(i);
    EXPECT_LE(globe.CacheMemory(), 4096);
    EXPECT_EQ(globe.CacheMemory(), reader->CacheMemory());
    if (reductions != before) {
      // Only the newest objects stay: a run ending at the one just built, below a quarter.
      EXPECT_LT(globe.CacheMemory(), 1024);
      const std::set<int> built = BuiltIndices();
      ASSERT_FALSE(built.empty());
      EXPECT_EQ(*built.rbegin(), i);
      EXPECT_EQ(static_cast<int>(built.size()), *built.rbegin() - *built.begin() + 1);
    }
  }
  EXPECT_GT(reductions, 5);
}

TEST_F(CacheFixture, AnObjectUsedAgainCountsAsNew) {
  int i = 0;
  // Fill until the next build would pass the capacity.
  while ((i + 2) * reader->Objects(0)->InstanceMemory() <= 4096) reader->Objects(++i);
  ASSERT_EQ(reductions, 0);
  reader->Objects(0);  // used again: now the youngest of the old ones
  reader->Objects(++i);
  ASSERT_EQ(reductions, 1);
  const std::set<int> built = BuiltIndices();
  EXPECT_TRUE(built.count(0));
  EXPECT_FALSE(built.count(1));
  EXPECT_TRUE(built.count(i));
}

TEST_F(CacheFixture, TheSelectedObjectIsNeverReleased) {
  TGlobeObject* selected = reader->Objects(0);
  globe.LayerStore().SetSelectedObject(selected);
  for (int i = 1; i < 100; ++i) reader->Objects(i);
  EXPECT_GT(reductions, 0);
  EXPECT_EQ(reader->PeekEntry(0), selected);
  EXPECT_EQ(globe.LayerStore().SelectedObject(), selected);
}

TEST_F(CacheFixture, NoLimitWithoutCapacityAndRecalculationRechecks) {
  globe.SetCacheCapacity(0);
  for (int i = 0; i < 50; ++i) reader->Objects(i);
  EXPECT_EQ(reductions, 0);
  EXPECT_EQ(BuiltIndices().size(), 50u);
  globe.SetCacheCapacity(4);
  globe.RecalculateCacheMemory();
  EXPECT_EQ(reductions, 1);
  EXPECT_LT(globe.CacheMemory(), 1024);
  EXPECT_TRUE(BuiltIndices().count(49));
}

}  // namespace
}  // namespace globe
