#include "globe/data/GeoDataObject.h"

#include "globe/data/GeoMath.h"

namespace globe {

TGeoDataObject::TGeoDataObject(TGlobeObjectSource* source) : TGlobeObject(source) {}

std::unique_ptr<TGlobeObject> TGeoDataObject::NewInstance(TGlobeObjectSource* source) const {
  return std::make_unique<TGeoDataObject>(source);
}

void TGeoDataObject::Assign(const TGlobeObjectData& source) {
  TGlobeObject::Assign(source);
  if (const auto* other = dynamic_cast<const TGeoDataObject*>(&source)) Chains_ = other->Chains_;
}

TGeoRect TGeoDataObject::GetBounds() {
  if (HasState(osBoundsValid)) return Bounds_;
  if (Chains_.Count() == 0) {
    const TGeoPoint centre = GetCentroid();
    Bounds_ = TGeoRect(centre.LongX, centre.LatY, 0, 0);
  } else {
    Bounds_ = Chains_.Bounds();
  }
  IncludeState(osBoundsValid);
  return Bounds_;
}

int64_t TGeoDataObject::InstanceMemory() const {
  int64_t total = sizeof(TGeoDataObject) + TitleMemory();
  for (int32_t i = 0; i < Chains_.Count(); ++i)
    if (const TPointStore* chain = Chains_.ChainIfPresent(i)) total += chain->InstanceMemory();
  return total;
}

TGeoPoint TGeoDataObject::GetCentroid() {
  if (!CentroidComputed()) Centroid_ = Chains_.Centroid();
  return Centroid_;
}

void TGeoDataObject::SetCentroid(const TGeoPoint& point) {
  const TGeoPoint centre = GetCentroid();
  Chains_.Translate(Wrap32(int64_t{point.LongX} - centre.LongX), Wrap32(int64_t{point.LatY} - centre.LatY),
                    Wrap32(int64_t{point.Height} - centre.Height));
  TGlobeObject::SetCentroid(point);
}

void TGeoDataObject::Changed() {
  ExcludeState(osBoundsValid);
  for (int32_t i = 0; i < Chains_.Count(); ++i) {
    TPointStore* chain = Chains_.ChainIfPresent(i);
    if (chain != nullptr && chain->Has3DCache()) chain->Get3DPoints(false);  // drops the cache
  }
  if (Chains_.Count() > 0) MarkCentroidNotComputed();
  TGlobeObject::Changed();
}

bool TGeoDataObject::PointOnObject(const TGeoPoint& point, int32_t tolerance) {
  if (HitTest(point, tolerance) == 0) return false;
  if (Chains_.Count() == 0) return true;
  for (int32_t i = 0; i < Chains_.Count(); ++i) {
    const TPointStore* chain = Chains_.ChainIfPresent(i);
    if (chain == nullptr) continue;
    if (Closed() ? chain->PointInPolygon(point.LongX, point.LatY)
                 : chain->PointOnPolyline(point.LongX, point.LatY, tolerance))
      return true;
  }
  return false;
}

}  // namespace globe
