#include "globe/data/BitmapObject.h"

#include <filesystem>

#include "globe/data/GlobeHost.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/ObjectRenderers.h"

namespace globe {

TBitmapObject::TBitmapObject(TGlobeObjectSource* source) : TGlobeObject(source) {}

std::unique_ptr<TGlobeObject> TBitmapObject::NewInstance(TGlobeObjectSource* source) const {
  return std::make_unique<TBitmapObject>(source);
}

void TBitmapObject::Assign(const TGlobeObjectData& source) {
  TGlobeObject::Assign(source);
  if (const auto* other = dynamic_cast<const TBitmapObject*>(&source)) {
    GlobeUnitsPerXPixel_ = other->GlobeUnitsPerXPixel_;
    GlobeUnitsPerYPixel_ = other->GlobeUnitsPerYPixel_;
    TransparentIndex_ = other->TransparentIndex_;
    SetBMPFilename(other->BMPFilename_);
  }
}

void TBitmapObject::SetBMPFilename(const std::string& name) {
  TGlobeHost* globe = Globe();
  std::string resolved;
  if (globe != nullptr) {
    resolved = globe->ResolveFileName(name);
  } else if (!name.empty() && std::filesystem::is_regular_file(name)) {
    resolved = name;
  }
  BMPFilename_ = resolved;
  if (resolved.empty()) return;
  Texture_.LoadFromFile(resolved);
  Texture_.ColourIndex = TransparentIndex_;
  if (Title().empty()) SetTitle(name);
  ExcludeState(osBoundsValid);  // the extent follows the new bitmap
  Changed();
}

void TBitmapObject::WriteToStream(TGlobeStreamWriter& writer) {
  SetObjectFlags(0);  // a bitmap has no geometry bits
  TGlobeObject::WriteToStream(writer);
  const TGeoPoint centre = GetCentroid();
  writer.WriteInteger(centre.LongX);
  writer.WriteInteger(centre.LatY);
  writer.WriteInteger(GlobeUnitsPerXPixel_);
  writer.WriteInteger(GlobeUnitsPerYPixel_);
  writer.WriteInteger(TransparentIndex_);
  writer.WriteShortString(BMPFilename_);
}

void TBitmapObject::ReadFromStream(TGlobeStreamReader& reader) {
  TGlobeObject::ReadFromStream(reader);
  const int32_t longX = reader.ReadInteger();
  const int32_t latY = reader.ReadInteger();
  Centroid_ = TGeoPoint(longX, latY);
  GlobeUnitsPerXPixel_ = reader.ReadInteger();
  GlobeUnitsPerYPixel_ = reader.ReadInteger();
  SetTransparentIndex(reader.ReadInteger());
  ExcludeState(osBoundsValid);
  SetBMPFilename(reader.ReadShortString());
}

void TBitmapObject::SetGlobeUnitsPerPixel(int index, int32_t value) {
  int32_t x = GlobeUnitsPerXPixel_;
  int32_t y = GlobeUnitsPerYPixel_;
  if (index == 0 || index == 1) x = value;
  if (index == 0 || index == 2) y = value;
  if (x == GlobeUnitsPerXPixel_ && y == GlobeUnitsPerYPixel_) return;
  GlobeUnitsPerXPixel_ = x;
  GlobeUnitsPerYPixel_ = y;
  ExcludeState(osBoundsValid);  // the extent follows the pixel size
  Changed();
}

void TBitmapObject::SetTransparentIndex(int32_t index) {
  TransparentIndex_ = (index >= 0 && index <= 255) ? index : -1;
  Texture_.ColourIndex = TransparentIndex_;
}

int64_t TBitmapObject::TransparentColor() const {
  return TransparentIndex_ < 0 ? -1 : int64_t{Texture_.PaletteColour(TransparentIndex_)};
}

void TBitmapObject::SetTransparentColor(uint32_t colour) { SetTransparentIndex(Texture_.PaletteIndexOf(colour)); }

TGeoRect TBitmapObject::GetBounds() {
  if (HasState(osBoundsValid)) return Bounds_;
  if (!Texture_.HasTexture()) return TGlobeObject::GetBounds();
  const TGeoPoint centre = GetCentroid();
  const int32_t width = Wrap32(int64_t{Texture_.RowStride()} * GlobeUnitsPerXPixel_);
  const int32_t height = Wrap32(int64_t{Texture_.Rows()} * GlobeUnitsPerYPixel_);
  Bounds_ = TGeoRect(centre.LongX, Wrap32(int64_t{centre.LatY} - height), width, height);
  Texture_.SetCorner(0, centre);
  Texture_.SetCorner(1, TGeoPoint(Wrap32(int64_t{centre.LongX} + width), Wrap32(int64_t{centre.LatY} - height)));
  IncludeState(osBoundsValid);
  return Bounds_;
}

int64_t TBitmapObject::InstanceMemory() const {
  return sizeof(TBitmapObject) + TitleMemory() + static_cast<int64_t>(Texture_.Bytes().size());
}

void TBitmapObject::Render(TGlobeCanvas& canvas, uint16_t state) {
  if (TObjectRenderer renderer = BitmapObjectRenderer()) renderer(*this, canvas, state);
}

bool TBitmapObject::PointOnObject(const TGeoPoint& point, int32_t tolerance) {
  return HitTest(point, tolerance) != 0;
}

}  // namespace globe
