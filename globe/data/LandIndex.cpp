#include "globe/data/LandIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "globe/data/GeoDataObject.h"
#include "globe/data/GeoMath.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/GreatCirclePath.h"

namespace globe {

namespace {

constexpr long double kCellSize = GlobeUnitsPerDegree / 2.0L;
// Legs are checked as straight lines in latitude and longitude between points this far apart.
constexpr int32_t kLegStep = 2 * GlobeUnitsPerMinute;

// Longitude difference b - a the short way round.
int64_t LongitudeDelta(int32_t a, int32_t b) {
  int64_t d = int64_t{b} - a;
  if (d > GU_180_DEGREES) d -= GU_360_DEGREES;
  if (d < -GU_180_DEGREES) d += GU_360_DEGREES;
  return d;
}

// Sign of the turn a -> b -> c (positive: to the left). The differences stay below 2^31, so the
// products fit in 64 bits.
int Turn(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t cx, int64_t cy) {
  const int64_t cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  return (cross > 0) - (cross < 0);
}

bool Between(int64_t a, int64_t b, int64_t v) { return std::min(a, b) <= v && v <= std::max(a, b); }

// Whether the segments p1-p2 and q1-q2 meet (touching included).
bool SegmentsMeet(int64_t p1x, int64_t p1y, int64_t p2x, int64_t p2y, int64_t q1x, int64_t q1y, int64_t q2x,
                  int64_t q2y) {
  const int d1 = Turn(q1x, q1y, q2x, q2y, p1x, p1y), d2 = Turn(q1x, q1y, q2x, q2y, p2x, p2y);
  const int d3 = Turn(p1x, p1y, p2x, p2y, q1x, q1y), d4 = Turn(p1x, p1y, p2x, p2y, q2x, q2y);
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  if (d1 == 0 && Between(q1x, q2x, p1x) && Between(q1y, q2y, p1y)) return true;
  if (d2 == 0 && Between(q1x, q2x, p2x) && Between(q1y, q2y, p2y)) return true;
  if (d3 == 0 && Between(p1x, p2x, q1x) && Between(p1y, p2y, q1y)) return true;
  if (d4 == 0 && Between(p1x, p2x, q2x) && Between(p1y, p2y, q2y)) return true;
  return false;
}

// Distance from the origin to the segment (ax, ay)-(bx, by).
long double DistanceToSegment(long double ax, long double ay, long double bx, long double by) {
  const long double dx = bx - ax, dy = by - ay;
  const long double lengthSquared = dx * dx + dy * dy;
  long double t = lengthSquared > 0 ? -(ax * dx + ay * dy) / lengthSquared : 0;
  t = std::clamp(t, 0.0L, 1.0L);
  return std::hypot(ax + t * dx, ay + t * dy);
}

// The cell of a coordinate on an axis from -half to +half, in cells of half a degree.
int CellOf(int32_t value, int64_t half, int cells) {
  const int64_t cell = (int64_t{value} + half) / (GlobeUnitsPerDegree / 2);
  return static_cast<int>(std::clamp<int64_t>(cell, 0, cells - 1));
}

}  // namespace

int TLandIndex::Column(long double longX) {
  const auto column = static_cast<int>(std::floor((longX + GU_180_DEGREES) / kCellSize));
  return std::clamp(column, 0, kColumns - 1);
}

int TLandIndex::Row(long double latY) {
  const auto row = static_cast<int>(std::floor((latY + GU_90_DEGREES) / kCellSize));
  return std::clamp(row, 0, kRows - 1);
}

void TLandIndex::AddSource(TGlobeObjectSource& source) {
  std::vector<TGeoPoint> ring;
  for (int32_t i = 0; i < source.Count(); ++i) {
    const auto* object = dynamic_cast<const TGeoDataObject*>(source.Objects(i));
    if (object == nullptr) continue;
    const TChainStore& chains = object->Chains();
    for (int32_t c = 0; c < chains.Count(); ++c) {
      const TPointStore* chain = chains.ChainIfPresent(c);
      if (chain == nullptr) continue;
      ring.resize(static_cast<std::size_t>(chain->Count()));
      for (int32_t p = 0; p < chain->Count(); ++p) ring[static_cast<std::size_t>(p)] = chain->Point(p);
      AddRing(ring);
    }
  }
}

void TLandIndex::AddRing(std::span<const TGeoPoint> ring) {
  if (ring.size() < 3) return;  // no area
  // A ring around a pole (Antarctica) runs once round the globe and is closed over the
  // 180-degree meridian; it is closed through its pole instead, so that it encloses the pole.
  int64_t turn = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) turn += LongitudeDelta(ring[i].LongX, ring[(i + 1) % ring.size()].LongX);
  const bool aroundPole = std::abs(turn) > GU_180_DEGREES;
  const int32_t pole = ring.front().LatY < 0 ? -GU_90_DEGREES : GU_90_DEGREES;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const TGeoPoint& from = ring[i];
    const TGeoPoint& to = ring[(i + 1) % ring.size()];
    if (!aroundPole || std::abs(int64_t{to.LongX} - from.LongX) <= GU_180_DEGREES) {
      AddEdge(from, to, false);
      continue;
    }
    const int32_t side = from.LongX > 0 ? GU_180_DEGREES : -GU_180_DEGREES;
    const TGeoPoint path[] = {from, TGeoPoint(side, from.LatY), TGeoPoint(side, pole), TGeoPoint(-side, pole),
                              TGeoPoint(-side, to.LatY), to};
    for (std::size_t k = 1; k < std::size(path); ++k) AddEdge(path[k - 1], path[k], true);
  }
}

