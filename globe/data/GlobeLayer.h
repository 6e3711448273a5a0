#pragma once
// A map layer: a presenter store (how its objects are drawn), the object source that holds its
// objects, and its drawing and hit-test settings. Layers live in the view's layer store.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeColor.h"
#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobeUnits.h"

namespace globe {

class TGlobeHost;
class TGlobeObject;
class TGlobePresenterStore;

// Indices of the layer's Boolean properties (SetFlag).
enum TGlobeLayerFlag : int { lfEnabled = 0, lfVisible = 1, lfAnimated = 2, lfShowTitles = 3, lfNoInterrupt = 4 };
// Indices of its Integer properties (SetIntProperty).
enum TGlobeLayerIntProperty : int { lpZoomMin = 0, lpZoomMax = 1, lpLayerColorAdjustPercent = 2 };

class TGlobeLayer : public TGlobeENVPersistent {
 public:
  // A null globe is a programming error ("TGlobeLayer.Create passed nil Parent"). The layer is
  // not yet in the layer store: TGlobeLayerStore::Add takes it.
  explicit TGlobeLayer(TGlobeHost* globe);
  TGlobeLayer(const TGlobeLayer&) = delete;
  TGlobeLayer& operator=(const TGlobeLayer&) = delete;
  // Reports the end to the view and leaves its object source.
  ~TGlobeLayer() override;

  std::string ClassName() const override { return "TGlobeLayer"; }

  TGlobeHost* Globe() const { return Globe_; }
  // The layer's presenters (never null).
  TGlobePresenterStore* Presenters() { return Presenters_.get(); }
  const TGlobePresenterStore* Presenters() const { return Presenters_.get(); }

  // The source; a plain TGlobeObjectSource is made when none is set.
  TGlobeObjectSource* ObjectSource();
  // The source as it stands (may be null).
  TGlobeObjectSource* ObjectSourceIfAny() const { return Source_; }
  // Leaves the old source (which may then end) and joins the new one; the view redraws.
  void SetObjectSource(TGlobeObjectSource* source);
  // The source is ending: forget it without calling back.
  void ObjectSourceDestroyed(TGlobeObjectSource* source);

  // Copies the settings and presenters of another layer and shares its object source; a layer of
  // another view gets a source of its own made from the same settings.
  void Assign(const TGlobeLayer& source);

  bool Flag(TGlobeLayerFlag index) const { return Flags_[index]; }
  // A change marks the layer modified and redraws the view.
  void SetFlag(TGlobeLayerFlag index, bool value);
  bool Enabled() const { return Flag(lfEnabled); }
  void SetEnabled(bool value) { SetFlag(lfEnabled, value); }
  bool Visible() const { return Flag(lfVisible); }
  void SetVisible(bool value) { SetFlag(lfVisible, value); }
  bool Animated() const { return Flag(lfAnimated); }
  void SetAnimated(bool value) { SetFlag(lfAnimated, value); }
  bool ShowTitles() const { return Flag(lfShowTitles); }
  void SetShowTitles(bool value) { SetFlag(lfShowTitles, value); }
  bool NoInterrupt() const { return Flag(lfNoInterrupt); }
  void SetNoInterrupt(bool value) { SetFlag(lfNoInterrupt, value); }

  int32_t IntProperty(TGlobeLayerIntProperty index) const { return Ints_[index]; }
  // A change marks the layer modified.
  void SetIntProperty(TGlobeLayerIntProperty index, int32_t value);
  int32_t ZoomMin() const { return Ints_[lpZoomMin]; }
  void SetZoomMin(int32_t value) { SetIntProperty(lpZoomMin, value); }
  int32_t ZoomMax() const { return Ints_[lpZoomMax]; }
  void SetZoomMax(int32_t value) { SetIntProperty(lpZoomMax, value); }
  int32_t LayerColorAdjustPercent() const { return Ints_[lpLayerColorAdjustPercent]; }
  void SetLayerColorAdjustPercent(int32_t value) { SetIntProperty(lpLayerColorAdjustPercent, value); }

  TGlobeUnitTypes ZoomUnits() const { return ZoomUnits_; }
  // Converts both zoom limits into the new unit.
  void SetZoomUnits(TGlobeUnitTypes units);
  TColor LayerColorAdjustTarget() const { return LayerColorAdjustTarget_; }
  void SetLayerColorAdjustTarget(TColor color);

  // The own name, else the source's name, else "TGlobeLayer".
  std::string Name() const;
  // Trimmed; a change marks the layer modified.
  void SetName(std::string_view name);

  // Position in the layer store (-1 outside it); setting it moves the layer.
  int32_t Index() const;
  void SetIndex(int32_t index);

  bool Modified() const { return Modified_; }
  void SetModified(bool modified) { Modified_ = modified; }

  // Defaults, source detached, presenters cleared, redraw. NoInterrupt is kept.
  void Reset();

  TGeoRect Bounds();
  int64_t MemorySize() const;

  // What the object source reports (see TSourceNotifyKind).
  void SourceNotify(TSourceNotifyKind kind, TGlobeObject* object);

  // The topmost object hit at a point (GlobeUnit) within the tolerance; hidden objects and
  // objects drawn by a hidden presenter are never hit.
  TGlobeObject* ObjectAtPoint(const TGeoPoint& point, int32_t tolerance);
  // The first object with that ID / title, or null.
  TGlobeObject* ObjectByID(int32_t id);
  TGlobeObject* ObjectByTitle(std::string_view title);

  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

 private:
  TGlobeHost* Globe_;
  std::unique_ptr<TGlobePresenterStore> Presenters_;
  TGlobeObjectSource* Source_ = nullptr;  // not owned: the view owns sources
  bool Flags_[5] = {true, true, false, true, false};
  int32_t Ints_[3] = {0, 0, 0};
  TGlobeUnitTypes ZoomUnits_ = TGlobeUnitTypes::NauticalMile;
  TColor LayerColorAdjustTarget_ = 0x808080;
  std::string Name_;
  bool Modified_ = false;
};

}  // namespace globe
