#include "globe/data/PackedBounds.h"

#include <cstring>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "globe/data/CpuFeatures.h"
#include "globe/data/GeoMath.h"

namespace globe {

namespace {

int32_t Word(const std::byte* words, int32_t index) {
  int32_t v;
  std::memcpy(&v, words + 4 * static_cast<std::size_t>(index), 4);
  return v;
}

// Points first .. last - 1 with their steps from the point before (first >= 1).
void SweepPoints(const std::byte* words, int32_t first, int32_t last, TBoundsSweep& sweep) {
  for (int32_t i = first; i < last; ++i) {
    sweep.Include(Word(words, 2 * i), Word(words, 2 * i + 1));
    sweep.Step(Word(words, 2 * i - 2), Word(words, 2 * i));
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
// Points first .. last - 1, four at a time while four are left, with their steps from the point
// before (first >= 1); returns where it stopped. Eight lanes of 32 bits hold four points: the
// even lanes longitudes, the odd ones latitudes; the points before them are read one point earlier.
__attribute__((target("avx2"))) int32_t SweepInFours(const std::byte* words, int32_t first, int32_t last,
                                                     TBoundsSweep& sweep) {
  if (last - first < 8) return first;
  const __m256i east = _mm256_set1_epi32(GU_90_DEGREES - 1), west = _mm256_set1_epi32(-GU_90_DEGREES + 1);
  const __m256i longitudes = _mm256_setr_epi32(-1, 0, -1, 0, -1, 0, -1, 0);
  const __m256i zero = _mm256_setzero_si256(), minusOne = _mm256_set1_epi32(-1);
  __m256i low = _mm256_set1_epi32(INT32_MAX), high = _mm256_set1_epi32(INT32_MIN);
  __m256i lowEastern = low, highWestern = high, crossings = zero;
  int32_t i = first;
  for (; i + 4 <= last; i += 4) {
    const std::byte* at = words + 8 * static_cast<std::size_t>(i);
    const __m256i point = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at - 8));
    low = _mm256_min_epi32(low, point);
    high = _mm256_max_epi32(high, point);
    const __m256i nonNegative = _mm256_cmpgt_epi32(point, minusOne);
    lowEastern = _mm256_min_epi32(lowEastern, _mm256_blendv_epi8(_mm256_set1_epi32(INT32_MAX), point, nonNegative));
    highWestern = _mm256_max_epi32(highWestern, _mm256_blendv_epi8(point, _mm256_set1_epi32(INT32_MIN), nonNegative));
    const __m256i toEast = _mm256_cmpgt_epi32(point, east), toWest = _mm256_cmpgt_epi32(west, point);
    const __m256i fromEast = _mm256_cmpgt_epi32(before, east), fromWest = _mm256_cmpgt_epi32(west, before);
    const __m256i crossed = _mm256_or_si256(_mm256_and_si256(fromWest, toEast), _mm256_and_si256(fromEast, toWest));
    crossings = _mm256_sub_epi32(crossings, _mm256_and_si256(crossed, longitudes));  // -1 per crossing
  }
  alignas(32) int32_t lows[8], highs[8], lowsEastern[8], highsWestern[8], counts[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(lows), low);
  _mm256_store_si256(reinterpret_cast<__m256i*>(highs), high);
  _mm256_store_si256(reinterpret_cast<__m256i*>(lowsEastern), lowEastern);
  _mm256_store_si256(reinterpret_cast<__m256i*>(highsWestern), highWestern);
  _mm256_store_si256(reinterpret_cast<__m256i*>(counts), crossings);
  for (int k = 0; k < 8; k += 2) {
    sweep.MinLong = std::min(sweep.MinLong, lows[k]);
    sweep.MaxLong = std::max(sweep.MaxLong, highs[k]);
    sweep.MinLat = std::min(sweep.MinLat, lows[k + 1]);
    sweep.MaxLat = std::max(sweep.MaxLat, highs[k + 1]);
    sweep.MinNonNegLong = std::min(sweep.MinNonNegLong, lowsEastern[k]);
    sweep.MaxNegLong = std::max(sweep.MaxNegLong, highsWestern[k]);
    sweep.Crossings += counts[k];
  }
  return i;
}
#endif

// Point 0 with the step from the last point to it.
TBoundsSweep StartSweep(const std::byte* words, int32_t count) {
  TBoundsSweep sweep;
  sweep.Include(Word(words, 0), Word(words, 1));
  sweep.Step(Word(words, 2 * count - 2), Word(words, 0));
  return sweep;
}

}  // namespace

TGeoRect BoundsOfPackedPoints(const std::byte* words, int32_t count) {
  if (count <= 0) return TGeoRect();
  TBoundsSweep sweep = StartSweep(words, count);
  int32_t done = 1;
#if defined(__x86_64__) && defined(__GNUC__)
  if (HasAvx2()) done = SweepInFours(words, done, count, sweep);
#endif
  SweepPoints(words, done, count, sweep);
  return sweep.Rect();
}

TGeoRect BoundsOfPackedPointsWithoutAvx(const std::byte* words, int32_t count) {
  if (count <= 0) return TGeoRect();
  TBoundsSweep sweep = StartSweep(words, count);
  SweepPoints(words, 1, count, sweep);
  return sweep.Rect();
}

}  // namespace globe
