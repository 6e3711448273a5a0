#pragma once
// What layers, object sources and objects report when they change. They only tell; the view
// that listens decides what follows (redraws, its events, the object cache's accounting). A
// listener overrides the notifications it cares about.
//
// Order of the reports, as the view core relies on it:
//  - a layer added to the store: LayerCreated, then SceneChanged;
//  - a layer's end: LayerFreed (before it leaves its source);
//  - a source opened or closed: ObjectSourceActiveChanged after the new state is set;
//  - a source's end: ObjectSourceFreed first, then for each built object CacheMemoryReleased
//    and ObjectFreed;
//  - an object built by a source: ObjectCreated, then CacheMemoryAdded with its bytes.

#include <cstdint>

namespace globe {

class TGlobeLayer;
class TGlobeObject;
class TGlobeObjectSource;

class TGlobeChangeListener {
 public:
  virtual ~TGlobeChangeListener() = default;

  // The static scene must be rendered again.
  virtual void SceneChanged() {}
  // Only the window must be painted again (what is drawn over the rendered scene changed).
  virtual void WindowChanged() {}

  virtual void LayerCreated(TGlobeLayer&) {}
  virtual void LayerFreed(TGlobeLayer&) {}

  virtual void ObjectSourceActiveChanged(TGlobeObjectSource&) {}
  virtual void ObjectSourceFreed(TGlobeObjectSource&) {}
  // The last layer has left the source: its owner may destroy it now (the source touches
  // nothing of itself after this report).
  virtual void ObjectSourceUnused(TGlobeObjectSource&) {}

  virtual void ObjectCreated(TGlobeObject&) {}
  virtual void ObjectFreed(TGlobeObject&) {}
  // An object was selected or deselected; null when the selection as a whole changed.
  virtual void SelectionChanged(TGlobeObject*) {}

  // Bytes of built objects that came into or went out of the object cache.
  virtual void CacheMemoryAdded(int64_t) {}
  virtual void CacheMemoryReleased(int64_t) {}
};

}  // namespace globe
