#include "tools/lyrconvert/ObjectSummary.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "globe/data/CpuFeatures.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/LYRChainStream.h"
#include "tools/lyrconvert/LyrConvert.h"

namespace lyrconvert {

using namespace globe;

void TCoordinateBounds::Include(int32_t longX, int32_t latY) {
  if (!HasBounds) {
    HasBounds = true;
    MinLongX = MaxLongX = longX;
    MinLatY = MaxLatY = latY;
    return;
  }
  MinLongX = std::min(MinLongX, longX);
  MaxLongX = std::max(MaxLongX, longX);
  MinLatY = std::min(MinLatY, latY);
  MaxLatY = std::max(MaxLatY, latY);
}

void TCoordinateBounds::Include(const TCoordinateBounds& other) {
  if (!other.HasBounds) return;
  Include(other.MinLongX, other.MinLatY);
  Include(other.MaxLongX, other.MaxLatY);
}

namespace {

// Points first .. n - 1 of a chain without heights into the extremes; returns how many of them
// equal the point before (point p against p - 1).
int32_t SweepPoints(const TPointStore::TPackedView& points, int32_t first, TCoordinateBounds& bounds) {
  int32_t minX = bounds.MinLongX, maxX = bounds.MaxLongX, minY = bounds.MinLatY, maxY = bounds.MaxLatY;
  int32_t repeats = 0;
  for (int32_t p = first; p < points.Count(); ++p) {
    const int32_t x = points.LongX(p), y = points.LatY(p);
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
    repeats += x == points.LongX(p - 1) && y == points.LatY(p - 1);
  }
  bounds.Include(minX, minY);
  bounds.Include(maxX, maxY);
  return repeats;
}

#if defined(__x86_64__) && defined(__GNUC__)
// SweepPoints four points at a time while four are left, from point 1 (a point is one 64-bit
// lane: its longitude in the even, its latitude in the odd 32-bit lane); returns where it stopped
// and adds the repeats found to `repeats`.
__attribute__((target("avx2"))) int32_t SweepInFours(const std::byte* words, int32_t count, TCoordinateBounds& bounds,
                                                     int32_t& repeats) {
  int32_t p = 1;
  if (count < 9) return p;
  __m256i low = _mm256_set1_epi32(INT32_MAX), high = _mm256_set1_epi32(INT32_MIN);
  int64_t equal = 0;
  for (; p + 4 <= count; p += 4) {
    const std::byte* at = words + 8 * static_cast<std::size_t>(p);
    const __m256i point = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at - 8));
    low = _mm256_min_epi32(low, point);
    high = _mm256_max_epi32(high, point);
    equal += std::popcount(static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(point, before)))));
  }
  alignas(32) int32_t lows[8], highs[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(lows), low);
  _mm256_store_si256(reinterpret_cast<__m256i*>(highs), high);
  for (int k = 0; k < 8; k += 2) {
    bounds.Include(lows[k], lows[k + 1]);
    bounds.Include(highs[k], highs[k + 1]);
  }
  repeats += static_cast<int32_t>(equal);
  return p;
}
#endif

}  // namespace

TChainSweep SweepChain(const TPointStore& chain) {
  TChainSweep sweep;
  const TPointStore::TPackedView points = chain.Packed();
  const int32_t n = points.Count();
  if (n == 0) return sweep;
  sweep.Bounds.Include(points.LongX(0), points.LatY(0));
  int32_t repeats = 0, done = 1;
#if defined(__x86_64__) && defined(__GNUC__)
  if (!chain.StoreHeight() && HasAvx2()) done = SweepInFours(points.Data(), n, sweep.Bounds, repeats);
#endif
  repeats += SweepPoints(points, done, sweep.Bounds);
  if (chain.StoreHeight()) {
    sweep.WrittenPoints = WrittenPointCount(chain);
    return sweep;
  }
  // The writer compares points 2 .. n - 2 with their successors: the repeats of points 1 and 2
  // (against 0 and 1) were counted above and are not left out.
  for (int32_t p = 1; p <= 2 && p < n; ++p)
    repeats -= points.LongX(p) == points.LongX(p - 1) && points.LatY(p) == points.LatY(p - 1);
  sweep.WrittenPoints = n - repeats;
  return sweep;
}

TObjectSummary SummariseObject(TGlobeObject& object) {
  TObjectSummary summary;
  auto* data = dynamic_cast<TGeoDataObject*>(&object);
  if (data == nullptr || data->Chains().Count() == 0) {
    const TGeoPoint centre = object.GetCentroid();
    summary.Bounds.Include(centre.LongX, centre.LatY);
    return summary;
  }
  const TChainStore& chains = data->Chains();
  summary.Chains = chains.Count();
  for (int32_t c = 0; c < chains.Count(); ++c) {
    const TPointStore* chain = chains.ChainIfPresent(c);
    if (chain == nullptr) continue;
    const TChainSweep sweep = SweepChain(*chain);
    summary.Points += chain->Count();
    summary.WrittenPoints += sweep.WrittenPoints;
    summary.Bounds.Include(sweep.Bounds);
  }
  return summary;
}

void AddObjectSummary(TMapSummary& summary, const TObjectSummary& object) {
  summary.Chains += object.Chains;
  summary.Points += object.Points;
  summary.WrittenPoints += object.WrittenPoints;
  summary.Bounds.Include(object.Bounds);
}

}  // namespace lyrconvert
