#pragma once
// A map object made of chains of points: a line or an area (one chain per part), or a single
// point without chains whose position is its centre.

#include <memory>

#include "globe/data/ChainStore.h"
#include "globe/data/GlobeObject.h"

namespace globe {

class TGeoDataObject : public TGlobeObject {
 public:
  explicit TGeoDataObject(TGlobeObjectSource* source);

  std::string ClassName() const override { return "TGeoDataObject"; }

  // Also copies the chains of another TGeoDataObject.
  void Assign(const TGlobeObjectData& source) override;

  TChainStore& Chains() { return Chains_; }
  const TChainStore& Chains() const { return Chains_; }

  // The stored bounds while valid, else recomputed from the chains (or the centre).
  TGeoRect GetBounds() override;
  int64_t InstanceMemory() const override;
  // Computed from the chains when not yet known.
  TGeoPoint GetCentroid() override;
  // Moves every chain along with the centre (all three coordinates).
  void SetCentroid(const TGeoPoint& point) override;
  // After the header: the centre of a point object, else the chains (each chain's encoding is
  // chosen just before it is written; repeated points are dropped then).
  void WriteToStream(TGlobeStreamWriter& writer) override;
  void ReadFromStream(TGlobeStreamReader& reader) override;
  // Also forgets the bounds, the chains' 3-D points and (with chains) the centre.
  void Changed() override;
  // Through the renderer the view installed (ObjectRenderers.h).
  void Render(TGlobeCanvas& canvas, uint16_t state) override;
  // Inside a closed chain, or within the tolerance of an open one; a point object is hit
  // wherever its bounds test passes.
  bool PointOnObject(const TGeoPoint& point, int32_t tolerance) override;

 protected:
  std::unique_ptr<TGlobeObject> NewInstance(TGlobeObjectSource* source) const override;

 private:
  TChainStore Chains_;
};

}  // namespace globe
