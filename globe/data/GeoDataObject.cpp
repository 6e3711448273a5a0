#include "globe/data/GeoDataObject.h"

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRChainStream.h"
#include "globe/data/ObjectRenderers.h"

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

void TGeoDataObject::WriteToStream(TGlobeStreamWriter& writer) {
  uint16_t geometry = 0;
  uint16_t firstChainFlags = 0;
  const TGeoPoint centre = GetCentroid();
  if (Chains_.Count() == 0) {
    // A lone point carries no chain flags: its centre is two Integers, whatever its values.
    geometry = ofNoChains;
  } else {
    firstChainFlags = ChooseChainFlags(Chains_.Chain(0));
    geometry = firstChainFlags;
    if (Chains_.Count() > 1) geometry |= ofMultipleChains;
  }
  SetObjectFlags(static_cast<uint16_t>((ObjectFlags() & (ofHasTitle | ofHasID | ofHasZoomRange | ofClosed)) | geometry));
  TGlobeObject::WriteToStream(writer);
  if (geometry & ofNoChains) {
    writer.WritePoint(TGeoPoint(centre.LongX, centre.LatY, 0), false, false);
    return;
  }
  if (geometry & ofMultipleChains) writer.WriteWord(static_cast<uint16_t>(Chains_.Count()));
  for (int32_t i = 0; i < Chains_.Count(); ++i) {
    TPointStore& chain = Chains_.Chain(i);
    uint16_t chainFlags = firstChainFlags;
    if (i > 0) {
      chainFlags = ChooseChainFlags(chain);
      writer.WriteWord(chainFlags);
    }
    WritePointList(writer, chain, chainFlags);
  }
}

void TGeoDataObject::ReadFromStream(TGlobeStreamReader& reader) {
  TGlobeObject::ReadFromStream(reader);
  const uint16_t flags = ObjectFlags();
  Chains_.SetCount(0);
  ExcludeState(osBoundsValid);
  if (flags & ofNoChains) {
    // Files written with minute precision or a height for a lone point are read in that form too.
    Centroid_ = reader.ReadPoint((flags & ofHeights) != 0, (flags & ofMinutes) != 0);
    return;
  }
  const int32_t count = (flags & ofMultipleChains) ? reader.ReadWord() : 1;
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t chainFlags = static_cast<uint16_t>((i == 0 ? flags : reader.ReadWord()) & ChainFlagMask);
    TPointStore& chain = Chains_.Chain(i);
    chain.SetStoreHeight((chainFlags & ofHeights) != 0);
    ReadPointList(reader, chain, chainFlags);
  }
  MarkCentroidNotComputed();
}

void TGeoDataObject::Render(TGlobeCanvas& canvas, uint16_t state) {
  if (TObjectRenderer renderer = GeoDataObjectRenderer()) renderer(*this, canvas, state);
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
