#pragma once
// The view's layers in drawing order (index 0 drawn first, the last on top), the global
// presenters (a point presenter -1 and a poly presenter -2 to start with) and the selection.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeENVPersistent.h"

namespace globe {

class TGlobeHost;
class TGlobeLayer;
class TGlobeObject;
class TGlobePresenterStore;

// The IDs of the two global presenters every layer store starts with.
inline constexpr int32_t GlobalPointPresenterID = -1;
inline constexpr int32_t GlobalPolyPresenterID = -2;

class TGlobeLayerStore : public TGlobeENVPersistent {
 public:
  explicit TGlobeLayerStore(TGlobeHost* globe);
  TGlobeLayerStore(const TGlobeLayerStore&) = delete;
  TGlobeLayerStore& operator=(const TGlobeLayerStore&) = delete;
  ~TGlobeLayerStore() override;

  std::string ClassName() const override { return "TGlobeLayerStore"; }

  TGlobeHost* Globe() const { return Globe_; }
  // The global presenters (never null).
  TGlobePresenterStore* GlobalPresenters() { return GlobalPresenters_.get(); }
  const TGlobePresenterStore* GlobalPresenters() const { return GlobalPresenters_.get(); }

  int32_t Count() const { return static_cast<int32_t>(Layers_.size()); }
  // Raises EGlobeException "TVoduz4.GetLayer: Bad layer index %d" outside 0..Count-1.
  TGlobeLayer* Layers(int32_t index) const;
  int32_t IndexOf(const TGlobeLayer* layer) const;
  // Names compare without regard to case; -1 / null when absent.
  int32_t IndexOfName(std::string_view name) const;
  TGlobeLayer* LayerByName(std::string_view name) const;

  // Appends (on top), reports the new layer to the view and redraws.
  TGlobeLayer* Add(std::unique_ptr<TGlobeLayer> layer);
  // A new plain layer on top.
  TGlobeLayer* NewLayer();
  // Takes a layer out and hands it back (null when not in the store); redraws.
  std::unique_ptr<TGlobeLayer> Remove(TGlobeLayer* layer);
  // Removes and destroys.
  void Delete(TGlobeLayer* layer);
  // Reorders (nothing when the indices are equal or either is out of range); redraws.
  void Move(int32_t fromIndex, int32_t toIndex);
  // Destroys every layer, the last one first.
  void Clear();

  // Replaces the layers by copies of another store's (sharing their object sources) and copies
  // its global presenters.
  void Assign(const TGlobeLayerStore& source);
  // Adds a copy of one layer.
  void Assign(const TGlobeLayer& layer);

  // Union of the layers' bounds.
  TGeoRect Bounds();

  TGlobeObject* SelectedObject() const { return SelectedObject_; }
  // When it differs: every selected object of every layer is deselected, then the new one (when
  // not null) selected.
  void SetSelectedObject(TGlobeObject* object);
  // The n-th selected object, layers and objects in order; null past the end.
  TGlobeObject* SelectedObjects(int32_t n);
  // The view reports an object's end: a selection pointing at it is forgotten.
  void ObjectFreed(const TGlobeObject* object);

  // The object at a device pixel (through the view's DeviceXYToLL and HitTolerance).
  TGlobeObject* ObjectAtPoint(int x, int y);
  // Layers from the top down, only Enabled and Visible ones; the first hit.
  TGlobeObject* ObjectAtLL(const TGeoPoint& point, int32_t tolerance);
  // The first object of any layer with that ID / title.
  TGlobeObject* ObjectByID(int32_t id);
  TGlobeObject* ObjectByTitle(std::string_view title);
  // Calls `step` for every layer whose Animated flag equals `animated`, in drawing order.
  void ForEachLayer(bool animated, const std::function<void(TGlobeLayer&)>& step);

  int64_t MemorySize() const;

  // Layers of the element in order; a layer whose source cannot be activated is dropped.
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

 private:
  void AddDefaultGlobalPresenters();

  TGlobeHost* Globe_;
  std::vector<std::unique_ptr<TGlobeLayer>> Layers_;
  TGlobeObject* SelectedObject_ = nullptr;
  std::unique_ptr<TGlobePresenterStore> GlobalPresenters_;
};

// The layer store's global presenter store of a globe, or null while the globe has no layer store.
TGlobePresenterStore* GlobalPresenterStore(TGlobeHost& globe);

}  // namespace globe
