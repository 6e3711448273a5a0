#include "globe/view/AntiMeridianCut.h"

#include <cmath>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeUnits.h"

namespace globe {
namespace {

int32_t Relative(int32_t longX, int32_t centralMeridianGU) {
  return NormaliseLongitude(Wrap32(int64_t{longX} - centralMeridianGU));
}

// The relative longitude of a cut end on side `side`: the anti-meridian, moved 2 × side
// GlobeUnit back into that side.
int32_t CutEnd(int32_t side) {
  const int64_t edge = side > 0 ? GU_180_DEGREES : -int64_t{GU_180_DEGREES};
  return static_cast<int32_t>(edge - 2 * int64_t{side});
}

}  // namespace

int32_t TAntiMeridianCutter::Side(int32_t longX, int32_t centralMeridianGU) {
  return Relative(longX, centralMeridianGU) / GU_90_DEGREES;
}

TPointStore& TAntiMeridianCutter::NewPiece(bool storeHeight) {
  if (static_cast<std::size_t>(Count_) == Pieces_.size()) Pieces_.emplace_back(storeHeight);
  TPointStore& piece = Pieces_[static_cast<std::size_t>(Count_++)];
  piece.Clear();
  if (piece.StoreHeight() != storeHeight) piece.SetStoreHeight(storeHeight);
  return piece;
}

int32_t TAntiMeridianCutter::Cut(const TPointStore& chain, int32_t centralMeridianGU) {
  Count_ = 0;
  const int32_t n = chain.Count();
  if (n == 0) return 0;
  const bool heights = chain.StoreHeight();
  TPointStore* piece = &NewPiece(heights);
  TGeoPoint previous = chain.Point(0);
  int32_t previousSide = Side(previous.LongX, centralMeridianGU);
  piece->Add(previous);
  for (int32_t i = 1; i < n; ++i) {
    const TGeoPoint point = chain.Point(i);
    const int32_t side = Side(point.LongX, centralMeridianGU);
    if ((previousSide < 0 && side >= 1) || (previousSide >= 1 && side < 0)) {
      // Distances of both points from the anti-meridian, each measured on its own side.
      const int64_t relPrev = Relative(previous.LongX, centralMeridianGU);
      const int64_t relNext = Relative(point.LongX, centralMeridianGU);
      const int64_t toPrev = previousSide > 0 ? GU_180_DEGREES - relPrev : relPrev + GU_180_DEGREES;
      const int64_t toNext = side > 0 ? GU_180_DEGREES - relNext : relNext + GU_180_DEGREES;
      int32_t latY = previous.LatY;
      if (toPrev + toNext > 0) {
        const long double t = static_cast<long double>(toPrev) / static_cast<long double>(toPrev + toNext);
        latY = RoundToInt(previous.LatY + (static_cast<long double>(point.LatY) - previous.LatY) * t);
      }
      const int32_t endLong = Wrap32(int64_t{CutEnd(previousSide)} + centralMeridianGU);
      const int32_t startLong = Wrap32(int64_t{CutEnd(side)} + centralMeridianGU);
      piece->Add(TGeoPoint(endLong, latY, previous.Height));
      piece = &NewPiece(heights);
      piece->Add(TGeoPoint(startLong, latY, point.Height));
    }
    piece->Add(point);
    previous = point;
    previousSide = side;
  }
  return Count_;
}

void TAntiMeridianCutter::JoinLastToFirst() {
  if (Count_ < 2) return;
  TPointStore& last = Pieces_[static_cast<std::size_t>(Count_ - 1)];
  TPointStore& first = Pieces_[0];
  for (int32_t i = 0; i < first.Count(); ++i) last.Add(first.Point(i));
  std::swap(first, last);
  --Count_;
}

}  // namespace globe
