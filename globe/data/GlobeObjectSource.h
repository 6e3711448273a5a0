#pragma once
// An object source: holds the objects of one or more layers. For every index it keeps either a
// light record (TGlobeObjectData) or the full object (TGlobeObject); full objects are built on
// demand by GetObject (a file reader reads them), counted against the view's object cache and
// turned back into light records by Flush or by the cache.
//
// Ownership: the source owns its entries. The view owns every source (TGlobeHost::AddObjectSource);
// the layers that use a source only refer to it, and when the last of them detaches the source
// reports itself unused (TGlobeChangeListener::ObjectSourceUnused) and the view destroys it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/GlobeObjectData.h"

namespace globe {

class TGlobeHost;
class TGlobeLayer;
class TGlobePresenterStore;

// What a source reports to its layers.
enum TSourceNotifyKind : int {
  snShowLayers = 0,        // the layers become visible
  snHideLayers = 1,        // the layers become invisible
  snObjectAdded = 2,
  snObjectRemoving = 3,    // the object is about to be removed
  snChanged = 4,           // an object changed, or the source opened or closed
  snSelectionChanged = 5,
};

class TGlobeObjectSource : public TGlobeENVPersistent {
 public:
  // A null globe is a programming error ("TGlobeObjectSource.Create passed nil Parent").
  explicit TGlobeObjectSource(TGlobeHost* globe);
  TGlobeObjectSource(const TGlobeObjectSource&) = delete;
  TGlobeObjectSource& operator=(const TGlobeObjectSource&) = delete;
  // Reports the end to the view, closes, destroys the entries and leaves every layer.
  ~TGlobeObjectSource() override;

  std::string ClassName() const override { return "TGlobeObjectSource"; }

  TGlobeHost* Globe() const { return Globe_; }

  bool Active() const { return Active_; }
  // On a change Open or Close decides the new state; the view is told.
  void SetActive(bool active);

  int32_t Count() const { return Count_; }
  // Entries beyond the new count are destroyed; reaching the capacity grows it to count + 255.
  void SetCount(int32_t count);
  int32_t Capacity() const { return Capacity_; }
  // Entries beyond the capacity are destroyed and the count trimmed.
  void SetCapacity(int32_t capacity);

  const std::string& Name() const { return Name_; }
  void SetName(std::string name) { Name_ = std::move(name); }

  // The source's own presenters (never null).
  TGlobePresenterStore* Presenters() { return Presenters_.get(); }
  const TGlobePresenterStore* Presenters() const { return Presenters_.get(); }

  // Changes whenever the entries may have changed (opening, closing, objects added, removed,
  // moved, replaced, flushed or reporting a change), never while an object is only being built;
  // unique across sources, so what is derived from a source's objects can tell when to renew.
  uint64_t ContentStamp() const { return ContentStamp_; }

  bool Modified() const { return Modified_; }
  void SetModified(bool modified) { Modified_ = modified; }
  // True while an object is being built by Objects().
  bool Building() const { return Building_; }

  // The entry at `index`; an empty entry is filled with a record of State osEmptyRecord.
  // An index outside 0..Count-1 is a programming error ("GetObjectData: Invalid Index").
  TGlobeObjectData& GetObjectData(int32_t index);
  // Replaces the entry (a full object there is unlinked first, then destroyed).
  // ("SetObjectData: Invalid Index" outside 0..Count-1.)
  void SetObjectData(int32_t index, std::unique_ptr<TGlobeObjectData> data);
  // The entry as it stands, or null (empty or out of range); never fills.
  TGlobeObjectData* PeekEntry(int32_t index) const;

