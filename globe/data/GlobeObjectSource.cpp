#include "globe/data/GlobeObjectSource.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "globe/data/GlobeChangeListener.h"
#include "globe/data/GlobeHost.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobePresenterStore.h"

namespace globe {

namespace {
constexpr int32_t kCapacityStep = 255;
constexpr int32_t kMaxLongitude = 972'000'000;
}  // namespace

TGlobeObjectSource::TGlobeObjectSource(TGlobeHost* globe) : Globe_(globe), Presenters_(std::make_unique<TGlobePresenterStore>(globe)) {
  if (globe == nullptr) throw std::logic_error("TGlobeObjectSource.Create passed nil Parent");
  NewContentStamp();
}

TGlobeObjectSource::~TGlobeObjectSource() {
  Destroying_ = true;
  Globe_->Changes().ObjectSourceFreed(*this);
  // A derived reader has closed itself in its own destructor; here only the state is dropped.
  Active_ = false;
  SetCount(0);
  const std::vector<TGlobeLayer*> layers = std::move(Layers_);
  Layers_.clear();
  for (TGlobeLayer* layer : layers) layer->ObjectSourceDestroyed(this);
}

void TGlobeObjectSource::NewContentStamp() {
  static std::atomic<uint64_t> counter{0};
  ContentStamp_ = ++counter;
}

void TGlobeObjectSource::SetActive(bool active) {
  if (active == Active_) return;
  NewContentStamp();
  Active_ = active ? Open() : !Close();
  Globe_->Changes().ObjectSourceActiveChanged(*this);
}

bool TGlobeObjectSource::Open() {
  NotifyLayers(snChanged, nullptr);
  return true;
}

bool TGlobeObjectSource::Close() {
  NotifyLayers(snChanged, nullptr);
  return true;
}

std::unique_ptr<TGlobeObject> TGlobeObjectSource::GetObject(int32_t, bool) { return nullptr; }

void TGlobeObjectSource::DestroyEntries(int32_t first) {
  for (int32_t i = static_cast<int32_t>(Entries_.size()) - 1; i >= first && i >= 0; --i) {
    std::unique_ptr<TGlobeObjectData> entry = std::move(Entries_[static_cast<size_t>(i)]);
    if (entry && entry->HasState(osFullObject)) Globe_->Changes().CacheMemoryReleased(entry->InstanceMemory());
    entry.reset();
  }
}

void TGlobeObjectSource::SetCount(int32_t count) {
  count = std::max(count, 0);
  if (count != Count_ && !Building_) NewContentStamp();
  if (count < Count_) DestroyEntries(count);
  Entries_.resize(static_cast<size_t>(count));
  Count_ = count;
  if (Count_ >= Capacity_) Capacity_ = Count_ + kCapacityStep;
}

void TGlobeObjectSource::SetCapacity(int32_t capacity) {
  capacity = std::max(capacity, 0);
  if (capacity < Count_) {
    NewContentStamp();
    DestroyEntries(capacity);
    Entries_.resize(static_cast<size_t>(capacity));
    Count_ = capacity;
  }
  Capacity_ = capacity;
}

void TGlobeObjectSource::CheckIndex(int32_t index, const char* message) const {
  if (index < 0 || index >= Count_) throw std::logic_error(message);
}

TGlobeObjectData* TGlobeObjectSource::PeekEntry(int32_t index) const {
  if (index < 0 || index >= Count_) return nullptr;
  return Entries_[static_cast<size_t>(index)].get();
}

TGlobeObjectData& TGlobeObjectSource::GetObjectData(int32_t index) {
  CheckIndex(index, "GetObjectData: Invalid Index");
  std::unique_ptr<TGlobeObjectData>& entry = Entries_[static_cast<size_t>(index)];
  if (!entry) {
    entry = std::make_unique<TGlobeObjectData>();
    entry->SetState(osEmptyRecord);
    entry->SetIndex(index);
  }
  return *entry;
}

void TGlobeObjectSource::SetObjectData(int32_t index, std::unique_ptr<TGlobeObjectData> data) {
  CheckIndex(index, "SetObjectData: Invalid Index");
  if (!Building_) NewContentStamp();
  std::unique_ptr<TGlobeObjectData> old = std::move(Entries_[static_cast<size_t>(index)]);
  if (data) data->SetIndex(index);
  Entries_[static_cast<size_t>(index)] = std::move(data);
  if (old && old->HasState(osFullObject)) Globe_->Changes().CacheMemoryReleased(old->InstanceMemory());
  // The old object no longer owns the entry, so its end leaves the new entry alone.
}

TGlobeObject* TGlobeObjectSource::Objects(int32_t index) {
  TGlobeObjectData& entry = GetObjectData(index);
  if (TGlobeObject* object = entry.AsObject()) {
    object->Touch();
    return object;
  }
  const bool emptyRecord = entry.HasState(osEmptyRecord);
  std::unique_ptr<TGlobeObject> object;
  Building_ = true;
  try {
    object = GetObject(index, emptyRecord);
  } catch (...) {
    Building_ = false;
    throw;
  }
  if (!object) {
    Building_ = false;
    throw EGlobeException("TGlobeReader returned nil object");
  }
  object->Source_ = this;
  if (index >= Count_) {  // the reader shrank the source meanwhile
    Building_ = false;
    throw EGlobeException("TGlobeReader returned nil object");
  }
  const TGlobeObjectData* data = Entries_[static_cast<size_t>(index)].get();
  if (data != nullptr && !data->HasState(osEmptyRecord)) {
    object->SetState(data->State());
    object->SetObjectFlags(data->ObjectFlags());
    object->SetBounds(data->StoredBounds());
    object->SetTag(data->Tag());
    object->SetValue(data->Value());
    if (data->PresenterID() != 0) object->SetPresenterID(data->PresenterID());
  }
  TGlobeObject* built = object.get();
  Entries_[static_cast<size_t>(index)] = std::move(object);
  built->SetIndex(index);
  built->Loaded();
  built->Touch();
  Globe_->Changes().ObjectCreated(*built);
  // Counted as cached at once, but making room never releases the object being built.
  built->IncludeState(osFullObject);
  BuildingObject_ = built;
  Globe_->Changes().CacheMemoryAdded(built->InstanceMemory());
  BuildingObject_ = nullptr;
  Building_ = false;
  return built;
}

TGlobeObject* TGlobeObjectSource::Add(std::unique_ptr<TGlobeObject> object) {
  if (!object || Building_) return nullptr;
  TGlobeObject* added = object.get();
  added->Source_ = this;
  const int32_t index = Count_;
  SetCount(Count_ + 1);
  Entries_[static_cast<size_t>(index)] = std::move(object);
  added->Touch();
  added->SetIndex(index);
  added->Loaded();
  added->ExcludeState(osBoundsValid);
  NotifyLayers(snObjectAdded, added);
  Modified_ = true;
  return added;
}

void TGlobeObjectSource::Renumber(int32_t fromIndex) {
  for (int32_t i = std::max(fromIndex, 0); i < Count_; ++i)
    if (TGlobeObjectData* entry = Entries_[static_cast<size_t>(i)].get()) entry->SetIndex(i);
}

std::unique_ptr<TGlobeObject> TGlobeObjectSource::Remove(TGlobeObject* object) {
  if (object == nullptr || object->ObjectSource() != this) return nullptr;
  const int32_t index = object->Index();
  if (PeekEntry(index) != object) return nullptr;
  NotifyLayers(snObjectRemoving, object);
  if (object->Selected()) object->SetSelected(false);
  if (object->HasState(osFullObject)) Globe_->Changes().CacheMemoryReleased(object->InstanceMemory());
  object->SetState(osRemoved);
  std::unique_ptr<TGlobeObjectData> entry = std::move(Entries_[static_cast<size_t>(index)]);
  Entries_.erase(Entries_.begin() + index);
  --Count_;
  NewContentStamp();
  Renumber(index);
  object->SetIndex(-1);
  object->Source_ = nullptr;
  Modified_ = true;
  entry.release();
  return std::unique_ptr<TGlobeObject>(object);
}

void TGlobeObjectSource::Move(int32_t fromIndex, int32_t toIndex) {
  if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= Count_ || toIndex >= Count_) return;
  std::unique_ptr<TGlobeObjectData> entry = std::move(Entries_[static_cast<size_t>(fromIndex)]);
  Entries_.erase(Entries_.begin() + fromIndex);
  Entries_.insert(Entries_.begin() + toIndex, std::move(entry));
  Renumber(0);
  NotifyLayers(snChanged, nullptr);
  Modified_ = true;
}

