#include "globe/data/ChainStore.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "globe/data/GeoMath.h"

namespace globe {

TChainStore::TChainStore(const TChainStore& other) : TGlobeRoot(other), StoreHeight_(other.StoreHeight_) {
  Chains_.reserve(other.Chains_.size());
  for (const auto& chain : other.Chains_) Chains_.push_back(chain ? chain->Clone() : nullptr);
}

TChainStore& TChainStore::operator=(const TChainStore& other) {
  if (this != &other) {
    TChainStore copy(other);
    Chains_ = std::move(copy.Chains_);
    StoreHeight_ = other.StoreHeight_;
  }
  return *this;
}

TChainStore::~TChainStore() = default;

void TChainStore::SetCount(int32_t count) {
  Chains_.resize(static_cast<std::size_t>(std::max(count, 0)));
}

TPointStore& TChainStore::Chain(int32_t index) {
  if (index < 0)
    throw std::out_of_range("TChainStore.Chains: index " + std::to_string(index) + " out of range");
  if (index >= Count()) SetCount(index + 1);
  auto& entry = Chains_[static_cast<std::size_t>(index)];
  if (!entry) entry = std::make_unique<TPointStore>(StoreHeight_);
  return *entry;
}

const TPointStore* TChainStore::ChainIfPresent(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Chains_[static_cast<std::size_t>(index)].get();
}

TPointStore* TChainStore::ChainIfPresent(int32_t index) {
  return const_cast<TPointStore*>(std::as_const(*this).ChainIfPresent(index));
}

int32_t TChainStore::Add(std::unique_ptr<TPointStore> chain) {
  Chains_.push_back(std::move(chain));
  return Count() - 1;
}

void TChainStore::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  Chains_.erase(Chains_.begin() + index);
}

void TChainStore::SetStoreHeight(bool storeHeight) {
  StoreHeight_ = storeHeight;
  for (auto& chain : Chains_)
    if (chain) chain->SetStoreHeight(storeHeight);
}

TGeoPoint TChainStore::Centroid() const {
  if (Chains_.empty()) return TGeoPoint();
  TLongitudeMean longitude;
  int64_t sumLat = 0, sumHeight = 0;
  for (const auto& chain : Chains_) {
    // An empty entry is an empty chain, whose centroid is (0, 0, 0).
    const TGeoPoint c = chain ? chain->Centroid() : TGeoPoint();
    longitude.Add(c.LongX);
    sumLat += c.LatY;
    sumHeight += c.Height;
  }
  const long double count = static_cast<long double>(Chains_.size());
  return TGeoPoint(longitude.Mean(), RoundToInt(sumLat / count), RoundToInt(sumHeight / count));
}

TGeoRect TChainStore::Bounds() const {
  if (Chains_.empty()) return TGeoRect();
  TGeoRect bounds = Chains_[0] ? Chains_[0]->Bounds() : TGeoRect();
  for (std::size_t i = 1; i < Chains_.size(); ++i)
    if (Chains_[i] && Chains_[i]->Count() > 0) bounds = RectUnion(bounds, Chains_[i]->Bounds());
  return bounds;
}

void TChainStore::Translate(int32_t dLong, int32_t dLat, int32_t dHeight) {
  for (auto& chain : Chains_)
    if (chain) chain->Translate(dLong, dLat, dHeight);
}

int64_t TChainStore::PointCount() const {
  int64_t total = 0;
  for (const auto& chain : Chains_)
    if (chain) total += chain->Count();
  return total;
}

std::unique_ptr<TChainStore> TChainStore::Clone() const { return std::make_unique<TChainStore>(*this); }

int64_t TChainStore::InstanceMemory() const {
  int64_t total = static_cast<int64_t>(sizeof(*this)) + 4 * int64_t{Count()};
  for (const auto& chain : Chains_)
    if (chain) total += chain->InstanceMemory();
  return total;
}

}  // namespace globe