  // Per-index fields, through the entry.
  TGeoRect ObjectBounds(int32_t index) { return GetObjectData(index).GetBounds(); }
  void SetObjectBounds(int32_t index, const TGeoRect& bounds) { GetObjectData(index).SetBounds(bounds); }
  int32_t ObjectPresenterID(int32_t index) { return GetObjectData(index).PresenterID(); }
  void SetObjectPresenterID(int32_t index, int32_t id) { GetObjectData(index).SetPresenterID(id); }
  uint16_t ObjectState(int32_t index) { return GetObjectData(index).State(); }
  void SetObjectState(int32_t index, uint16_t state) { GetObjectData(index).SetState(state); }
  int32_t ObjectTag(int32_t index) { return GetObjectData(index).Tag(); }
  void SetObjectTag(int32_t index, int32_t tag) { GetObjectData(index).SetTag(tag); }
  double ObjectValue(int32_t index) { return GetObjectData(index).Value(); }
  void SetObjectValue(int32_t index, double value) { GetObjectData(index).SetValue(value); }

  // The full object at `index`, built when the entry is a light record. Raises EGlobeException
  // "TGlobeReader returned nil object" when none can be made. The pointer stays valid until the
  // object is flushed, released by the cache or removed.
  TGlobeObject* Objects(int32_t index);

  // Appends an object as a new entry and returns it.
  TGlobeObject* Add(std::unique_ptr<TGlobeObject> object);
  // Adds a new object of class T made for this source.
  template <class T>
  T* NewObject() {
    return static_cast<T*>(Add(std::make_unique<T>(this)));
  }
  // Takes an object out (later objects are renumbered) and hands it back; null when the object
  // is not in this source.
  std::unique_ptr<TGlobeObject> Remove(TGlobeObject* object);
  // Moves an entry and renumbers the objects.
  void Move(int32_t fromIndex, int32_t toIndex);

  // Union of the objects' bounds grown by one unit to the south-west; (0, 0, 1, 1) when empty.
  TGeoRect Bounds();

  // Turns every built object back into a light record (deselecting it first).
  void Flush();

  // Layers that use the source.
  void AttachLayer(TGlobeLayer* layer);
  // The source destroys itself (through the view) when no layer remains.
  void DetachLayer(TGlobeLayer* layer);
  int32_t LayerCount() const { return static_cast<int32_t>(Layers_.size()); }
  TGlobeLayer* Layers(int32_t n) const;

  // Bytes of all entries.
  int64_t MemorySize() const;

  // The object cache: bytes of the built objects, the built objects (for release by age) and
  // the release of one of them back into a light record.
  int64_t CacheMemory() const;
  // Selected objects and the object being built are never released.
  void CollectCachedObjects(std::vector<TGlobeObject*>& objects) const;
  void ReleaseObject(TGlobeObject* object);

  // Reports to every attached layer.
  void NotifyLayers(TSourceNotifyKind kind, TGlobeObject* object);
  // An object of the source reports a change (kind 4) or a selection change (kind 5).
  void ObjectNotify(TSourceNotifyKind kind, TGlobeObject* object);

  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

 protected:
  // Activation hooks: the plain ones tell the layers and succeed.
  virtual bool Open();
  virtual bool Close();
  // Makes the object for an index (the reader's build); `emptyRecord` tells whether nothing was
  // known about it. The plain source makes none.
  virtual std::unique_ptr<TGlobeObject> GetObject(int32_t index, bool emptyRecord);

 private:
  void CheckIndex(int32_t index, const char* message) const;
  void Renumber(int32_t fromIndex);
  // Replaces a full object's entry by a light copy of its record.
  void MakeLight(int32_t index);
  // Destroys entries from `first` on (they are moved out of the array first).
  void DestroyEntries(int32_t first);
  void NewContentStamp();

  bool Active_ = false;
  TGlobeHost* Globe_;
  int32_t Count_ = 0;
  int32_t Capacity_ = 0;
  std::vector<std::unique_ptr<TGlobeObjectData>> Entries_;  // Count_ entries, may be null
  std::vector<TGlobeLayer*> Layers_;                        // not owned
  std::string Name_;
  std::unique_ptr<TGlobePresenterStore> Presenters_;
  bool Modified_ = false;
  bool Building_ = false;
  TGlobeObject* BuildingObject_ = nullptr;  // being counted into the cache, not to be released
  bool Destroying_ = false;
  uint64_t ContentStamp_ = 0;
};

}  // namespace globe
