#include "globe/data/GlobeLayer.h"

#include <stdexcept>

#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeChangeListener.h"
#include "globe/data/GlobeHost.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObject.h"
#include "platform/Color.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"

namespace globe {

namespace {

std::string TrimmedText(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

TGlobeLayer::TGlobeLayer(TGlobeHost* globe) : Globe_(globe), Presenters_(std::make_unique<TGlobePresenterStore>(globe)) {
  if (globe == nullptr) throw std::logic_error("TGlobeLayer.Create passed nil Parent");
  Reset();
}

TGlobeLayer::~TGlobeLayer() {
  Globe_->Changes().LayerFreed(*this);
  SetObjectSource(nullptr);
}

TGlobeObjectSource* TGlobeLayer::ObjectSource() {
  if (Source_ == nullptr) SetObjectSource(Globe_->AddObjectSource(std::make_unique<TGlobeObjectSource>(Globe_)));
  return Source_;
}

void TGlobeLayer::SetObjectSource(TGlobeObjectSource* source) {
  if (source == Source_) return;
  TGlobeObjectSource* old = Source_;
  Source_ = source;
  if (old != nullptr) old->DetachLayer(this);  // may end the old source
  if (source != nullptr) source->AttachLayer(this);
  Globe_->Changes().SceneChanged();
}

void TGlobeLayer::ObjectSourceDestroyed(TGlobeObjectSource* source) {
  if (source == Source_) Source_ = nullptr;
}

void TGlobeLayer::Assign(const TGlobeLayer& source) {
  for (int i = 0; i < 5; ++i) Flags_[i] = source.Flags_[i];
  for (int i = 0; i < 3; ++i) Ints_[i] = source.Ints_[i];
  ZoomUnits_ = source.ZoomUnits_;
  LayerColorAdjustTarget_ = source.LayerColorAdjustTarget_;
  Name_ = source.Name_;
  Presenters_->Assign(*source.Presenters_);
  if (source.Globe_ == Globe_ || source.Source_ == nullptr) {
    SetObjectSource(source.Source_);
  } else {
    // Another view owns that source: this view makes its own of the same class and settings
    // (a file reader opens the same file) instead of sharing it.
    std::unique_ptr<TGXML_Element> settings = source.Source_->SaveEnvironment();
    TGlobeObjectSource* own = Globe_->AddObjectSource(
        CreateGlobeClass<TGlobeObjectSource>(source.Source_->ClassName(), "TGlobeObjectSource", Globe_));
    SetObjectSource(own);
    own->LoadEnvironment(settings.get());
    own->SetActive(source.Source_->Active());
  }
  Modified_ = true;
}

void TGlobeLayer::SetFlag(TGlobeLayerFlag index, bool value) {
  if (index < lfEnabled || index > lfNoInterrupt || Flags_[index] == value) return;
  Flags_[index] = value;
  Modified_ = true;
  Globe_->Changes().SceneChanged();
}

void TGlobeLayer::SetIntProperty(TGlobeLayerIntProperty index, int32_t value) {
  if (index < lpZoomMin || index > lpLayerColorAdjustPercent || Ints_[index] == value) return;
  Ints_[index] = value;
  Modified_ = true;
}

void TGlobeLayer::SetZoomUnits(TGlobeUnitTypes units) {
  if (units == ZoomUnits_) return;
  for (int index : {lpZoomMin, lpZoomMax})
    Ints_[index] = RoundToInt(GUToUnits(UnitsToGU(Ints_[index], ZoomUnits_), units));
  ZoomUnits_ = units;
  Modified_ = true;
}

void TGlobeLayer::SetLayerColorAdjustTarget(TColor color) {
  if (color == LayerColorAdjustTarget_) return;
  LayerColorAdjustTarget_ = color;
  Modified_ = true;
}

std::string TGlobeLayer::Name() const {
  if (!Name_.empty()) return Name_;
  if (Source_ != nullptr && !Source_->Name().empty()) return Source_->Name();
  return "TGlobeLayer";
}

void TGlobeLayer::SetName(std::string_view name) {
  std::string trimmed = TrimmedText(name);
  if (trimmed == Name_) return;
  Name_ = std::move(trimmed);
  Modified_ = true;
}

int32_t TGlobeLayer::Index() const { return Globe_->LayerStoreIfAny()->IndexOf(this); }

void TGlobeLayer::SetIndex(int32_t index) {
  TGlobeLayerStore& store = *Globe_->LayerStoreIfAny();
  const int32_t current = store.IndexOf(this);
  if (current >= 0) store.Move(current, index);
}

void TGlobeLayer::Reset() {
  Flags_[lfEnabled] = Flags_[lfVisible] = Flags_[lfShowTitles] = true;
  Flags_[lfAnimated] = false;
  Ints_[lpZoomMin] = Ints_[lpZoomMax] = Ints_[lpLayerColorAdjustPercent] = 0;
  ZoomUnits_ = TGlobeUnitTypes::NauticalMile;
  LayerColorAdjustTarget_ = platform::MakeColor(128, 128, 128);
  Modified_ = false;
  SetObjectSource(nullptr);
  Presenters_->Clear();
  Globe_->Changes().SceneChanged();
}

TGeoRect TGlobeLayer::Bounds() { return ObjectSource()->Bounds(); }

int64_t TGlobeLayer::MemorySize() const {
  return static_cast<int64_t>(sizeof(TGlobeLayer)) + (Source_ ? Source_->MemorySize() : 0);
}

void TGlobeLayer::SourceNotify(TSourceNotifyKind kind, TGlobeObject* object) {
  switch (kind) {
    case snShowLayers: SetVisible(true); break;
    case snHideLayers: SetVisible(false); break;
    case snObjectAdded:
    case snObjectRemoving: Globe_->Changes().SceneChanged(); break;
    case snChanged:
      if (Animated())
        Globe_->Changes().WindowChanged();
      else
        Globe_->Changes().SceneChanged();
      break;
    case snSelectionChanged: Globe_->Changes().SelectionChanged(object); break;
  }
}

TGlobeObject* TGlobeLayer::ObjectAtPoint(const TGeoPoint& point, int32_t tolerance) {
  if (Source_ == nullptr) return nullptr;
  for (int32_t i = Source_->Count() - 1; i >= 0; --i) {
    TGlobeObjectData& record = Source_->GetObjectData(i);
    if (record.HasState(osHidden)) continue;
    // A light record with known extent spares building objects far from the point.
    if (record.AsObject() == nullptr && record.HasState(osBoundsValid) && !RectIsEmpty(record.StoredBounds()) &&
        GrownBoundsHit(record.StoredBounds(), point, tolerance) == 0)
      continue;
    TGlobeObject* object = Source_->Objects(i);
    // The layer's presenter, else the source's, else a global one.
    const int32_t id = object->PresenterID();
    TGlobePresenter* presenter = Presenters_->ByID(id, false);
    if (presenter == nullptr) presenter = Source_->Presenters()->ByID(id, false);
    if (presenter == nullptr) presenter = Globe_->LayerStoreIfAny()->GlobalPresenters()->ByID(id, false);
    bool hit;
    if (presenter != nullptr) {
      if (presenter->Hidden()) continue;  // not drawn, so not hit
      hit = presenter->HitTestObject(*Globe_, point, *object, tolerance);
    } else {
      hit = object->PointOnObject(point, tolerance);
    }
    if (hit) return object;
  }
  return nullptr;
}

TGlobeObject* TGlobeLayer::ObjectByID(int32_t id) {
  if (Source_ == nullptr) return nullptr;
  for (int32_t i = 0; i < Source_->Count(); ++i)
    if (TGlobeObject* object = Source_->Objects(i); object->ID() == id) return object;
  return nullptr;
}

TGlobeObject* TGlobeLayer::ObjectByTitle(std::string_view title) {
  if (Source_ == nullptr) return nullptr;
  for (int32_t i = 0; i < Source_->Count(); ++i)
    if (TGlobeObject* object = Source_->Objects(i); SameTextIgnoringCase(object->Title(), title)) return object;
  return nullptr;
}

std::unique_ptr<TGXML_Element> TGlobeLayer::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TGlobeENVPersistent::SaveEnvironment();
  element->AddAttribute("Class", ClassName());
  element->AddAttribute("Name", Name());
  element->AddAttribute("Animated", Animated());
  element->AddAttribute("Enabled", Enabled());
  element->AddAttribute("ShowTitles", ShowTitles());
  element->AddAttribute("Visible", Visible());
  AddUnitAttribute(*element, "ZoomUnits", ZoomUnits_);
  element->AddAttribute("ZoomMin", ZoomMin());
  element->AddAttribute("ZoomMax", ZoomMax());
  element->AddElement("Presenters", Presenters_->SaveEnvironment());
  // A layer without a source gets an empty plain one when read, so it is written as having one;
  // that keeps a saved, loaded and saved again file unchanged.
  if (Source_ != nullptr) {
    element->AddElement("Objects", Source_->SaveEnvironment());
  } else {
    element->AddElement("Objects")->AddAttribute("Class", "TGlobeObjectSource");
  }
  return element;
}

void TGlobeLayer::LoadEnvironment(const TGXML_Element* element) {
  TGlobeENVPersistent::LoadEnvironment(element);
  if (element == nullptr) return;
  Reset();
  SetName(element->Attribute("Name", Name_));
  Flags_[lfAnimated] = element->Attribute("Animated", Animated());
  Flags_[lfEnabled] = element->Attribute("Enabled", Enabled());
  Flags_[lfShowTitles] = element->Attribute("ShowTitles", ShowTitles());
  Flags_[lfVisible] = element->Attribute("Visible", Visible());
  ZoomUnits_ = UnitAttribute(*element, "ZoomUnits", ZoomUnits_);
  Ints_[lpZoomMin] = element->Attribute("ZoomMin", ZoomMin());
  Ints_[lpZoomMax] = element->Attribute("ZoomMax", ZoomMax());
  Presenters_->LoadEnvironment(element->Element("Presenters"));
  if (const TGXML_Element* objects = element->Element("Objects")) {
    std::unique_ptr<TGlobeObjectSource> created = CreateGlobeClass<TGlobeObjectSource>(
        objects->Attribute("Class", "TGlobeObjectSource"), "TGlobeObjectSource", Globe_);
    TGlobeObjectSource* source = Globe_->AddObjectSource(std::move(created));
    SetObjectSource(source);
    source->LoadEnvironment(objects);
  }
  Modified_ = false;
  Globe_->Changes().SceneChanged();
}

}  // namespace globe
