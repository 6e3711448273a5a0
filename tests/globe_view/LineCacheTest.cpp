#include "globe/view/LineCache.h"

#include <gtest/gtest.h>

namespace globe {
namespace {

TPointStore TwoPoints(const TGeoPoint& from, const TGeoPoint& to) {
  TPointStore chain;
  chain.Add(from);
  chain.Add(to);
  return chain;
}

// A line is built once and found again by its ends and segments; a different line is its own,
// and past the limit the cache starts afresh instead of growing.
TEST(LineCacheTest, BuildsEachLineOnceAndStaysBounded) {
  TLineCache cache;
  int builds = 0;
  const TGeoPoint a(0, 0), b(GU_90_DEGREES, GU_90_DEGREES / 2);
  auto build = [&] {
    ++builds;
    return TwoPoints(a, b);
  };
  TLineCache::TLine& first = cache.Get(a, b, 4, build);
  EXPECT_EQ(&cache.Get(a, b, 4, build), &first);
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(first.Bounds.Width, GU_90_DEGREES);
  EXPECT_EQ(first.Bounds.Height, GU_90_DEGREES / 2);
  ASSERT_EQ(first.Chains.Count(), 1);
  EXPECT_EQ(first.Chains.ChainIfPresent(0)->Count(), 2);
  cache.Get(a, b, 5, build);
  EXPECT_EQ(builds, 2);
  for (int32_t i = 0; i < 600; ++i) cache.Get(TGeoPoint(i, 0), b, 4, build);
  EXPECT_LE(cache.Count(), 512u);
}

}  // namespace
}  // namespace globe
