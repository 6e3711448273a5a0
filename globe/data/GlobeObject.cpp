#include "globe/data/GlobeObject.h"

#include "globe/data/GlobeChangeListener.h"
#include "globe/data/GlobeHost.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRChainStream.h"

namespace globe {

TGlobeObject::TGlobeObject(TGlobeObjectSource* source) : Source_(source) {
  MarkCentroidNotComputed();
}

TGlobeObject::~TGlobeObject() {
  if (Source_ == nullptr) return;
  if (Selected()) {
    ExcludeState(osSelected);
    TGlobeObject::SelectionChanged();
  }
  if (TGlobeHost* globe = Globe()) globe->Changes().ObjectFreed(*this);
}

TGlobeHost* TGlobeObject::Globe() const { return Source_ ? Source_->Globe() : nullptr; }

void TGlobeObject::Assign(const TGlobeObjectData& source) {
  TGlobeObjectData::Assign(source);
  if (const auto* object = dynamic_cast<const TGlobeObject*>(&source)) {
    ID_ = object->ID_;
    Title_ = object->Title_;
    ZoomMin_ = object->ZoomMin_;
    ZoomMax_ = object->ZoomMax_;
    Centroid_ = object->Centroid_;
  }
}

std::unique_ptr<TGlobeObject> TGlobeObject::NewInstance(TGlobeObjectSource* source) const {
  return std::make_unique<TGlobeObject>(source);
}

std::unique_ptr<TGlobeObject> TGlobeObject::Clone() const {
  std::unique_ptr<TGlobeObject> copy = NewInstance(Source_);
  copy->Assign(*this);
  copy->SetIndex(-1);
  copy->ExcludeState(osFullObject | osSelected | osRemoved);
  return copy;
}

void TGlobeObject::Touch() {
  if (TGlobeHost* globe = Globe()) LastUsed_ = globe->NextUseStamp();
}

// Keeps the source's record in step when the record is not this object itself.
void TGlobeObject::MirrorStateToSource(uint16_t bits) {
  if (Source_ == nullptr) return;
  TGlobeObjectData* entry = Source_->PeekEntry(Index());
  if (entry == nullptr || entry == this) return;
  entry->SetState(static_cast<uint16_t>((entry->State() & ~bits) | (State() & bits)));
}

void TGlobeObject::SetClosed(bool closed) {
  if (closed == Closed()) return;
  closed ? IncludeState(osClosed) : ExcludeState(osClosed);
  MirrorStateToSource(osClosed);
  Changed();
}

void TGlobeObject::SetHidden(bool hidden) {
  if (hidden == Hidden()) return;
  hidden ? IncludeState(osHidden) : ExcludeState(osHidden);
  Changed();
}

void TGlobeObject::SetSelected(bool selected) {
  if (selected == Selected()) return;
  selected ? IncludeState(osSelected) : ExcludeState(osSelected);
  SelectionChanged();
}

void TGlobeObject::SelectionChanged() {
  MirrorStateToSource(osSelected);
  if (Source_) Source_->ObjectNotify(snSelectionChanged, this);
}

void TGlobeObject::SetPresenterID(int32_t id) {
  if (id == PresenterID()) return;
  TGlobeObjectData::SetPresenterID(id);
  if (Source_) {
    TGlobeObjectData* entry = Source_->PeekEntry(Index());
    if (entry != nullptr && entry != this) entry->SetPresenterID(id);
  }
  Changed();
}

TGeoRect TGlobeObject::GetBounds() {
  const TGeoPoint centre = GetCentroid();
  Bounds_ = TGeoRect(centre.LongX, centre.LatY, 0, 0);
  IncludeState(osBoundsValid);
  return Bounds_;
}

int64_t TGlobeObject::InstanceMemory() const { return sizeof(TGlobeObject) + TitleMemory(); }

TGeoPoint TGlobeObject::GetCentroid() { return Centroid_; }

void TGlobeObject::SetCentroid(const TGeoPoint& point) {
  const TGeoPoint old = Centroid_;
  Centroid_ = point;
  bool samePixel = false;
  if (old.Height != CentroidNotComputed) {
    const TGlobeHost* globe = Globe();
    samePixel = globe ? globe->SamePixel(old, point) : (old.LongX == point.LongX && old.LatY == point.LatY);
  }
  if (!samePixel) {
    ExcludeState(osBoundsValid);
    Changed();
  }
}

void TGlobeObject::WriteToStream(TGlobeStreamWriter& writer) {
  // The geometry bits were set by the derived class; the header bits follow the object.
  uint16_t flags = static_cast<uint16_t>(ObjectFlags() & ~(ofHasTitle | ofHasID | ofHasZoomRange | ofClosed));
  if (!Title_.empty()) flags |= ofHasTitle;
  if (ID_ != 0) flags |= ofHasID;
  if (ZoomMin_ != ZoomMax_) flags |= ofHasZoomRange;
  if (Closed()) flags |= ofClosed;
  SetObjectFlags(flags);
  writer.WriteWord(flags);
  if (flags & ofHasTitle) writer.WriteShortString(Title_);
  if (flags & ofHasID) writer.WriteInteger(ID_);
  if (flags & ofHasZoomRange) {
    writer.WriteInteger(ZoomMin_);
    writer.WriteInteger(ZoomMax_);
  }
  writer.WriteWord(static_cast<uint16_t>(PresenterID()));
}

void TGlobeObject::ReadFromStream(TGlobeStreamReader& reader) {
  const uint16_t flags = reader.ReadWord();
  SetObjectFlags(flags);
  if (flags & ofHasTitle) Title_ = reader.ReadShortString();
  if (flags & ofHasID) ID_ = reader.ReadInteger();
  if (flags & ofHasZoomRange) {
    ZoomMin_ = reader.ReadInteger();
    ZoomMax_ = reader.ReadInteger();
  }
  PresenterID_ = static_cast<int16_t>(reader.ReadWord());
  (flags & ofClosed) ? IncludeState(osClosed) : ExcludeState(osClosed);
}

void TGlobeObject::Changed() {
  IncludeState(osModified);
  if (Source_) Source_->ObjectNotify(snChanged, this);
}

void TGlobeObject::Render(TGlobeCanvas&, uint16_t) {}

bool TGlobeObject::PointOnObject(const TGeoPoint&, int32_t) { return false; }

int GrownBoundsHit(const TGeoRect& bounds, const TGeoPoint& point, int32_t tolerance) {
  const int64_t tol = tolerance;
  const int64_t south = int64_t{bounds.LatY} - tol;
  const int64_t north = int64_t{bounds.LatY} + bounds.Height + tol;
  if (point.LatY < south || point.LatY >= north) return 0;
  const int64_t west = int64_t{bounds.LongX} - tol;
  const int64_t east = int64_t{bounds.LongX} + bounds.Width + tol;
  const int64_t longX = point.LongX;
  if (east > GU_180_DEGREES) {
    if (longX >= west && longX <= GU_180_DEGREES) return 2;
    if (longX >= -GU_180_DEGREES && longX <= east - GU_360_DEGREES) return 1;
    return 0;
  }
  if (longX >= west && longX <= east) return 3;
  // Grown past the meridian on the west side: the far end of the map is the same place.
  if (west < -GU_180_DEGREES && longX >= west + GU_360_DEGREES) return 3;
  return 0;
}

int TGlobeObject::HitTest(const TGeoPoint& point, int32_t tolerance) {
  if (Hidden()) return 0;
  return GrownBoundsHit(GetBounds(), point, tolerance);
}

}  // namespace globe
