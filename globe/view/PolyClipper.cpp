#include "globe/view/PolyClipper.h"

#include <algorithm>
#include <utility>

namespace globe {
namespace {

using platform::TPoint;

// start + round(delta × numerator / denominator), halves away from zero, clamped to 32 bits.
int32_t Interpolate(int32_t start, int64_t delta, int64_t numerator, int64_t denominator) {
  const __int128 product = static_cast<__int128>(delta) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const __int128 absProduct = product < 0 ? -product : product;
  const __int128 absDenominator =
      denominator < 0 ? -static_cast<__int128>(denominator) : static_cast<__int128>(denominator);
  __int128 quotient = (absProduct + absDenominator / 2) / absDenominator;
  if (negative) quotient = -quotient;
  const __int128 result = quotient + start;
  return static_cast<int32_t>(std::clamp<__int128>(result, INT32_MIN, INT32_MAX));
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

enum class Edge { Top, Right, Bottom, Left };

bool Inside(Edge edge, const TPoint& p, const TClipWindow& w) {
  switch (edge) {
    case Edge::Top: return p.Y >= 0;
    case Edge::Right: return p.X <= w.Width;
    case Edge::Bottom: return p.Y <= w.Height;
    case Edge::Left: return p.X >= 0;
  }
  return true;
}

// The point where a -> b meets the edge moved `Margin` pixels outwards. Only called when one
// end is inside and the other outside, so the coordinates across the edge differ.
TPoint Crossing(Edge edge, const TPoint& a, const TPoint& b, const TClipWindow& w) {
  const int64_t margin = w.Margin;
  auto atY = [&](int64_t y) {
    return TPoint{Interpolate(a.X, int64_t{b.X} - a.X, y - a.Y, int64_t{b.Y} - a.Y), Clamp32(y)};
  };
  auto atX = [&](int64_t x) {
    return TPoint{Clamp32(x), Interpolate(a.Y, int64_t{b.Y} - a.Y, x - a.X, int64_t{b.X} - a.X)};
  };
  switch (edge) {
    case Edge::Top: return atY(-margin);
    case Edge::Right: return atX(int64_t{w.Width} + margin);
    case Edge::Bottom: return atY(int64_t{w.Height} + margin);
    case Edge::Left: return atX(-margin);
  }
  return a;
}

// One pass. The list is walked as if closed (first point repeated after the last) for closed
// shapes, or with the last point repeated for open ones, so no closing segment appears.
int32_t ClipEdge(Edge edge, const TPoint* in, int32_t count, bool closed, TPoint* out,
                 int32_t capacity, const TClipWindow& w) {
  int32_t n = 0;
  auto put = [&](const TPoint& p) {
    if (n < capacity) out[n++] = p;
  };
  for (int32_t i = 0; i < count; ++i) {
    const TPoint& a = in[i];
    const TPoint& b = i + 1 < count ? in[i + 1] : (closed ? in[0] : in[count - 1]);
    const bool aInside = Inside(edge, a, w);
    if (aInside) put(a);
    if (aInside != Inside(edge, b, w)) put(Crossing(edge, a, b, w));
  }
  return n;
}

}  // namespace

int32_t ClipDevicePoints(TPoint* points, int32_t count, TPoint* work, int32_t capacity,
                         uint16_t state, const TClipWindow& window) {
  count = std::clamp(count, 0, std::max(capacity, 0));
  if ((state & ClipEdgeBits) == 0 || count == 0) return count;
  const bool closed = (state & ClipClosedBit) != 0;
  const std::pair<uint16_t, Edge> passes[] = {{ClipTopBit, Edge::Top},
                                              {ClipRightBit, Edge::Right},
                                              {ClipBottomBit, Edge::Bottom},
                                              {ClipLeftBit, Edge::Left}};
  TPoint* in = points;
  TPoint* out = work;
  for (const auto& [bit, edge] : passes) {
    if ((state & bit) == 0) continue;
    count = ClipEdge(edge, in, count, closed, out, capacity, window);
    std::swap(in, out);
  }
  if (in != points) std::copy(in, in + count, points);
  return count;
}

}  // namespace globe
