#pragma once
// The window-free core of the globe view: it owns the layer store, the object sources and the
// surface texture, resolves data file names, numbers objects, hosts its layers, sources, objects
// and presenters and listens to their changes (GlobeHost.h, GlobeChangeListener.h), asks for
// redraws, keeps the memory of cached objects under CacheCapacity, and loads and saves the
// environment file. The windowed view derives from it and fills the hooks
// (projection, device coordinates, window invalidation).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeChangeListener.h"
#include "globe/data/GlobeColor.h"
#include "globe/data/GlobeHost.h"
#include "globe/data/GlobeOptions.h"
#include "globe/data/GlobeRoot.h"
#include "globe/data/TextureData.h"

namespace globe {

class TGlobeLayer;
class TGlobeLayerStore;
class TGlobeObject;
class TGlobeObjectSource;
class TGXML_Document;
class TGXML_Element;

// The events GlobeNotify raises (each followed by a redraw request).
enum TGlobeNotifyKind : int {
  gnLayerCreate = 0,
  gnLayerFree = 1,
  gnObjectSourceCreate = 2,
  gnObjectSourceActiveChange = 3,
  gnObjectSourceFree = 4,
  gnObjectFree = 5,
  gnSelectionChange = 6,
};

// The core is the host of its layers, sources, objects and presenters and the listener of their
// changes: it alone turns them into events, redraws and cache accounting.
class TCustomVoduz4 : public TGlobeRoot, public TGlobeHost, private TGlobeChangeListener {
 public:
  TCustomVoduz4();
  TCustomVoduz4(const TCustomVoduz4&) = delete;
  TCustomVoduz4& operator=(const TCustomVoduz4&) = delete;
  ~TCustomVoduz4() override;

  std::string ClassName() const override { return "TCustomVoduz4"; }

  // ---- Events (all optional) -------------------------------------------------------------
  std::function<void(TCustomVoduz4&, TGlobeLayer*)> OnLayerCreate, OnLayerFree;
  std::function<void(TCustomVoduz4&, TGlobeObject*)> OnObjectSelectChange, OnObjectCreate, OnObjectFree;
  std::function<void(TCustomVoduz4&, TGlobeObjectSource*)> OnObjectSourceCreate, OnObjectSourceActiveChange,
      OnObjectSourceFree;
  std::function<void(TCustomVoduz4&, TProgressMessage, const std::string&, bool& abort)> OnProgress;
  std::function<void(TCustomVoduz4&, TGXML_Document&)> OnSaveEnvironment, OnLoadEnvironment;
  std::function<void(TCustomVoduz4&, const std::string& directory)> OnDirectoryNotFound;
  // May replace the name and set tryFileName to have it resolved again.
  std::function<void(TCustomVoduz4&, std::string& fileName, bool& tryFileName)> OnFileNotFound;
  std::function<void(TCustomVoduz4&)> OnReduceCacheMemory;
  // A repair made while reading a faulty environment file ("Environment file NAME, line N: ...");
  // the load goes on with what was read.
  std::function<void(TCustomVoduz4&, const std::string& message)> OnEnvironmentWarning;
  // Raised by every RedrawGlobe: the static scene must be rendered again.
  std::function<void(TCustomVoduz4&)> OnRedrawRequest;

  // ---- Layers and sources ------------------------------------------------------------------
  TGlobeLayerStore& LayerStore() { return *LayerStore_; }
  const TGlobeLayerStore& LayerStore() const { return *LayerStore_; }
  // Null while the view is being built or destroyed.
  TGlobeLayerStore* LayerStoreIfAny() const override { return LayerStore_.get(); }

  // Takes ownership of a new source and reports it (OnObjectSourceCreate).
  TGlobeObjectSource* AddObjectSource(std::unique_ptr<TGlobeObjectSource> source) override;
  template <class T>
  T* NewObjectSource() {
    return static_cast<T*>(AddObjectSource(std::make_unique<T>(this)));
  }
  // Destroys a source the view owns (its last layer has left it); other sources are left alone.
  void FreeObjectSource(TGlobeObjectSource* source);
  int32_t ObjectSourceCount() const { return static_cast<int32_t>(Sources_.size()); }
  TGlobeObjectSource* ObjectSources(int32_t index) const;

  // ---- Notifications, redraw, progress -----------------------------------------------------
  TGlobeChangeListener& Changes() override { return *this; }
  // Raises the event of `kind` for the item, then asks for a redraw.
  void GlobeNotify(TGlobeNotifyKind kind, TGlobeRoot* item);
  // Asks for a new rendering of the static scene: sets the redraw flag, counts the request,
  // invalidates the window and raises OnRedrawRequest.
  virtual void RedrawGlobe();
  bool RedrawNeeded() const { return RedrawNeeded_; }
  // Clears the redraw flag (the paint cycle calls it once the scene is rendered).
  void RedrawDone() { RedrawNeeded_ = false; }
  uint64_t RedrawRequests() const { return RedrawRequests_; }
  // Raises OnProgress and returns whether the handler asked to abort.
  bool DoProgress(TProgressMessage kind, const std::string& text) override;

  // Increments and returns the object-ID counter.
  int32_t NewObjectID();
  // The next last-used stamp for cached objects (grows with every use).
  uint64_t NextUseStamp() override { return ++UseStamp_; }

  // ---- Files --------------------------------------------------------------------------------
  const std::string& DataDirectory() const override { return DataDirectory_; }
  // Trimmed, with a trailing separator; a missing directory raises OnDirectoryNotFound.
  void SetDataDirectory(const std::string& directory);
  // The name itself, or the data directory (program directory when empty) joined with the name
  // or with its last part, whichever exists; then OnFileNotFound; "" when nothing is found.
  std::string ResolveFileName(const std::string& name) override;
  TSaveMetaDataLocation SaveMetaDataLocation() const override { return SaveMetaDataLocation_; }
  void SetSaveMetaDataLocation(TSaveMetaDataLocation location) { SaveMetaDataLocation_ = location; }

