#include "globe/view/LevelOfDetail.h"

#include <utility>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/ChainSimplify.h"

namespace globe {

namespace {

// A simplified copy whose centre is the full object's, fetched when first asked for.
class TLevelCopy final : public TGeoDataObject {
 public:
  explicit TLevelCopy(TFullCentre fullCentre) : TGeoDataObject(nullptr), FullCentre_(std::move(fullCentre)) {}
  TGeoPoint GetCentroid() override {
    if (!CentroidComputed()) Centroid_ = FullCentre_();
    return Centroid_;
  }

 private:
  TFullCentre FullCentre_;
};

}  // namespace

int32_t LevelForScale(long double pixelsPerUnit) {
  if (!(pixelsPerUnit > 0)) return -1;
  const long double share = kLevelPixelShare / pixelsPerUnit;
  int32_t level = -1;
  while (level + 1 < kLevelCount && LevelTolerance(level + 1) <= share) ++level;
  return level;
}

std::unique_ptr<TGeoDataObject> SimplifiedCopy(TGeoDataObject& object, int32_t tolerance, TFullCentre fullCentre) {
  const TChainStore& chains = object.Chains();
  if (chains.PointCount() < kMinLevelPoints) return nullptr;
  object.GetBounds();  // the copy keeps the full object's bounds
  if (!fullCentre) {
    const TGeoPoint centre = object.GetCentroid();
    fullCentre = [centre] { return centre; };
  }
  TChainStore simplified(chains.StoreHeight());
  int64_t left = 0;
  for (int32_t i = 0; i < chains.Count(); ++i) {
    const TPointStore* chain = chains.ChainIfPresent(i);
    if (chain == nullptr) {
      simplified.Add(nullptr);
      continue;
    }
    auto copy = std::make_unique<TPointStore>(SimplifyChain(*chain, tolerance, object.Closed()));
    left += chain->Count() - copy->Count();
    simplified.Add(std::move(copy));
  }
  if (left == 0) return nullptr;
  // Made without a source: the copy never reports to one.
  auto copy = std::make_unique<TLevelCopy>(std::move(fullCentre));
  copy->TGlobeObject::Assign(object);
  copy->ExcludeState(osFullObject | osSelected);
  copy->Chains() = std::move(simplified);
  return copy;
}

TGlobeObject* TLevelOfDetailCache::LevelObject(TGlobeObjectSource& source, int32_t index, int32_t level) {
  if (level < 0 || level >= kLevelCount || index < 0 || index >= source.Count()) return nullptr;
  TSourceLevels& levels = Sources_[&source];
  if (levels.Stamp != source.ContentStamp()) {
    levels.Objects.clear();
    levels.Stamp = source.ContentStamp();
  }
  if (levels.Objects.size() != static_cast<size_t>(source.Count())) levels.Objects.resize(static_cast<size_t>(source.Count()));
  TSlot& slot = levels.Objects[static_cast<size_t>(index)][static_cast<size_t>(level)];
  if (!slot.Made) {
    auto* full = dynamic_cast<TGeoDataObject*>(source.Objects(index));
    slot.Made = true;
    // The full object is built again for the centre only when a title or symbol asks for it.
    const auto fullCentre = [&source, index] {
      TGlobeObject* built = source.Objects(index);
      return built != nullptr ? built->GetCentroid() : TGeoPoint();
    };
    if (full != nullptr) slot.Copy = SimplifiedCopy(*full, LevelTolerance(level), fullCentre);
    if (slot.Copy) ++CopiesMade_;
    // Building the full object may have changed the source's stamp (a reader that fills
    // records as it goes): the copies stay valid for this content.
    levels.Stamp = source.ContentStamp();
  }
  return slot.Copy.get();
}

void TLevelOfDetailCache::KeepSourcesOf(const TCustomVoduz4& view) {
  for (auto it = Sources_.begin(); it != Sources_.end();) {
    bool present = false;
    for (int32_t i = 0; i < view.ObjectSourceCount() && !present; ++i) present = view.ObjectSources(i) == it->first;
    it = present ? std::next(it) : Sources_.erase(it);
  }
}

int64_t TLevelOfDetailCache::MemoryBytes() const {
  int64_t total = 0;
  for (const auto& [source, levels] : Sources_) {
    total += static_cast<int64_t>(levels.Objects.size() * sizeof(levels.Objects[0]));
    for (const auto& slots : levels.Objects)
      for (const TSlot& slot : slots)
        if (slot.Copy) total += slot.Copy->InstanceMemory();
  }
  return total;
}

}  // namespace globe
