#include "globe/view/ChainSimplify.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "globe/data/GlobeUnits.h"

namespace globe {

namespace {

constexpr int64_t kFullTurn = int64_t{360} * GlobeUnitsPerDegree;
constexpr int32_t kRetries = 3;

// The chain's points as doubles, each longitude moved by whole turns to lie within half a turn
// of the one before it, so an edge across the 180-degree meridian stays short.
struct TPlanePoints {
  std::vector<double> X, Y;
  explicit TPlanePoints(const TPointStore& chain) {
    const int32_t n = chain.Count();
    X.resize(static_cast<size_t>(n));
    Y.resize(static_cast<size_t>(n));
    int64_t x = n > 0 ? chain.LongX(0) : 0;
    for (int32_t i = 0; i < n; ++i) {
      if (i > 0) {
        int64_t step = (int64_t{chain.LongX(i)} - chain.LongX(i - 1)) % kFullTurn;
        if (step > kFullTurn / 2) step -= kFullTurn;
        if (step < -kFullTurn / 2) step += kFullTurn;
        x += step;
      }
      X[static_cast<size_t>(i)] = static_cast<double>(x);
      Y[static_cast<size_t>(i)] = chain.LatY(i);
    }
  }
};

// Squared distance of point p from the segment a-b.
double SegmentDistance2(const TPlanePoints& pts, size_t p, size_t a, size_t b) {
  const double ax = pts.X[a], ay = pts.Y[a];
  const double dx = pts.X[b] - ax, dy = pts.Y[b] - ay;
  double px = pts.X[p] - ax, py = pts.Y[p] - ay;
  const double length2 = dx * dx + dy * dy;
  if (length2 > 0) {
    const double t = std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
    px -= t * dx;
    py -= t * dy;
  }
  return px * px + py * py;
}

// Marks the points of [first, last] that Douglas-Peucker keeps (the ends are marked already).
void MarkKept(const TPlanePoints& pts, size_t first, size_t last, double tolerance2, std::vector<char>& keep) {
  std::vector<std::pair<size_t, size_t>> spans{{first, last}};
  while (!spans.empty()) {
    const auto [a, b] = spans.back();
    spans.pop_back();
    double farthest = -1;
    size_t at = a;
    for (size_t p = a + 1; p < b; ++p) {
      const double d = SegmentDistance2(pts, p, a, b);
      if (d > farthest) {
        farthest = d;
        at = p;
      }
    }
    if (at == a || farthest <= tolerance2) continue;
    keep[at] = 1;
    spans.emplace_back(a, at);
    spans.emplace_back(at, b);
  }
}

double Area2(const std::vector<double>& x, const std::vector<double>& y) {
  const size_t n = x.size();
  if (n < 3) return 0;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n;
    sum += (x[i] - x[0]) * (y[j] - y[0]) - (x[j] - x[0]) * (y[i] - y[0]);
  }
  return sum;
}

// Corners of a ring: its points without a repeated first point at the end.
size_t Corners(const TPlanePoints& pts, const std::vector<size_t>& kept) {
  size_t n = kept.size();
  if (n > 1 && pts.X[kept.front()] == pts.X[kept.back()] && pts.Y[kept.front()] == pts.Y[kept.back()]) --n;
  return n;
}

std::vector<size_t> Simplify(const TPlanePoints& pts, double tolerance, bool closed) {
  const size_t n = pts.X.size();
  std::vector<char> keep(n, 0);
  keep.front() = keep.back() = 1;
  size_t split = n - 1;
  if (closed) {
    // A ring's ends coincide (or nearly): split it at its point farthest from the start.
    double farthest = -1;
    for (size_t p = 1; p + 1 < n; ++p) {
      const double dx = pts.X[p] - pts.X[0], dy = pts.Y[p] - pts.Y[0];
      if (dx * dx + dy * dy > farthest) {
        farthest = dx * dx + dy * dy;
        split = p;
      }
    }
    keep[split] = 1;
  }
  MarkKept(pts, 0, split, tolerance * tolerance, keep);
  if (split != n - 1) MarkKept(pts, split, n - 1, tolerance * tolerance, keep);
  std::vector<size_t> kept;
  for (size_t i = 0; i < n; ++i)
    if (keep[i]) kept.push_back(i);
  return kept;
}

bool SameTurn(const TPlanePoints& pts, const std::vector<size_t>& kept, double fullArea) {
  if (Corners(pts, kept) < 3) return false;
  std::vector<double> x, y;
  x.reserve(kept.size());
  y.reserve(kept.size());
  for (size_t i : kept) {
    x.push_back(pts.X[i]);
    y.push_back(pts.Y[i]);
  }
  const double area = Area2(x, y);
  return (area > 0) == (fullArea > 0) && area != 0;
}

}  // namespace

long double RingArea2(const TPointStore& chain) {
  const TPlanePoints pts(chain);
  return Area2(pts.X, pts.Y);
}

TPointStore SimplifyChain(const TPointStore& chain, int32_t tolerance, bool closed) {
  const int32_t n = chain.Count();
  if (n <= kSmallChainPoints || tolerance <= 0) return chain;
  const TPlanePoints pts(chain);
  std::vector<size_t> kept = Simplify(pts, tolerance, closed);
  if (closed) {
    const double fullArea = Area2(pts.X, pts.Y);
    double retry = tolerance;
    for (int32_t k = 0; k < kRetries && !SameTurn(pts, kept, fullArea); ++k) {
      retry /= 4;
      kept = Simplify(pts, retry, closed);
    }
    if (!SameTurn(pts, kept, fullArea)) return chain;
  }
  if (static_cast<int32_t>(kept.size()) == n) return chain;
  TPointStore simplified(chain.StoreHeight());
  simplified.SetCount(static_cast<int32_t>(kept.size()));
  for (size_t i = 0; i < kept.size(); ++i)
    simplified.SetPoint(static_cast<int32_t>(i), chain.Point(static_cast<int32_t>(kept[i])));
  return simplified;
}

}  // namespace globe