  // ---- Appearance kept by the environment ------------------------------------------------
  TColor SurfaceColor() const { return SurfaceColor_; }
  void SetSurfaceColor(TColor color);
  const std::string& SurfaceTextureName() const { return SurfaceTextureName_; }
  // Loads the texture; the name is kept only when a texture was loaded.
  void SetSurfaceTextureName(const std::string& name);
  const TTextureData& SurfaceTexture() const { return Texture_; }
  virtual int32_t MinTextHeight() const { return MinTextHeight_; }
  virtual void SetMinTextHeight(int32_t height);
  virtual int32_t MaxTextHeight() const { return MaxTextHeight_; }
  virtual void SetMaxTextHeight(int32_t height);
  virtual TGlobeOptions GlobeOptions() const { return GlobeOptions_; }
  virtual void SetGlobeOptions(TGlobeOptions options);
  bool HasGlobeOption(TGlobeOption option) const { return GlobeOptions().Contains(option); }

  // ---- Object cache -------------------------------------------------------------------------
  // Kilobytes; 0 or less: no limit.
  int32_t CacheCapacity() const { return CacheCapacity_; }
  void SetCacheCapacity(int32_t kilobytes) { CacheCapacity_ = kilobytes; }
  int64_t CacheMemory() const { return CacheMemory_; }
  // Adds bytes to the counter; growing past the capacity raises OnReduceCacheMemory and shrinks
  // the cache to a quarter of the capacity. Negative amounts only subtract.
  void AddCacheMemory(int64_t bytes);
  // Releases cached objects, oldest first, until their total falls below `target`; returns the
  // remaining total.
  int64_t ReduceCacheMemory(int64_t target);
  // Re-totals the counter from the sources, then checks the limit.
  void RecalculateCacheMemory();

  // ---- Environment --------------------------------------------------------------------------
  const std::string& EnvironmentFile() const { return EnvironmentFile_; }
  // Clears the environment, then loads the file (when it exists) and remembers its name.
  void SetEnvironmentFile(const std::string& fileName);
  // Writes the environment to a file (raises OnSaveEnvironment before writing).
  void SaveEnvironmentFile(const std::string& fileName);
  // Forgets the environment file name and destroys every layer.
  virtual void ClearEnvironment();
  // The TGlobe element and its application.
  std::unique_ptr<TGXML_Element> SaveEnvironment() const;
  void LoadEnvironment(const TGXML_Element* globeElement);

  // ---- Hooks of the windowed view -----------------------------------------------------------
  // Whether two points fall on the same device pixel (without a projection: the same point).
  bool SamePixel(const TGeoPoint& a, const TGeoPoint& b) const override;
  // Device pixel to geographic point; false when the pixel is off the map.
  bool DeviceXYToLL(int x, int y, TGeoPoint& point) const override;
  // Tolerance in GlobeUnit of a mouse hit test.
  int32_t HitTolerance() const override { return 0; }
  // Repaints the window without rendering the static scene again.
  virtual void InvalidateWindow() {}
  // The projection's own element (null without a projection) and its loading.
  virtual std::unique_ptr<TGXML_Element> SaveProjectionEnvironment() const;
  virtual void LoadProjectionEnvironment(const TGXML_Element* element);
  // Where the program lives (for names resolved against an empty data directory).
  std::string ProgramDirectory() const override;

 protected:
  bool Destroying() const { return Destroying_; }

  // ---- What layers, sources and objects report (TGlobeChangeListener) ----------------------
  // Each report raises what GlobeNotify, RedrawGlobe and the cache counter did for it.
  void SceneChanged() override { RedrawGlobe(); }
  void WindowChanged() override { InvalidateWindow(); }
  void LayerCreated(TGlobeLayer& layer) override;
  void LayerFreed(TGlobeLayer& layer) override;
  void ObjectSourceActiveChanged(TGlobeObjectSource& source) override;
  void ObjectSourceFreed(TGlobeObjectSource& source) override;
  void ObjectSourceUnused(TGlobeObjectSource& source) override { FreeObjectSource(&source); }
  void ObjectCreated(TGlobeObject& object) override;
  void ObjectFreed(TGlobeObject& object) override;
  void SelectionChanged(TGlobeObject* object) override;
  void CacheMemoryAdded(int64_t bytes) override { AddCacheMemory(bytes); }
  void CacheMemoryReleased(int64_t bytes) override { AddCacheMemory(-bytes); }

 private:
  std::unique_ptr<TGlobeLayerStore> LayerStore_;
  std::vector<std::unique_ptr<TGlobeObjectSource>> Sources_;
  TTextureData Texture_;
  std::string DataDirectory_;
  std::string EnvironmentFile_;
  std::string SurfaceTextureName_;
  TColor SurfaceColor_ = 0xFFFF00;  // aqua
  int32_t MinTextHeight_ = 5;
  int32_t MaxTextHeight_ = 0;
  TGlobeOptions GlobeOptions_{goCache3DPoints, goDoubleBuffered};
  TSaveMetaDataLocation SaveMetaDataLocation_ = smdInDataDirectory;
  int32_t CacheCapacity_ = 10240;
  int64_t CacheMemory_ = 0;
  int32_t ObjectIDCounter_ = 0;
  uint64_t UseStamp_ = 0;
  uint64_t RedrawRequests_ = 0;
  bool RedrawNeeded_ = false;
  bool Destroying_ = false;
};

}  // namespace globe
