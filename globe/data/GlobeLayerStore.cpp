#include "globe/data/GlobeLayerStore.h"

#include <algorithm>
#include <string>

#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeChangeListener.h"
#include "globe/data/GlobeHost.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"

namespace globe {

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// Creates a registered presenter class for the globe; null when the class is not linked in.
std::unique_ptr<TGlobePresenter> MakePresenter(const char* className, TGlobeHost* globe, int32_t id) {
  const TGlobeClassEntry* entry = FindGlobeClassOrNull(className);
  if (entry == nullptr) return nullptr;
  return entry->Create<TGlobePresenter>(globe, id);
}

}  // namespace

TGlobeLayerStore::TGlobeLayerStore(TGlobeHost* globe)
    : Globe_(globe), GlobalPresenters_(std::make_unique<TGlobePresenterStore>(globe)) {
  AddDefaultGlobalPresenters();
}

TGlobeLayerStore::~TGlobeLayerStore() { Clear(); }

void TGlobeLayerStore::AddDefaultGlobalPresenters() {
  if (GlobalPresenters_->ByID(GlobalPointPresenterID, false) == nullptr)
    if (auto point = MakePresenter("TPointPresenter", Globe_, GlobalPointPresenterID))
      GlobalPresenters_->Add(std::move(point));
  if (GlobalPresenters_->ByID(GlobalPolyPresenterID, false) == nullptr)
    if (auto poly = MakePresenter("TPolyPresenter", Globe_, GlobalPolyPresenterID))
      GlobalPresenters_->Add(std::move(poly));
}

TGlobeLayer* TGlobeLayerStore::Layers(int32_t index) const {
  if (index < 0 || index >= Count())
    throw EGlobeException(FormatGlobeMessage("TVoduz4.GetLayer: Bad layer index %d", std::to_string(index)));
  return Layers_[static_cast<size_t>(index)].get();
}

int32_t TGlobeLayerStore::IndexOf(const TGlobeLayer* layer) const {
  for (size_t i = 0; i < Layers_.size(); ++i)
    if (Layers_[i].get() == layer) return static_cast<int32_t>(i);
  return -1;
}

int32_t TGlobeLayerStore::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < Layers_.size(); ++i)
    if (SameTextIgnoringCase(Layers_[i]->Name(), name)) return static_cast<int32_t>(i);
  return -1;
}

TGlobeLayer* TGlobeLayerStore::LayerByName(std::string_view name) const {
  const int32_t index = IndexOfName(name);
  return index < 0 ? nullptr : Layers_[static_cast<size_t>(index)].get();
}

TGlobeLayer* TGlobeLayerStore::Add(std::unique_ptr<TGlobeLayer> layer) {
  if (!layer) return nullptr;
  TGlobeLayer* added = layer.get();
  Layers_.push_back(std::move(layer));
  Globe_->Changes().LayerCreated(*added);
  Globe_->Changes().SceneChanged();
  return added;
}

TGlobeLayer* TGlobeLayerStore::NewLayer() { return Add(std::make_unique<TGlobeLayer>(Globe_)); }

std::unique_ptr<TGlobeLayer> TGlobeLayerStore::Remove(TGlobeLayer* layer) {
  const int32_t index = IndexOf(layer);
  if (index < 0) return nullptr;
  std::unique_ptr<TGlobeLayer> removed = std::move(Layers_[static_cast<size_t>(index)]);
  Layers_.erase(Layers_.begin() + index);
  Globe_->Changes().SceneChanged();
  return removed;
}

void TGlobeLayerStore::Delete(TGlobeLayer* layer) { Remove(layer).reset(); }

void TGlobeLayerStore::Move(int32_t fromIndex, int32_t toIndex) {
  if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= Count() || toIndex >= Count()) return;
  std::unique_ptr<TGlobeLayer> layer = std::move(Layers_[static_cast<size_t>(fromIndex)]);
  Layers_.erase(Layers_.begin() + fromIndex);
  Layers_.insert(Layers_.begin() + toIndex, std::move(layer));
  Globe_->Changes().SceneChanged();
}

void TGlobeLayerStore::Clear() {
  while (!Layers_.empty()) {
    std::unique_ptr<TGlobeLayer> layer = std::move(Layers_.back());
    Layers_.pop_back();
    layer.reset();
  }
  SelectedObject_ = nullptr;
}

void TGlobeLayerStore::Assign(const TGlobeLayerStore& source) {
  if (&source == this) return;
  Clear();
  GlobalPresenters_->Assign(*source.GlobalPresenters_);
  for (const auto& layer : source.Layers_) Assign(*layer);
}

void TGlobeLayerStore::Assign(const TGlobeLayer& layer) {
  std::unique_ptr<TGlobeLayer> copy;
  if (const TGlobeClassEntry* entry = FindGlobeClassOrNull(layer.ClassName()))
    copy = entry->Create<TGlobeLayer>(Globe_);
  if (!copy) copy = std::make_unique<TGlobeLayer>(Globe_);
  copy->Assign(layer);
  Add(std::move(copy));
}

