#pragma once
// Cutting chains of geographic points where they cross the anti-meridian of a flat map (180
// degrees from its central meridian), so that no segment runs across the whole map.
#include <cstdint>
#include <vector>

#include "globe/data/PointStore.h"

namespace globe {

class TAntiMeridianCutter {
 public:
  // Cuts `chain`. A piece ends on the anti-meridian on its own side and the next one starts
  // there on the other side; each cut end lies 2 × its side index GlobeUnit inside its side.
  // Returns the number of pieces (0 for an empty chain).
  int32_t Cut(const TPointStore& chain, int32_t centralMeridianGU);

  int32_t Count() const { return Count_; }
  TPointStore& Piece(int32_t index) { return Pieces_[static_cast<std::size_t>(index)]; }

  // For a closed chain whose closing segment does not cross: the last piece runs on into the
  // first, so it is put in front of the first and dropped.
  void JoinLastToFirst();

  // The side of a longitude seen from the central meridian: the relative longitude (normalised)
  // divided by 90 degrees, truncated; -2..2.
  static int32_t Side(int32_t longX, int32_t centralMeridianGU);

 private:
  TPointStore& NewPiece(bool storeHeight);

  std::vector<TPointStore> Pieces_;  // kept between calls to avoid reallocation
  int32_t Count_ = 0;
};

}  // namespace globe
