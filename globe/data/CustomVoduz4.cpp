#include "globe/data/CustomVoduz4.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "globe/data/GlobeDataClasses.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/XmlDocument.h"
#include "globe/data/XmlElement.h"
#include "platform/ProgramFolder.h"

namespace globe {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

bool FileExists(const std::string& name) {
  std::error_code error;
  return !name.empty() && std::filesystem::is_regular_file(name, error);
}

// Names written on other systems may separate directories with "\".
std::string WithNativeSeparators(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

// A handler of OnFileNotFound that keeps offering names that do not exist cannot hold the view.
constexpr int kMaxFileNameRetries = 16;

}  // namespace

TCustomVoduz4::TCustomVoduz4() {
  RegisterGlobeDataClasses();
  LayerStore_ = std::make_unique<TGlobeLayerStore>(this);
}

TCustomVoduz4::~TCustomVoduz4() {
  Destroying_ = true;
  OnRedrawRequest = nullptr;  // nothing is drawn any more
  LayerStore_->Clear();
  while (!Sources_.empty()) {
    std::unique_ptr<TGlobeObjectSource> source = std::move(Sources_.back());
    Sources_.pop_back();
    source.reset();
  }
  LayerStore_.reset();
}

// ---- Layers and sources ---------------------------------------------------------------------

TGlobeObjectSource* TCustomVoduz4::AddObjectSource(std::unique_ptr<TGlobeObjectSource> source) {
  if (!source) return nullptr;
  TGlobeObjectSource* added = source.get();
  Sources_.push_back(std::move(source));
  GlobeNotify(gnObjectSourceCreate, added);
  return added;
}

void TCustomVoduz4::FreeObjectSource(TGlobeObjectSource* source) {
  const auto it = std::find_if(Sources_.begin(), Sources_.end(),
                               [source](const std::unique_ptr<TGlobeObjectSource>& s) { return s.get() == source; });
  if (it == Sources_.end()) return;
  std::unique_ptr<TGlobeObjectSource> owned = std::move(*it);
  Sources_.erase(it);
  owned.reset();
}

TGlobeObjectSource* TCustomVoduz4::ObjectSources(int32_t index) const {
  return (index >= 0 && index < ObjectSourceCount()) ? Sources_[static_cast<size_t>(index)].get() : nullptr;
}

// ---- Notifications ----------------------------------------------------------------------------

void TCustomVoduz4::GlobeNotify(TGlobeNotifyKind kind, TGlobeRoot* item) {
  if (!LayerStore_) return;
  switch (kind) {
    case gnLayerCreate:
      if (OnLayerCreate) OnLayerCreate(*this, static_cast<TGlobeLayer*>(item));
      break;
    case gnLayerFree:
      if (OnLayerFree) OnLayerFree(*this, static_cast<TGlobeLayer*>(item));
      break;
    case gnObjectSourceCreate:
      if (OnObjectSourceCreate && !Destroying_) OnObjectSourceCreate(*this, static_cast<TGlobeObjectSource*>(item));
      break;
    case gnObjectSourceActiveChange:
      if (OnObjectSourceActiveChange && !Destroying_)
        OnObjectSourceActiveChange(*this, static_cast<TGlobeObjectSource*>(item));
      break;
    case gnObjectSourceFree:
      if (OnObjectSourceFree && !Destroying_) OnObjectSourceFree(*this, static_cast<TGlobeObjectSource*>(item));
      break;
    case gnObjectFree:
      LayerStore_->ObjectFreed(static_cast<TGlobeObject*>(item));
      if (OnObjectFree) OnObjectFree(*this, static_cast<TGlobeObject*>(item));
      break;
    case gnSelectionChange:
      if (OnObjectSelectChange) OnObjectSelectChange(*this, static_cast<TGlobeObject*>(item));
      break;
  }
  RedrawGlobe();
}

void TCustomVoduz4::LayerCreated(TGlobeLayer& layer) { GlobeNotify(gnLayerCreate, &layer); }
void TCustomVoduz4::LayerFreed(TGlobeLayer& layer) { GlobeNotify(gnLayerFree, &layer); }
void TCustomVoduz4::ObjectSourceActiveChanged(TGlobeObjectSource& source) {
  GlobeNotify(gnObjectSourceActiveChange, &source);
}
void TCustomVoduz4::ObjectSourceFreed(TGlobeObjectSource& source) { GlobeNotify(gnObjectSourceFree, &source); }
void TCustomVoduz4::ObjectFreed(TGlobeObject& object) { GlobeNotify(gnObjectFree, &object); }
void TCustomVoduz4::SelectionChanged(TGlobeObject* object) { GlobeNotify(gnSelectionChange, object); }

void TCustomVoduz4::ObjectCreated(TGlobeObject& object) {
  if (OnObjectCreate) OnObjectCreate(*this, &object);
}

void TCustomVoduz4::RedrawGlobe() {
  RedrawNeeded_ = true;
  ++RedrawRequests_;
  InvalidateWindow();
  if (OnRedrawRequest) OnRedrawRequest(*this);
}

bool TCustomVoduz4::DoProgress(TProgressMessage kind, const std::string& text) {
  bool abort = false;
  if (OnProgress) OnProgress(*this, kind, text, abort);
  return abort;
}

int32_t TCustomVoduz4::NewObjectID() {
  ObjectIDCounter_ = static_cast<int32_t>(static_cast<uint32_t>(ObjectIDCounter_) + 1u);
  return ObjectIDCounter_;
}

// ---- Files ------------------------------------------------------------------------------------

void TCustomVoduz4::SetDataDirectory(const std::string& directory) {
  std::string value = Trimmed(directory);
  if (!value.empty() && !EndsWithSeparator(value)) value += '/';
  DataDirectory_ = value;
  std::error_code error;
  if (!value.empty() && !std::filesystem::is_directory(WithNativeSeparators(value), error) && OnDirectoryNotFound)
    OnDirectoryNotFound(*this, value);
}

std::string TCustomVoduz4::ProgramDirectory() const {
  std::string dir = platform::ExecutableFolder();
  if (!dir.empty() && !EndsWithSeparator(dir)) dir += '/';
  return dir;
}

std::string TCustomVoduz4::ResolveFileName(const std::string& name) {
  if (Trimmed(name).empty()) return {};  // no file to look for, nothing to ask about
  std::string candidate = name;
  for (int attempt = 0; attempt <= kMaxFileNameRetries; ++attempt) {
    if (FileExists(candidate)) return candidate;
    const std::string native = WithNativeSeparators(candidate);
    if (FileExists(native)) return native;
    std::string dir = WithNativeSeparators(Trimmed(DataDirectory_));
    if (dir.empty()) dir = ProgramDirectory();
    if (!dir.empty() && !EndsWithSeparator(dir)) dir += '/';
    if (!native.empty()) {
      if (FileExists(dir + native)) return dir + native;
      const std::string last = std::filesystem::path(native).filename().string();
      if (!last.empty() && FileExists(dir + last)) return dir + last;
    }
    if (!OnFileNotFound) return {};
    std::string offered = candidate;
    bool tryFileName = false;
    OnFileNotFound(*this, offered, tryFileName);
    if (!tryFileName) return {};
    candidate = offered;
  }
  return {};
}

// ---- Appearance -------------------------------------------------------------------------------

void TCustomVoduz4::SetSurfaceColor(TColor color) {
  if (color == SurfaceColor_) return;
  SurfaceColor_ = color;
  RedrawGlobe();
}

void TCustomVoduz4::SetSurfaceTextureName(const std::string& name) {
  const std::string resolved = name.empty() ? std::string() : ResolveFileName(name);
  bool loaded = false;
  if (!resolved.empty()) {
    try {
      loaded = Texture_.LoadFromFile(resolved) && Texture_.HasTexture();
    } catch (const EGlobeException&) {
      loaded = false;
    }
  }
  if (!loaded) Texture_.Clear();
  SurfaceTextureName_ = loaded ? name : std::string();
  RedrawGlobe();
}

void TCustomVoduz4::SetMinTextHeight(int32_t height) {
  MinTextHeight_ = height;
  RedrawGlobe();
}

void TCustomVoduz4::SetMaxTextHeight(int32_t height) {
  MaxTextHeight_ = height;
  RedrawGlobe();
}

void TCustomVoduz4::SetGlobeOptions(TGlobeOptions options) {
  GlobeOptions_ = options;
  RedrawGlobe();
}

// ---- Object cache -----------------------------------------------------------------------------

void TCustomVoduz4::AddCacheMemory(int64_t bytes) {
  CacheMemory_ += bytes;
  if (bytes < 0) {
    CacheMemory_ = std::max<int64_t>(CacheMemory_, 0);
    return;
  }
  const int64_t limit = int64_t{CacheCapacity_} * 1024;
  if (CacheCapacity_ <= 0 || CacheMemory_ <= limit) return;
  if (OnReduceCacheMemory) OnReduceCacheMemory(*this);
  CacheMemory_ = ReduceCacheMemory((limit * 25 + 50) / 100);
}

int64_t TCustomVoduz4::ReduceCacheMemory(int64_t target) {
  int64_t total = 0;
  std::vector<TGlobeObject*> cached;
  for (const auto& source : Sources_) {
    total += source->CacheMemory();
    source->CollectCachedObjects(cached);
  }
  std::stable_sort(cached.begin(), cached.end(),
                   [](const TGlobeObject* a, const TGlobeObject* b) { return a->LastUsed() < b->LastUsed(); });
  for (TGlobeObject* object : cached) {
    if (total < target) break;
    const int64_t memory = object->InstanceMemory();
    object->ObjectSource()->ReleaseObject(object);
    total -= memory;
  }
  return total;
}

void TCustomVoduz4::RecalculateCacheMemory() {
  int64_t total = 0;
  for (const auto& source : Sources_) total += source->CacheMemory();
  CacheMemory_ = total;
  AddCacheMemory(0);
}

// ---- Environment ------------------------------------------------------------------------------

void TCustomVoduz4::ClearEnvironment() {
  EnvironmentFile_.clear();
  LayerStore_->Clear();
  RedrawGlobe();
}

std::unique_ptr<TGXML_Element> TCustomVoduz4::SaveEnvironment() const {
  auto element = std::make_unique<TGXML_Element>();
  element->AddAttribute("DataDirectory", DataDirectory_);
  AddColorAttribute(*element, "SurfaceColor", SurfaceColor_);
  element->AddAttribute("SurfaceTextureName", SurfaceTextureName_);
  element->AddAttribute("MaxTextHeight", MaxTextHeight_);
  element->AddAttribute("MinTextHeight", MinTextHeight_);
  if (std::unique_ptr<TGXML_Element> projection = SaveProjectionEnvironment())
    element->AddElement("Projection", std::move(projection));
  element->AddElement("LayerStore", LayerStore_->SaveEnvironment());
  return element;
}

void TCustomVoduz4::LoadEnvironment(const TGXML_Element* globeElement) {
  if (globeElement == nullptr) return;
  const TGXML_Element& e = *globeElement;
  SetDataDirectory(e.Attribute("DataDirectory", DataDirectory_));
  SetSurfaceColor(ColorAttribute(e, "SurfaceColor", SurfaceColor_));
  SetSurfaceTextureName(e.Attribute("SurfaceTextureName", SurfaceTextureName_));
  SetMaxTextHeight(e.Attribute("MaxTextHeight", MaxTextHeight_));
  SetMinTextHeight(e.Attribute("MinTextHeight", MinTextHeight_));
  LoadProjectionEnvironment(e.Element("Projection"));
  LayerStore_->LoadEnvironment(e.Element("LayerStore"));
  RedrawGlobe();
}

void TCustomVoduz4::SetEnvironmentFile(const std::string& fileName) {
  ClearEnvironment();
  TGXML_Document document;
  if (fileName.empty() || !document.LoadFromFile(fileName)) return;
  if (OnEnvironmentWarning)
    for (const std::string& warning : document.Warnings())
      OnEnvironmentWarning(*this, "Environment file " + fileName + ", " + warning);
  LoadEnvironment(document.Root().Element("TGlobe"));
  EnvironmentFile_ = fileName;
  if (OnLoadEnvironment) OnLoadEnvironment(*this, document);
}

void TCustomVoduz4::SaveEnvironmentFile(const std::string& fileName) {
  TGXML_Document document;
  document.Root().AddElement("TGlobe", SaveEnvironment());
  if (OnSaveEnvironment) OnSaveEnvironment(*this, document);
  document.SaveToFile(fileName);
}

// ---- Hooks ------------------------------------------------------------------------------------

bool TCustomVoduz4::SamePixel(const TGeoPoint& a, const TGeoPoint& b) const {
  return a.LongX == b.LongX && a.LatY == b.LatY;
}

bool TCustomVoduz4::DeviceXYToLL(int, int, TGeoPoint&) const { return false; }

std::unique_ptr<TGXML_Element> TCustomVoduz4::SaveProjectionEnvironment() const { return nullptr; }

void TCustomVoduz4::LoadProjectionEnvironment(const TGXML_Element*) {}

}  // namespace globe
