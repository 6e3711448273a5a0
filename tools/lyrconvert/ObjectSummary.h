#pragma once
// What one object of a map file adds to the file's summary (lyrconvert --info): its chains, its
// points in the file and as a LYR file keeps them, and the extremes of its coordinates. Summed
// object by object, so that a file's objects can be summarised as they are built and let go.

#include <cstdint>

namespace globe {
class TGlobeObject;
class TPointStore;
}  // namespace globe

namespace lyrconvert {

struct TMapSummary;

// Extremes of coordinates (no wrap at the date line); HasBounds is false without any.
struct TCoordinateBounds {
  bool HasBounds = false;
  int32_t MinLongX = 0, MinLatY = 0, MaxLongX = 0, MaxLatY = 0;

  void Include(int32_t longX, int32_t latY);
  void Include(const TCoordinateBounds& other);
};

struct TObjectSummary {
  int64_t Chains = 0;
  int64_t Points = 0;
  int64_t WrittenPoints = 0;
  TCoordinateBounds Bounds;
};

// A chain's extremes and the points the LYR writer keeps of it (it leaves out a point equal to
// the next one inside the chain, IsRepeatedPoint), found in one sweep over the packed points.
struct TChainSweep {
  TCoordinateBounds Bounds;
  int32_t WrittenPoints = 0;
};
TChainSweep SweepChain(const globe::TPointStore& chain);

// An object's points (its centre for an object without chains).
TObjectSummary SummariseObject(globe::TGlobeObject& object);

// Adds an object's part to a file's summary (objects and presenters are counted by the caller).
void AddObjectSummary(TMapSummary& summary, const TObjectSummary& object);

}  // namespace lyrconvert