void TLandIndex::AddEdge(const TGeoPoint& from, const TGeoPoint& to, bool cut) {
  const bool alongMeridian = from.LongX == to.LongX && std::abs(int64_t{from.LongX}) == GU_180_DEGREES;
  const bool alongPole = from.LatY == to.LatY && std::abs(int64_t{from.LatY}) >= GU_90_DEGREES;
  const bool wraps = std::abs(int64_t{to.LongX} - from.LongX) > GU_180_DEGREES;
  Edges_.push_back({from.LongX, from.LatY, to.LongX, to.LatY, cut || alongMeridian || alongPole || wraps});
  Filed_ = false;
}

template <class Visit>
void TLandIndex::ForEachCellOf(const TEdge& edge, Visit&& visit) {
  // Row by row: the part of the line within the row's band of latitude spans a range of columns.
  // In double (exact to far below a unit here): long double costs many times more per row.
  constexpr int64_t kCell = GlobeUnitsPerDegree / 2;
  constexpr double kMargin = 1;
  const int64_t minX = std::min(edge.X1, edge.X2), maxX = std::max(edge.X1, edge.X2);
  const int64_t minY = std::min(edge.Y1, edge.Y2), maxY = std::max(edge.Y1, edge.Y2);
  const int r1 = CellOf(static_cast<int32_t>(minY), GU_90_DEGREES, kRows);
  const int r2 = CellOf(static_cast<int32_t>(maxY), GU_90_DEGREES, kRows);
  const bool flat = edge.Y1 == edge.Y2;
  const double slope = flat ? 0 : static_cast<double>(int64_t{edge.X2} - edge.X1) / static_cast<double>(int64_t{edge.Y2} - edge.Y1);
  auto xAt = [&](int64_t y) { return static_cast<double>(edge.X1) + static_cast<double>(y - edge.Y1) * slope; };
  auto column = [](double x) {
    return static_cast<int>(std::clamp(std::floor((x + GU_180_DEGREES) / kCell), 0.0, kColumns - 1.0));
  };
  for (int r = r1; r <= r2; ++r) {
    const int64_t bottom = r == r1 ? minY : r * kCell - GU_90_DEGREES;
    const int64_t top = r == r2 ? maxY : (r + 1) * kCell - GU_90_DEGREES;
    const double xa = flat ? static_cast<double>(minX) : xAt(bottom), xb = flat ? static_cast<double>(maxX) : xAt(top);
    const double west = std::max(std::min(xa, xb), static_cast<double>(minX)) - kMargin;
    const double east = std::min(std::max(xa, xb), static_cast<double>(maxX)) + kMargin;
    const std::size_t rowStart = static_cast<std::size_t>(r) * kColumns;
    for (int c = column(west), last = column(east); c <= last; ++c) visit(rowStart + static_cast<std::size_t>(c));
  }
}