TGeoRect TGlobeLayerStore::Bounds() {
  TGeoRect result;
  for (const auto& layer : Layers_) result = RectUnion(result, layer->Bounds());
  return result;
}

void TGlobeLayerStore::SetSelectedObject(TGlobeObject* object) {
  if (object == SelectedObject_) return;
  for (const auto& layer : Layers_) {
    TGlobeObjectSource* source = layer->ObjectSourceIfAny();
    if (source == nullptr) continue;
    for (int32_t i = 0; i < source->Count(); ++i) {
      TGlobeObjectData* entry = source->PeekEntry(i);
      if (entry == nullptr || !entry->HasState(osSelected)) continue;
      if (TGlobeObject* selected = entry->AsObject())
        selected->SetSelected(false);
      else
        entry->ExcludeState(osSelected);
    }
  }
  SelectedObject_ = object;
  if (object != nullptr) object->SetSelected(true);
}

TGlobeObject* TGlobeLayerStore::SelectedObjects(int32_t n) {
  if (n < 0) return nullptr;
  for (const auto& layer : Layers_) {
    TGlobeObjectSource* source = layer->ObjectSourceIfAny();
    if (source == nullptr) continue;
    for (int32_t i = 0; i < source->Count(); ++i) {
      const TGlobeObjectData* entry = source->PeekEntry(i);
      if (entry == nullptr || !entry->HasState(osSelected)) continue;
      if (n-- == 0) return source->Objects(i);
    }
  }
  return nullptr;
}

void TGlobeLayerStore::ObjectFreed(const TGlobeObject* object) {
  if (object != nullptr && object == SelectedObject_) SelectedObject_ = nullptr;
}

TGlobeObject* TGlobeLayerStore::ObjectAtPoint(int x, int y) {
  TGeoPoint point;
  if (!Globe_->DeviceXYToLL(x, y, point)) return nullptr;
  return ObjectAtLL(point, Globe_->HitTolerance());
}

TGlobeObject* TGlobeLayerStore::ObjectAtLL(const TGeoPoint& point, int32_t tolerance) {
  for (int32_t i = Count() - 1; i >= 0; --i) {
    TGlobeLayer& layer = *Layers_[static_cast<size_t>(i)];
    if (!layer.Enabled() || !layer.Visible()) continue;
    if (TGlobeObject* object = layer.ObjectAtPoint(point, tolerance)) return object;
  }
  return nullptr;
}

TGlobeObject* TGlobeLayerStore::ObjectByID(int32_t id) {
  for (const auto& layer : Layers_)
    if (TGlobeObject* object = layer->ObjectByID(id)) return object;
  return nullptr;
}

TGlobeObject* TGlobeLayerStore::ObjectByTitle(std::string_view title) {
  for (const auto& layer : Layers_)
    if (TGlobeObject* object = layer->ObjectByTitle(title)) return object;
  return nullptr;
}

void TGlobeLayerStore::ForEachLayer(bool animated, const std::function<void(TGlobeLayer&)>& step) {
  for (int32_t i = 0; i < Count(); ++i) {
    TGlobeLayer& layer = *Layers_[static_cast<size_t>(i)];
    if (layer.Animated() == animated) step(layer);
  }
}

int64_t TGlobeLayerStore::MemorySize() const {
  int64_t total = 0;
  for (const auto& layer : Layers_) total += layer->MemorySize();
  return total;
}

std::unique_ptr<TGXML_Element> TGlobeLayerStore::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobeENVPersistent::SaveEnvironment();
  element->AddElement("GlobalPresenters", GlobalPresenters_->SaveEnvironment());
  for (const auto& layer : Layers_) element->AddElement("Layer", layer->SaveEnvironment());
  return element;
}

void TGlobeLayerStore::LoadEnvironment(const TGXML_Element* element) {
  TGlobeENVPersistent::LoadEnvironment(element);
  if (element == nullptr) return;
  Clear();
  GlobalPresenters_->Clear();
  GlobalPresenters_->LoadEnvironment(element->Element("GlobalPresenters"));
  AddDefaultGlobalPresenters();
  for (int n = 0; const TGXML_Element* layerElement = element->Element("Layer", n); ++n) {
    const std::string className = layerElement->Attribute("Class", "TGlobeLayer");
    TGlobeLayer* layer = Add(CreateGlobeClass<TGlobeLayer>(className, "TGlobeLayer", Globe_));
    try {
      layer->LoadEnvironment(layerElement);
      layer->ObjectSource()->SetActive(true);
    } catch (...) {
      Delete(layer);  // no half-loaded layer stays behind
      throw;
    }
    // A source that cannot open (its file is missing) takes its layer with it; the layers after
    // it are still read.
    if (!layer->ObjectSource()->Active()) Delete(layer);
  }
}

TGlobePresenterStore* GlobalPresenterStore(TGlobeHost& globe) {
  TGlobeLayerStore* store = globe.LayerStoreIfAny();
  return store ? store->GlobalPresenters() : nullptr;
}

}  // namespace globe
