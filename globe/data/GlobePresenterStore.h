#pragma once
// TGlobePresenterStore: the presenters of a layer, of an object source or the layer store's
// global ones, in order, owned. Objects find their presenter by PresenterID: first in their
// layer's store, then (ByID with `global`) in the layer store's global presenters.
//
// ID rules of Add: a presenter with PresenterID 0 gets one more than the largest ID in the store
// (at least 1); a presenter with any other ID is taken only when no presenter of the store has
// that ID. Either way the result is the ID.
//
// Environment element: one child "Presenter" per presenter, each the presenter's own element with
// its "Class" attribute. Binary form (meta-data files): Integer count, then per presenter its
// class name (ShortString) and its record.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GlobeENVPersistent.h"

namespace globe {

class TGlobeHost;
class TGlobePresenter;
class TGlobeStreamReader;
class TGlobeStreamWriter;

class TGlobePresenterStore : public TGlobeENVPersistent {
 public:
  // A null globe is a programming error ("TGlobePresenterStore.Create passed nil Parent").
  explicit TGlobePresenterStore(TGlobeHost* globe);
  TGlobePresenterStore(const TGlobePresenterStore&) = delete;
  TGlobePresenterStore& operator=(const TGlobePresenterStore&) = delete;
  ~TGlobePresenterStore() override;

  std::string ClassName() const override { return "TGlobePresenterStore"; }

  TGlobeHost* Globe() const { return Globe_; }

  int32_t Count() const { return static_cast<int32_t>(Presenters_.size()); }
  // An index outside 0..Count-1 is a programming error ("TGlobePresenterStore: Invalid Index").
  TGlobePresenter* Presenters(int32_t index) const;
  // Position of a presenter in the store, -1 when absent.
  int32_t IndexOf(const TGlobePresenter* presenter) const;

  // Takes the presenter (see the ID rules above) and returns its ID; 0 for null. A presenter
  // whose ID is already in the store is not taken: it is destroyed and the store is unchanged.
  int32_t Add(std::unique_ptr<TGlobePresenter> presenter);
  // Takes a presenter out without destroying it; null when it is not in the store.
  std::unique_ptr<TGlobePresenter> Remove(TGlobePresenter* presenter);
  // Destroys every presenter.
  void Clear();

  // The presenter with that ID; when the store has none and `global` is set, the layer store's
  // global presenter with that ID; else null.
  TGlobePresenter* ByID(int32_t id, bool global) const;

  // Replaces the contents by copies (made for this store's globe) of another store's presenters.
  void Assign(const TGlobePresenterStore& source);
  // Adds a copy of one presenter made for this store's globe.
  void Assign(const TGlobePresenter& presenter);

  // Set by Add, Remove and Clear; cleared by loading.
  bool Modified() const { return Modified_; }
  void SetModified(bool modified) { Modified_ = modified; }

  // Loading replaces the contents (a null element changes nothing); each presenter is created by
  // its "Class" through the class registry.
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

  // The binary form: every presenter with its class name.
  void WriteToStream(TGlobeStreamWriter& writer) const;
  // Reads the binary form and adds the presenters read (by the ID rules).
  void ReadFromStream(TGlobeStreamReader& reader);

 private:
  // One more than the largest ID (at least 1); after the largest Integer, the smallest unused
  // positive ID.
  int32_t NextFreeID() const;

  TGlobeHost* Globe_;  // not owned
  std::vector<std::unique_ptr<TGlobePresenter>> Presenters_;
  bool Modified_ = false;
};

// The layer store's global presenter store of a globe, or null while the globe has none (defined
// with the layer store).
TGlobePresenterStore* GlobalPresenterStore(TGlobeHost& globe);

}  // namespace globe