void TLandIndex::FileEdges() const {
  // Two passes: count the edges of every cell (giving up past the cap), then place them.
  constexpr std::size_t kCells = static_cast<std::size_t>(kColumns) * kRows;
  Filed_ = true;
  CellEdges_.clear();
  CellStart_.assign(kCells + 1, 0);
  std::size_t total = 0;
  TooLarge_ = Edges_.size() > static_cast<std::size_t>(INT32_MAX);
  for (std::size_t i = 0; i < Edges_.size() && !TooLarge_; ++i) {
    ForEachCellOf(Edges_[i], [&](std::size_t cell) { ++CellStart_[cell + 1]; ++total; });
    TooLarge_ = total > MaxCellEntries_;
  }
  if (TooLarge_) {
    CellStart_.assign(kCells + 1, 0);  // every cell empty: no land anywhere
    return;
  }
  for (std::size_t i = 0; i < kCells; ++i) CellStart_[i + 1] += CellStart_[i];
  CellEdges_.assign(total, 0);
  std::vector<std::size_t> next(CellStart_.begin(), CellStart_.end() - 1);
  for (std::size_t i = 0; i < Edges_.size(); ++i) {
    ForEachCellOf(Edges_[i], [&](std::size_t cell) { CellEdges_[next[cell]++] = static_cast<std::int32_t>(i); });
  }
}

bool TLandIndex::TooLarge() const {
  if (!Filed_ || CellStart_.empty()) FileEdges();
  return TooLarge_;
}

std::size_t TLandIndex::CellEntryCount() const {
  if (!Filed_ || CellStart_.empty()) FileEdges();
  return CellEdges_.size();
}

std::span<const std::int32_t> TLandIndex::Cell(int column, int row) const {
  if (!Filed_ || CellStart_.empty()) FileEdges();
  const std::size_t cell = static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column);
  return {CellEdges_.data() + CellStart_[cell], CellEdges_.data() + CellStart_[cell + 1]};
}

bool TLandIndex::IsLand(const TGeoPoint& point) const {
  // A point on a ring's edge is land, whichever side the land lies on (the count below would
  // class it by the side alone). An edge through the point is filed in the point's cell; an
  // edge that wraps round the globe is no line on the map.
  const int row = Row(point.LatY);
  for (const std::int32_t i : Cell(Column(point.LongX), row)) {
    const TEdge& e = Edges_[static_cast<std::size_t>(i)];
    if (std::abs(int64_t{e.X2} - e.X1) <= GU_180_DEGREES &&
        SegmentsMeet(point.LongX, point.LatY, point.LongX, point.LatY, e.X1, e.Y1, e.X2, e.Y2)) {
      return true;
    }
  }
  // Counts the rings' edges that a ray from the point toward the east crosses. An edge is
  // filed in every cell its line runs through; it is counted in the cell where the ray meets it.
  const long double px = point.LongX;
  bool inside = false;
  for (int column = Column(point.LongX); column < kColumns; ++column) {
    for (const std::int32_t i : Cell(column, row)) {
      const TEdge& e = Edges_[static_cast<std::size_t>(i)];
      if ((e.Y1 > point.LatY) == (e.Y2 > point.LatY)) continue;
      long double x = e.X1 + static_cast<long double>(point.LatY - int64_t{e.Y1}) * (int64_t{e.X2} - e.X1) /
                                 (int64_t{e.Y2} - e.Y1);
      x = std::clamp<long double>(x, std::min(e.X1, e.X2), std::max(e.X1, e.X2));
      if (Column(x) == column && x > px) inside = !inside;
    }
  }
  return inside;
}

