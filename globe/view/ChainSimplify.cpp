#include "globe/view/ChainSimplify.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "globe/data/GlobeUnits.h"

namespace globe {

namespace {

constexpr int64_t kFullTurn = int64_t{360} * GlobeUnitsPerDegree;
constexpr int32_t kRetries = 3;
// Share of the tolerance spent on the first pass (points near the last one kept); the rest is
// Douglas-Peucker's. A point left out in the first pass lies within its share of a point that
// Douglas-Peucker keeps or passes within its own share of, so the two shares add up.
constexpr double kNearShare = 0.5;

// The chain's points that lie farther than `radius` from the point kept before them (the first
// and the last point always), as doubles with each longitude moved by whole turns to lie within
// half a turn of the previous point's (an edge across the 180-degree meridian stays short), and
// their places in the chain. Also whether the whole chain, as a ring, has a positive signed area.
// Room for every point is taken at once, so that the walk makes no call (which would keep its
// running values in memory rather than in registers).
struct TPlanePoints {
  std::unique_ptr<double[]> X, Y;
  std::unique_ptr<int32_t[]> Index;
  size_t Count = 0;
  bool PositiveArea = false;

  TPlanePoints(const TPointStore& chain, double radius) {
    const TPointStore::TPackedView points = chain.Packed();
    const int32_t n = points.Count();
    const double radius2 = radius * radius;
    X = std::make_unique_for_overwrite<double[]>(static_cast<size_t>(n));
    Y = std::make_unique_for_overwrite<double[]>(static_cast<size_t>(n));
    Index = std::make_unique_for_overwrite<int32_t[]>(static_cast<size_t>(n));
    int64_t x = points.LongX(0);
    const double x0 = static_cast<double>(x), y0 = points.LatY(0);
    double previousX = 0, previousY = 0;  // relative to the first point, for the area
    double area2 = 0;
    double keptX = x0, keptY = y0;  // the last point kept
    Add(x0, y0, 0);
    for (int32_t i = 1; i < n; ++i) {
      // Within half a turn of the previous longitude (two 32-bit values differ by under
      // three turns, so no division is needed).
      int64_t step = int64_t{points.LongX(i)} - points.LongX(i - 1);
      while (step > kFullTurn / 2) step -= kFullTurn;
      while (step < -kFullTurn / 2) step += kFullTurn;
      x += step;
      const double px = static_cast<double>(x), py = points.LatY(i);
      area2 += previousX * (py - y0) - (px - x0) * previousY;
      previousX = px - x0;
      previousY = py - y0;
      const double dx = px - keptX, dy = py - keptY;
      if (i == n - 1 || dx * dx + dy * dy > radius2) {
        Add(px, py, i);
        keptX = px;
        keptY = py;
      }
    }
    PositiveArea = area2 > 0;  // only the sign is kept: the sum stays in a register while summed
  }
  void Add(double x, double y, int32_t index) {
    X[Count] = x;
    Y[Count] = y;
    Index[Count] = index;
    ++Count;
  }
  size_t Size() const { return Count; }
};

// Marks the points of [first, last] that Douglas-Peucker keeps (the ends are marked already).
// Distances from a span's segment are compared scaled by the segment's squared length, which
// spares a division per point.
void MarkKept(const TPlanePoints& pts, size_t first, size_t last, double tolerance2, std::vector<char>& keep) {
  std::vector<std::pair<size_t, size_t>> spans{{first, last}};
  while (!spans.empty()) {
    const auto [a, b] = spans.back();
    spans.pop_back();
    const double ax = pts.X[a], ay = pts.Y[a];
    const double dx = pts.X[b] - ax, dy = pts.Y[b] - ay;
    const double length2 = dx * dx + dy * dy;
    const double scale = length2 > 0 ? length2 : 1;
    double farthest = -1;
    size_t at = a;
    for (size_t p = a + 1; p < b; ++p) {
      const double px = pts.X[p] - ax, py = pts.Y[p] - ay;
      const double along = px * dx + py * dy;
      double d;
      if (length2 > 0 && along > 0 && along < length2) {
        const double cross = px * dy - py * dx;  // the distance from the line times its length
        d = cross * cross;
      } else if (length2 > 0 && along >= length2) {
        const double qx = px - dx, qy = py - dy;
        d = (qx * qx + qy * qy) * scale;
      } else {
        d = (px * px + py * py) * scale;
      }
      if (d > farthest) {
        farthest = d;
        at = p;
      }
    }
    if (at == a || farthest <= tolerance2 * scale) continue;
    keep[at] = 1;
    spans.emplace_back(a, at);
    spans.emplace_back(at, b);
  }
}

// Places (in `pts`) of the points kept.
std::vector<size_t> Simplify(const TPlanePoints& pts, double tolerance, bool closed) {
  const size_t n = pts.Size();
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

// Whether the kept points still make a ring of at least three corners winding like the chain.
bool SameTurn(const TPlanePoints& pts, const std::vector<size_t>& kept) {
  size_t corners = kept.size();
  if (corners > 1 && pts.X[kept.front()] == pts.X[kept.back()] && pts.Y[kept.front()] == pts.Y[kept.back()])
    --corners;
  if (corners < 3) return false;
  double area = 0;
  const double x0 = pts.X[kept[0]], y0 = pts.Y[kept[0]];
  for (size_t i = 0; i < kept.size(); ++i) {
    const size_t j = (i + 1) % kept.size();
    area += (pts.X[kept[i]] - x0) * (pts.Y[kept[j]] - y0) - (pts.X[kept[j]] - x0) * (pts.Y[kept[i]] - y0);
  }
  return area != 0 && (area > 0) == pts.PositiveArea;
}

// The kept points, or nothing when the ring would turn over or flatten.
std::vector<int32_t> KeptIndices(const TPointStore& chain, double tolerance, bool closed) {
  const TPlanePoints pts(chain, tolerance * kNearShare);
  const std::vector<size_t> kept = Simplify(pts, tolerance * (1 - kNearShare), closed);
  if (closed && !SameTurn(pts, kept)) return {};
  std::vector<int32_t> indices(kept.size());
  for (size_t i = 0; i < kept.size(); ++i) indices[i] = pts.Index[kept[i]];
  return indices;
}

}  // namespace

TPointStore SimplifyChain(const TPointStore& chain, int32_t tolerance, bool closed) {
  const int32_t n = chain.Count();
  if (n <= kSmallChainPoints || tolerance <= 0) return chain;
  std::vector<int32_t> kept;
  double retry = tolerance;
  for (int32_t k = 0; k <= kRetries && kept.empty(); ++k, retry /= 4) kept = KeptIndices(chain, retry, closed);
  if (kept.empty() || static_cast<int32_t>(kept.size()) == n) return chain;
  TPointStore simplified(chain.StoreHeight());
  simplified.SetCount(static_cast<int32_t>(kept.size()));
  for (size_t i = 0; i < kept.size(); ++i) simplified.SetPoint(static_cast<int32_t>(i), chain.Point(kept[i]));
  return simplified;
}

}  // namespace globe
