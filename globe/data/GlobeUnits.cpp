#include "globe/data/GlobeUnits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "globe/data/CpuFeatures.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"

namespace globe {

namespace {

struct TUnitEntry {
  const char* Code;
  long double Factor;
};

// In the order of TGlobeUnitTypes. The mile is 5280/6080 of a nautical mile; the imperial
// lengths derive from the table's mile value.
constexpr std::array<TUnitEntry, GlobeUnitTypeCount> UnitTable{{
    {"D", 5'400'000.0L},
    {"MN", 90'000.0L},
    {"NM", 90'000.0L},
    {"KM", 48'596.11231101512L},
    {"MI", 78'157.89483968144L},
    {"S", 1'500.0L},
    {"T", 250.0L},
    {"H", 15.0L},
    {"T", 1.0L},
    {"M", 48.59611231101512L},
    {"CM", 0.48596112311015116L},
    {"F", 88.8157895905471L},
    {"YD", 44.40789479527355L},
    {"FT", 14.802631598424515L},
    {"IN", 1.233552633202043L},
    {"GU", 1.0L},
    {"PI", 0.0L},
}};

const TUnitEntry& Entry(TGlobeUnitTypes unit) {
  const auto index = static_cast<std::size_t>(unit);
  return UnitTable[index < UnitTable.size() ? index : static_cast<std::size_t>(TGlobeUnitTypes::GlobeUnit)];
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

long double GlobeUnitFactor(TGlobeUnitTypes unit) { return Entry(unit).Factor; }

long double GUToUnits(long double value, TGlobeUnitTypes unit) {
  const long double factor = Entry(unit).Factor;
  return factor == 0 ? 0 : value / factor;
}

int32_t UnitsToGU(long double value, TGlobeUnitTypes unit) {
  return RoundToInt(value * Entry(unit).Factor);
}

TGlobeUnitTypes StrToUnits(std::string_view text) {
  for (std::size_t i = 0; i < UnitTable.size(); ++i)
    if (SameTextAscii(text, UnitTable[i].Code)) return static_cast<TGlobeUnitTypes>(i);
  throw EGlobeException(FormatGlobeMessage("StrToUnits: Unknown Unit %s", text));
}

std::string UnitsToStr(TGlobeUnitTypes unit) { return Entry(unit).Code; }

namespace {

// trunc of a finite value through the nearest integer: the same result without switching the x87
// rounding mode twice per call (map readers convert every coordinate through DegToGU).
long double TruncFinite(long double v) {
  if (!(std::fabs(v) < RoundHalfEvenLimit)) return std::trunc(v);
  const long double r = RoundHalfEvenExtended(v);
  if (v >= 0) return r > v ? r - 1 : r;
  return r < v ? r + 1 : r;
}

// DegToGU of a double of at least one degree and below 2^31 degrees, in integers. For such
// values every step of the degree, minute and second split below is exact in Extended, and
// the whole parts sum to a multiple of 1,500 (even), so the result is exactly the nearest integer
// (halves to even) of degrees x 5,400,000. With the double as m x 2^e, that is m x 84,375 x 2^(e+6)
// rounded, where e + 6 < 0 in this range.
int32_t DoubleDegreesToGU(double degrees) {
  const uint64_t bits = std::bit_cast<uint64_t>(degrees);
  const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  const int shift = 1075 - static_cast<int>((bits >> 52) & 0x7FF) - 6;  // 16..46 here
  const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * 84'375u;
  auto units = static_cast<uint64_t>(product >> shift);
  const unsigned __int128 rest = product & ((static_cast<unsigned __int128>(1) << shift) - 1);
  const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
  if (rest > half || (rest == half && (units & 1))) ++units;
  const auto value = static_cast<int64_t>(units);
  return Wrap32((bits >> 63) ? -value : value);
}

// DegToGU of a double below one degree, unless its double product with 5,400,000 lies exactly
// on a half. Below one degree every step of the split is exact in Extended but the last product
// (the second's remainder x 1,500), whose rounding cannot carry it across a half (halves are
// Extended numbers, rounding keeps order); it can land on one only within an Extended unit of
// it, and there the double product, rounded the same way but far coarser, lands on it too. So
// off the halves the result is the nearest integer of the double product.
std::optional<int32_t> SmallDegreesToGU(double degrees) {
  const double product = degrees * GlobeUnitsPerDegree;
  const double rounded = std::nearbyint(product);
  if (!(std::fabs(product - rounded) < 0.5)) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

}  // namespace

int32_t DoubleDegToGU(double degrees) {
  const double magnitude = std::fabs(degrees);
  if (magnitude >= 1 && magnitude < 2147483648.0) return DoubleDegreesToGU(degrees);
  if (magnitude < 1)
    if (const auto units = SmallDegreesToGU(degrees)) return *units;
  return DegToGU(static_cast<long double>(degrees));
}

namespace {

// Exact products degrees x 5,400,000 rounded halves to even, for 1 <= |degrees| < 397 (so the
// result fits 32 bits): the double is split in two halves of 26 bits (Veltkamp), whose products
// with 5,400,000 (17 significant bits) are exact; their sum is rounded with its error kept
// (two-sum), and the rounding to an integer (the 1.5 x 2^52 trick) is corrected by the error
// only when the rounded sum lies exactly halfway. Plain double arithmetic, no branches.
constexpr double kSplitter = 134'217'729.0;  // 2^27 + 1
constexpr double kRoundMagic = 6'755'399'441'055'744.0;  // 1.5 x 2^52
constexpr double kFastLimit = 397.0;

double RoundedProduct(double degrees) {
  const double c = degrees * kSplitter;
  const double high = c - (c - degrees);
  const double low = degrees - high;
  const double a = high * GlobeUnitsPerDegree, b = low * GlobeUnitsPerDegree;
  const double sum = a + b;
  const double bPart = sum - a;
  const double error = (a - (sum - bPart)) + (b - bPart);
  const double rounded = (sum + kRoundMagic) - kRoundMagic;
  const double fraction = sum - rounded;
  return rounded + static_cast<double>((fraction == 0.5) & (error > 0)) -
         static_cast<double>((fraction == -0.5) & (error < 0));
}

// A little-endian double from any alignment (mapped files).
double LoadDouble(const std::byte* at) {
  double value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

#if defined(__SSE2__)
// RoundedProduct of two doubles at once (SSE2 is in every x86-64 processor): the same operations
// in the same order, so the same results. False when either value is outside the fast range, or
// below one degree on a half (see SmallDegreesToGU).
bool RoundedProducts(const std::byte* doubles, int32_t* out) {
  const __m128d d = _mm_loadu_pd(reinterpret_cast<const double*>(doubles));
  const __m128d sign = _mm_set1_pd(-0.0), one = _mm_set1_pd(1.0);
  const __m128d magnitude = _mm_andnot_pd(sign, d);
  const __m128d c = _mm_mul_pd(d, _mm_set1_pd(kSplitter));
  const __m128d high = _mm_sub_pd(c, _mm_sub_pd(c, d));
  const __m128d low = _mm_sub_pd(d, high);
  const __m128d factor = _mm_set1_pd(GlobeUnitsPerDegree);
  const __m128d a = _mm_mul_pd(high, factor), b = _mm_mul_pd(low, factor);
  const __m128d sum = _mm_add_pd(a, b);
  const __m128d bPart = _mm_sub_pd(sum, a);
  const __m128d error = _mm_add_pd(_mm_sub_pd(a, _mm_sub_pd(sum, bPart)), _mm_sub_pd(b, bPart));
  const __m128d magic = _mm_set1_pd(kRoundMagic);
  const __m128d rounded = _mm_sub_pd(_mm_add_pd(sum, magic), magic);
  const __m128d fraction = _mm_sub_pd(sum, rounded);
  const __m128d clear = _mm_or_pd(_mm_cmpge_pd(magnitude, one),
                                  _mm_cmplt_pd(_mm_andnot_pd(sign, fraction), _mm_set1_pd(0.5)));
  if (_mm_movemask_pd(_mm_and_pd(clear, _mm_cmplt_pd(magnitude, _mm_set1_pd(kFastLimit)))) != 3) return false;
  const __m128d zero = _mm_setzero_pd();
  const __m128d up = _mm_and_pd(_mm_and_pd(_mm_cmpeq_pd(fraction, _mm_set1_pd(0.5)), _mm_cmpgt_pd(error, zero)), one);
  const __m128d down = _mm_and_pd(_mm_and_pd(_mm_cmpeq_pd(fraction, _mm_set1_pd(-0.5)), _mm_cmplt_pd(error, zero)), one);
  // Whole numbers below 2^31 in magnitude: truncation is exact.
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_cvttpd_epi32(_mm_sub_pd(_mm_add_pd(rounded, up), down)));
  return true;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// RoundedProduct of four doubles at once where the processor has AVX2. The product
// rounded to a double and then to an integer is the exact product rounded unless the double lies
// exactly halfway between two integers (only then does its rounding error decide): such groups,
// rare in map data, and groups with a value outside the fast range go to the single conversion,
// so the vector road needs no rounding error and gives the same results. Returns how many values
// it converted (whole groups of four).
// With `Pairs`, the values are longitude, latitude pairs and the longitudes are wrapped
// (NormaliseLongitude) in the same registers.
template <bool Pairs>
__attribute__((target("avx2"))) std::size_t RoundedProductsInFours(const std::byte* doubles, std::size_t count,
                                                                  int32_t* out) {
  const __m256d sign = _mm256_set1_pd(-0.0), limit = _mm256_set1_pd(kFastLimit);
  const __m256d factor = _mm256_set1_pd(GlobeUnitsPerDegree), half = _mm256_set1_pd(0.5);
  const __m128i east = _mm_set1_epi32(972'000'001), west = _mm_set1_epi32(-972'000'001);
  const __m128i turn = _mm_setr_epi32(GU_360_DEGREES, 0, GU_360_DEGREES, 0);  // longitudes only
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d d = _mm256_loadu_pd(reinterpret_cast<const double*>(doubles + i * sizeof(double)));
    const __m256d sum = _mm256_mul_pd(d, factor);
    const __m256d rounded = _mm256_round_pd(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    // Below one degree a fraction of one half is not taken either (SmallDegreesToGU); NaN fails both.
    const __m256d fast = _mm256_and_pd(_mm256_cmp_pd(_mm256_andnot_pd(sign, d), limit, _CMP_LT_OQ),
                                       _mm256_cmp_pd(_mm256_andnot_pd(sign, _mm256_sub_pd(sum, rounded)), half, _CMP_LT_OQ));
    if (_mm256_movemask_pd(fast) != 0xF) {
      for (std::size_t k = i; k < i + 4; ++k) out[k] = DoubleDegToGU(LoadDouble(doubles + k * sizeof(double)));
      if (Pairs) NormaliseLongitudes(out + i, 2);
      continue;
    }
    // Whole numbers below 2^31 in magnitude: truncation is exact.
    __m128i units = _mm256_cvttpd_epi32(rounded);
    if (Pairs)  // no overflow: a wrapped longitude lies within 360 degrees of the value
      units = _mm_add_epi32(_mm_sub_epi32(units, _mm_and_si128(_mm_cmpgt_epi32(units, east), turn)),
                            _mm_and_si128(_mm_cmplt_epi32(units, west), turn));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), units);
  }
  return i;
}
#endif

}  // namespace

void DoubleDegToGUs(const std::byte* doubles, std::size_t count, int32_t* out) {
  std::size_t done = 0;
#if defined(__x86_64__) && defined(__GNUC__)
  if (HasAvx2()) done = RoundedProductsInFours<false>(doubles, count, out);
#endif
  DoubleDegToGUsWithoutAvx(doubles + done * sizeof(double), count - done, out + done);
}

void DoubleDegPairsToGUs(const std::byte* doubles, std::size_t points, int32_t* out) {
  std::size_t done = 0;  // values, a whole number of pairs
#if defined(__x86_64__) && defined(__GNUC__)
  if (HasAvx2()) done = RoundedProductsInFours<true>(doubles, 2 * points, out);
#endif
  DoubleDegToGUsWithoutAvx(doubles + done * sizeof(double), 2 * points - done, out + done);
  NormaliseLongitudes(out + done, static_cast<int32_t>(points - done / 2));
}

void DoubleDegToGUsWithoutAvx(const std::byte* doubles, std::size_t count, int32_t* out) {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 2 <= count; i += 2) {
    if (RoundedProducts(doubles + i * sizeof(double), out + i)) continue;
    for (std::size_t k = i; k < i + 2; ++k) out[k] = DoubleDegToGU(LoadDouble(doubles + k * sizeof(double)));
  }
#endif
  for (; i < count; ++i) {
    const double value = LoadDouble(doubles + i * sizeof(double));
    const double magnitude = std::fabs(value);
    out[i] = magnitude >= 1 && magnitude < kFastLimit ? static_cast<int32_t>(RoundedProduct(value)) : DoubleDegToGU(value);
  }
}

int32_t DegToGU(long double degrees) {
  if (!std::isfinite(degrees)) return 0;
  // Map files hold doubles: the common case takes the integer path (same result, far cheaper
  // than the split in Extended).
  const auto asDouble = static_cast<double>(degrees);
  const double magnitude = std::fabs(asDouble);
  if (static_cast<long double>(asDouble) == degrees) {
    if (magnitude >= 1 && magnitude < 2147483648.0) return DoubleDegreesToGU(asDouble);
    if (magnitude < 1)
      if (const auto units = SmallDegreesToGU(asDouble)) return *units;
  }
  const long double wholeDegrees = TruncFinite(degrees);
  const long double minutes = (degrees - wholeDegrees) * 60;
  const long double wholeMinutes = TruncFinite(minutes);
  const long double seconds = (minutes - wholeMinutes) * 60;
  const long double wholeSeconds = TruncFinite(seconds);
  const long double result = wholeDegrees * GlobeUnitsPerDegree + wholeMinutes * GlobeUnitsPerMinute +
                             wholeSeconds * GlobeUnitsPerSecond +
                             RoundHalfEvenExtended((seconds - wholeSeconds) * GlobeUnitsPerSecond);
  return RoundToInt(result);
}

long double StrToExtended(std::string_view text) {
  std::string_view t = text;
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
  std::string_view digits = t;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  long double value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      !std::isfinite(value))
    throw EGlobeException(FormatGlobeMessage("StrToExtended: Conversion failed for %s", text));
  return value;
}

int32_t LongitudeSpan(int32_t a, int32_t b) {
  const int64_t diff = int64_t{b} - a;
  int64_t span = diff < 0 ? -diff : diff;
  if (std::max(diff, -diff) >= GU_180_DEGREES) span = GU_360_DEGREES - span;
  if (span == 0) span = 1;
  return Wrap32(span);
}

}  // namespace globe
