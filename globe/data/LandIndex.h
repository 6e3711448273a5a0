#pragma once
// The land of a map layer for questions about positions and routes: is a point on land, how far
// is it from the coast, does a great-circle leg cross land. Every ring of the layer's objects is
// cut into its edges, which are filed in a grid of half-degree cells, each in the cells its
// straight line (in latitude and longitude) runs through; a question looks only at the edges of
// the cells it touches. Land is what lies inside an odd number of rings (so holes and lakes count
// as water). The grid's size is capped: a layer whose edges would need more cell entries is
// `TooLarge` and answers every question with "no land".

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "globe/data/GeoTypes.h"

namespace globe {

class TGlobeObjectSource;

class TLandIndex {
public:
  // About 16 million entries (64 MB), far more than the land of any real map needs.
  static constexpr std::size_t kDefaultMaxCellEntries = std::size_t{1} << 24;

  explicit TLandIndex(std::size_t maxCellEntries = kDefaultMaxCellEntries) : MaxCellEntries_(maxCellEntries) {}

  // Adds every chain of every map object of the source as a closed ring.
  void AddSource(TGlobeObjectSource& source);
  // Adds one closed ring (the last point joins the first). A ring that runs once round the
  // globe is taken to enclose the pole on the side of its first point.
  void AddRing(std::span<const TGeoPoint> ring);

  bool Empty() const { return Edges_.empty(); }
  std::size_t EdgeCount() const { return Edges_.size(); }
  // Whether the edges would need more cell entries than the cap; such an index finds no land.
  bool TooLarge() const;
  // The entries of the grid (each edge once for every cell it is filed in); 0 when `TooLarge`.
  std::size_t CellEntryCount() const;

  // Inside an odd number of rings, or on a ring's edge (a point on the coast is land).
  bool IsLand(const TGeoPoint& point) const;
  // The distance in GlobeUnit from the point to the nearest coastline, or `limit` when no
  // coastline is nearer. Edges along the 180-degree meridian or a pole, where map files cut
  // their polygons, are not coastline.
  int32_t CoastDistance(const TGeoPoint& point, int32_t limit) const;
  // Whether the great circle from a to b, without its first `skipStart` and its last `skipEnd`
  // GlobeUnit, crosses or touches a coastline or runs on land.
  bool LegCrossesLand(const TGeoPoint& a, const TGeoPoint& b, int32_t skipStart, int32_t skipEnd) const;

private:
  struct TEdge {
    int32_t X1, Y1, X2, Y2;
    bool Cut;  // a map cut along the 180-degree meridian or a pole: not coastline
  };

  static int Column(long double longX);
  static int Row(long double latY);
  // The edges filed in a cell (the grid is made on the first question after edges were added).
  std::span<const std::int32_t> Cell(int column, int row) const;
  // Calls visit(cell) for every cell the edge's line runs through (with a unit of margin, so that
  // a crossing the questions compute on a cell border finds the edge on either side).
  template <class Visit>
  static void ForEachCellOf(const TEdge& edge, Visit&& visit);
  void FileEdges() const;
  // A cut edge is part of a ring but not coastline.
  void AddEdge(const TGeoPoint& from, const TGeoPoint& to, bool cut);
  // Whether the straight line in latitude and longitude from a to b (not over the 180-degree
  // meridian) meets a coastline.
  bool ChordMeetsCoast(const TGeoPoint& a, const TGeoPoint& b) const;

  static constexpr int kColumns = 720;
  static constexpr int kRows = 360;
  std::size_t MaxCellEntries_;
  std::vector<TEdge> Edges_;
  // The grid, row by row: the edges of cell i are CellEdges_[CellStart_[i] .. CellStart_[i + 1]).
  mutable std::vector<std::size_t> CellStart_;
  mutable std::vector<std::int32_t> CellEdges_;
  mutable bool Filed_ = true;
  mutable bool TooLarge_ = false;
};

}  // namespace globe
