#pragma once
// The chains RenderLine draws (straight lines in longitude and latitude), kept with their bounds
// and, once drawn, their 3-D points: the graticule asks for the same few dozen lines every frame,
// and building them again would take a sine and a cosine per point each time.

#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "globe/data/ChainStore.h"
#include "globe/data/GeoTypes.h"
#include "globe/data/PointStore.h"

namespace globe {

class TLineCache {
 public:
  struct TLine {
    TChainStore Chains;  // one chain
    TGeoRect Bounds;
  };

  // The line from `from` to `to` in `segments` pieces; `build` makes its points on first need.
  template <class Build>
  TLine& Get(const TGeoPoint& from, const TGeoPoint& to, int32_t segments, Build build) {
    const TKey key{from.LongX, from.LatY, to.LongX, to.LatY, segments};
    if (auto found = Lines_.find(key); found != Lines_.end()) return found->second;
    // Lines other than the graticule's (an application's own) could pile up: start afresh.
    if (Lines_.size() >= kMaxLines) Lines_.clear();
    TLine& line = Lines_[key];
    TPointStore chain = build();
    line.Bounds = chain.Bounds();
    line.Chains.Add(std::make_unique<TPointStore>(std::move(chain)));
    return line;
  }
  size_t Count() const { return Lines_.size(); }

 private:
  using TKey = std::array<int32_t, 5>;
  static constexpr size_t kMaxLines = 512;
  std::map<TKey, TLine> Lines_;
};

}  // namespace globe