TGeoRect TGlobeObjectSource::Bounds() {
  if (Count_ == 0) return TGeoRect(0, 0, 1, 1);
  int64_t west = INT64_MAX, south = INT64_MAX, east = INT64_MIN, north = INT64_MIN;
  for (int32_t i = 0; i < Count_; ++i) {
    const TGeoRect r = GetObjectData(i).GetBounds();
    west = std::min(west, std::max<int64_t>(int64_t{r.LongX} - 1, -kMaxLongitude));
    south = std::min(south, int64_t{r.LatY} - 1);
    east = std::max(east, std::min<int64_t>(int64_t{r.LongX} + r.Width, kMaxLongitude));
    north = std::max(north, int64_t{r.LatY} + r.Height);
  }
  return TGeoRect(static_cast<int32_t>(west), static_cast<int32_t>(south), static_cast<int32_t>(east - west),
                  static_cast<int32_t>(north - south));
}

void TGlobeObjectSource::MakeLight(int32_t index) {
  TGlobeObjectData* entry = PeekEntry(index);
  TGlobeObject* object = entry ? entry->AsObject() : nullptr;
  if (object == nullptr || !object->HasState(osFullObject)) return;
  if (object->Selected()) object->SetSelected(false);
  object->GetBounds();  // the record keeps valid bounds
  auto light = std::make_unique<TGlobeObjectData>();
  light->Assign(*object);
  light->ExcludeState(osFullObject);
  const int64_t memory = object->InstanceMemory();
  std::unique_ptr<TGlobeObjectData> old = std::move(Entries_[static_cast<size_t>(index)]);
  Entries_[static_cast<size_t>(index)] = std::move(light);
  Globe_->Changes().CacheMemoryReleased(memory);
  old.reset();
}

