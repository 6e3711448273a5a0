#pragma once
// The chains of one map object (one point store per line or ring), owned by the chain store.

#include <cstdint>
#include <memory>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeRoot.h"
#include "globe/data/PointStore.h"

namespace globe {

class TChainStore : public TGlobeRoot {
 public:
  explicit TChainStore(bool storeHeight = false) : StoreHeight_(storeHeight) {}
  TChainStore(const TChainStore& other);
  TChainStore& operator=(const TChainStore& other);
  ~TChainStore() override;

  std::string ClassName() const override { return "TChainStore"; }

  int32_t Count() const { return static_cast<int32_t>(Chains_.size()); }
  // Shrinking destroys the chains beyond the new count; growing adds empty entries.
  void SetCount(int32_t count);

  // The chain at `index`; an index at or beyond Count grows the store first, and an empty entry
  // is filled with a new point store carrying StoreHeight. Negative indices raise
  // std::out_of_range.
  TPointStore& Chain(int32_t index);
  // The chain at `index` when it exists and is filled, else nullptr (never grows the store).
  const TPointStore* ChainIfPresent(int32_t index) const;
  TPointStore* ChainIfPresent(int32_t index);

  // Appends a chain (a null one fills as an empty entry) and returns its index.
  int32_t Add(std::unique_ptr<TPointStore> chain);
  // Destroys and removes one chain; an index outside 0..Count-1 does nothing.
  void Delete(int32_t index);
  void Clear() { Chains_.clear(); }

  bool StoreHeight() const { return StoreHeight_; }
  // Passes the value to every chain and to chains created later.
  void SetStoreHeight(bool storeHeight);

  // Rounded mean of the chains' centroids (each chain weighs the same, longitudes as in
  // TLongitudeMean); (0,0,0) without chains.
  TGeoPoint Centroid() const;
  // Bounds of chain 0 united with those of every later chain that has points.
  TGeoRect Bounds() const;

  // Moves every chain by the offsets (see TPointStore::Translate).
  void Translate(int32_t dLong, int32_t dLat, int32_t dHeight);
  // Total points of all chains.
  int64_t PointCount() const;

  virtual std::unique_ptr<TChainStore> Clone() const;
  int64_t InstanceMemory() const;

 private:
  std::vector<std::unique_ptr<TPointStore>> Chains_;
  bool StoreHeight_ = false;
};

}  // namespace globe