int32_t TLandIndex::CoastDistance(const TGeoPoint& point, int32_t limit) const {
  const long double lat = point.LatY * GUToRadians;
  const long double cosLat = std::cos(lat);
  const long double reachX = limit / std::max(cosLat, 0.001L);
  const int r1 = Row(static_cast<long double>(point.LatY) - limit), r2 = Row(static_cast<long double>(point.LatY) + limit);
  auto columnOf = [](long double x) { return static_cast<int>(std::floor((x + GU_180_DEGREES) / kCellSize)); };
  int c1 = columnOf(point.LongX - reachX), c2 = columnOf(point.LongX + reachX);
  if (c2 - c1 >= kColumns - 1) {
    c1 = 0;
    c2 = kColumns - 1;
  }
  long double best = limit;
  for (int r = r1; r <= r2; ++r) {
    for (int c = c1; c <= c2; ++c) {
      for (const std::int32_t i : Cell(((c % kColumns) + kColumns) % kColumns, r)) {
        const TEdge& e = Edges_[static_cast<std::size_t>(i)];
        if (e.Cut) continue;
        // The edge as it runs from its first end the short way from the point (a coastline edge
        // spans at most half the globe), and its copy a turn away where it reaches past it.
        const int64_t x1 = LongitudeDelta(point.LongX, e.X1), x2 = x1 + (int64_t{e.X2} - e.X1);
        const auto y1 = static_cast<long double>(int64_t{e.Y1} - point.LatY);
        const auto y2 = static_cast<long double>(int64_t{e.Y2} - point.LatY);
        best = std::min(best, DistanceToSegment(x1 * cosLat, y1, x2 * cosLat, y2));
        const int64_t turn = x2 > GU_180_DEGREES ? -GU_360_DEGREES : x2 < -GU_180_DEGREES ? GU_360_DEGREES : 0;
        if (turn != 0) best = std::min(best, DistanceToSegment((x1 + turn) * cosLat, y1, (x2 + turn) * cosLat, y2));
      }
    }
  }
  return static_cast<int32_t>(RoundHalfEvenSmall(best));
}

bool TLandIndex::ChordMeetsCoast(const TGeoPoint& a, const TGeoPoint& b) const {
  const int c1 = Column(std::min(a.LongX, b.LongX)), c2 = Column(std::max(a.LongX, b.LongX));
  const int r1 = Row(std::min(a.LatY, b.LatY)), r2 = Row(std::max(a.LatY, b.LatY));
  for (int r = r1; r <= r2; ++r) {
    for (int c = c1; c <= c2; ++c) {
      for (const std::int32_t i : Cell(c, r)) {
        const TEdge& e = Edges_[static_cast<std::size_t>(i)];
        if (!e.Cut && SegmentsMeet(a.LongX, a.LatY, b.LongX, b.LatY, e.X1, e.Y1, e.X2, e.Y2)) return true;
      }
    }
  }
  return false;
}

bool TLandIndex::LegCrossesLand(const TGeoPoint& a, const TGeoPoint& b, int32_t skipStart, int32_t skipEnd) const {
  const int32_t length = GreatCircleDistance(a, b);
  if (length <= 0 || int64_t{skipStart} + skipEnd >= length) return false;
  const long double fromT = static_cast<long double>(skipStart) / length;
  const long double toT = 1 - static_cast<long double>(skipEnd) / length;
  const std::vector<TGeoPoint> path = GreatCirclePath(a, b, fromT, toT, kLegStep);
  if (IsLand(path.front())) return true;
  for (std::size_t i = 1; i < path.size(); ++i) {
    const TGeoPoint& p = path[i - 1];
    const TGeoPoint& q = path[i];
    if (std::abs(int64_t{q.LongX} - p.LongX) <= GU_180_DEGREES) {
      if (ChordMeetsCoast(p, q)) return true;
      continue;
    }
    // Over the 180-degree meridian: split the chord where it meets it.
    const int64_t side = p.LongX > 0 ? GU_180_DEGREES : -GU_180_DEGREES;
    const long double qx = p.LongX + static_cast<long double>(LongitudeDelta(p.LongX, q.LongX));
    const long double t = (side - p.LongX) / (qx - p.LongX);
    const auto y = static_cast<int32_t>(RoundHalfEvenSmall(p.LatY + t * (int64_t{q.LatY} - p.LatY)));
    if (ChordMeetsCoast(p, TGeoPoint(static_cast<int32_t>(side), y)) ||
        ChordMeetsCoast(TGeoPoint(static_cast<int32_t>(-side), y), q)) {
      return true;
    }
  }
  return false;
}

}  // namespace globe