void TGlobeObjectSource::Flush() {
  NewContentStamp();
  for (int32_t i = 0; i < Count_; ++i) MakeLight(i);
}

int64_t TGlobeObjectSource::CacheMemory() const {
  int64_t total = 0;
  for (const auto& entry : Entries_)
    if (entry && entry->HasState(osFullObject)) total += entry->InstanceMemory();
  return total;
}

void TGlobeObjectSource::CollectCachedObjects(std::vector<TGlobeObject*>& objects) const {
  for (const auto& entry : Entries_)
    if (entry && entry->HasState(osFullObject) && !entry->HasState(osSelected))
      if (TGlobeObject* object = entry->AsObject(); object != nullptr && object != BuildingObject_)
        objects.push_back(object);
}

void TGlobeObjectSource::ReleaseObject(TGlobeObject* object) {
  if (object != nullptr && object->ObjectSource() == this && PeekEntry(object->Index()) == object)
    MakeLight(object->Index());
}

void TGlobeObjectSource::AttachLayer(TGlobeLayer* layer) {
  if (layer != nullptr && std::find(Layers_.begin(), Layers_.end(), layer) == Layers_.end()) Layers_.push_back(layer);
}

void TGlobeObjectSource::DetachLayer(TGlobeLayer* layer) {
  const auto it = std::find(Layers_.begin(), Layers_.end(), layer);
  if (it == Layers_.end()) return;
  Layers_.erase(it);
  // The view may destroy the source now; nothing of it may be touched afterwards.
  if (Layers_.empty() && !Destroying_) Globe_->Changes().ObjectSourceUnused(*this);
}

TGlobeLayer* TGlobeObjectSource::Layers(int32_t n) const {
  return (n >= 0 && n < LayerCount()) ? Layers_[static_cast<size_t>(n)] : nullptr;
}

int64_t TGlobeObjectSource::MemorySize() const {
  int64_t total = 0;
  for (const auto& entry : Entries_)
    if (entry) total += entry->InstanceMemory();
  return total;
}

void TGlobeObjectSource::NotifyLayers(TSourceNotifyKind kind, TGlobeObject* object) {
  if (kind >= snObjectAdded && kind <= snChanged && !Building_) NewContentStamp();
  const std::vector<TGlobeLayer*> layers = Layers_;  // a reaction may change the list
  for (TGlobeLayer* layer : layers) layer->SourceNotify(kind, object);
}

void TGlobeObjectSource::ObjectNotify(TSourceNotifyKind kind, TGlobeObject* object) {
  if (kind == snChanged) Modified_ = true;
  NotifyLayers(kind, object);
}

void TGlobeObjectSource::LoadEnvironment(const TGXML_Element* element) { TGlobeENVPersistent::LoadEnvironment(element); }

std::unique_ptr<TGXML_Element> TGlobeObjectSource::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobeENVPersistent::SaveEnvironment();
  element->AddAttribute("Class", ClassName());
  return element;
}

}  // namespace globe
