#pragma once
// A full map object: a light record plus identity, title, zoom range, centre and the link to the
// object source that holds it.

#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeObjectData.h"

namespace globe {

class TGlobeHost;
class TGlobeCanvas;
class TGlobeObjectSource;
class TGlobeStreamReader;
class TGlobeStreamWriter;

// The centre's Height while the centre has not been computed.
inline constexpr int32_t CentroidNotComputed = -2'147'483'647;

// Hit test of a point against bounds grown by the tolerance (latitude from the grown south edge
// inclusive to the grown north edge exclusive). 0 = miss; 3 = hit; for bounds that run past the
// 180-degree meridian 2 = hit west of it, 1 = hit on the part beyond it.
int GrownBoundsHit(const TGeoRect& bounds, const TGeoPoint& point, int32_t tolerance);

class TGlobeObject : public TGlobeObjectData {
 public:
  // The object is linked to `source` (may be null) but not yet in it: the source's Add takes it.
  explicit TGlobeObject(TGlobeObjectSource* source);
  // A selected object is deselected first; the view hears of the object's end.
  ~TGlobeObject() override;

  std::string ClassName() const override { return "TGlobeObject"; }
  TGlobeObject* AsObject() override { return this; }
  const TGlobeObject* AsObject() const override { return this; }

  // Copies the record fields, ID, Title, the zoom range and the centre.
  void Assign(const TGlobeObjectData& source) override;

  // A new object of the same class for the same source, assigned from this one; it is in no
  // source yet (Index -1).
  std::unique_ptr<TGlobeObject> Clone() const;

  TGlobeObjectSource* ObjectSource() const { return Source_; }
  // The view of the source (null without a source).
  TGlobeHost* Globe() const;

  bool Closed() const { return HasState(osClosed); }
  void SetClosed(bool closed);
  bool Hidden() const { return HasState(osHidden); }
  void SetHidden(bool hidden);
  bool Selected() const { return HasState(osSelected); }
  void SetSelected(bool selected);

  int32_t ID() const { return ID_; }
  void SetID(int32_t id) { ID_ = id; }
  const std::string& Title() const { return Title_; }
  void SetTitle(std::string title) { Title_ = std::move(title); }
  // Equal values mean no zoom range.
  int32_t ZoomMin() const { return ZoomMin_; }
  void SetZoomMin(int32_t value) { ZoomMin_ = value; }
  int32_t ZoomMax() const { return ZoomMax_; }
  void SetZoomMax(int32_t value) { ZoomMax_ = value; }

  // Stamp of the last build, addition or use, from the view's counter; orders cache releases.
  uint64_t LastUsed() const { return LastUsed_; }
  void Touch();

  // A changed presenter also updates the source's record and marks the object changed.
  void SetPresenterID(int32_t id) override;
  // A zero-size rectangle at the centre; marks the bounds valid.
  TGeoRect GetBounds() override;
  int64_t InstanceMemory() const override;

  virtual TGeoPoint GetCentroid();
  // Moves the object; when the centre lands on another device pixel the object is changed.
  virtual void SetCentroid(const TGeoPoint& point);

  // The layer-file form: flag word, title, ID, zoom range and presenter (derived classes add
  // their geometry). Writing recomputes ObjectFlags.
  virtual void WriteToStream(TGlobeStreamWriter& writer);
  virtual void ReadFromStream(TGlobeStreamReader& reader);

  // Marks the object modified and tells the source.
  virtual void Changed();
  // Draws the object without a presenter; nothing here.
  virtual void Render(TGlobeCanvas& canvas, uint16_t state);
  // Copies the selected bit into the source's record and tells the source.
  virtual void SelectionChanged();
  // Called once the object has been built or added to its source.
  virtual void Loaded() {}
  // Whether the point (GlobeUnit) lies on the object within the tolerance.
  virtual bool PointOnObject(const TGeoPoint& point, int32_t tolerance);
  // GrownBoundsHit of the object's bounds; 0 for a hidden object.
  virtual int HitTest(const TGeoPoint& point, int32_t tolerance);

 protected:
  // A new, empty object of this class for the source (the virtual constructor).
  virtual std::unique_ptr<TGlobeObject> NewInstance(TGlobeObjectSource* source) const;
  int64_t TitleMemory() const { return static_cast<int64_t>(Title_.size()); }
  bool CentroidComputed() const { return Centroid_.Height != CentroidNotComputed; }
  void MarkCentroidNotComputed() { Centroid_ = TGeoPoint(0, 0, CentroidNotComputed); }

  TGeoPoint Centroid_;

 private:
  friend class TGlobeObjectSource;
  void MirrorStateToSource(uint16_t bits);

  TGlobeObjectSource* Source_ = nullptr;  // not owned; the source owns the object
  uint64_t LastUsed_ = 0;
  int32_t ID_ = 0;
  std::string Title_;
  int32_t ZoomMin_ = 0;
  int32_t ZoomMax_ = 0;
};

}  // namespace globe
