#pragma once
// An 8-bit bitmap laid on the globe with its north-west corner at the object's centre point.

#include <memory>
#include <string>

#include "globe/data/GlobeObject.h"
#include "globe/data/TextureData.h"

namespace globe {

class TBitmapObject : public TGlobeObject {
 public:
  explicit TBitmapObject(TGlobeObjectSource* source);

  std::string ClassName() const override { return "TBitmapObject"; }

  // Also copies the pixel sizes, the transparent index and the file name (reloading it).
  void Assign(const TGlobeObjectData& source) override;

  const TTextureData& TextureData() const { return Texture_; }

  const std::string& BMPFilename() const { return BMPFilename_; }
  // Resolves the name through the view, loads the bitmap when found (the Title becomes the
  // given name when it was empty) and marks the object changed. Unresolved names store "".
  void SetBMPFilename(const std::string& name);

  // Index 0 sets both, 1 the X size, 2 the Y size; a change marks the object changed.
  void SetGlobeUnitsPerPixel(int index, int32_t value);
  int32_t GlobeUnitsPerPixel() const { return GlobeUnitsPerXPixel_; }
  int32_t GlobeUnitsPerXPixel() const { return GlobeUnitsPerXPixel_; }
  int32_t GlobeUnitsPerYPixel() const { return GlobeUnitsPerYPixel_; }

  // The transparent colour is held as the palette index of that colour (-1: none).
  int32_t TransparentIndex() const { return TransparentIndex_; }
  void SetTransparentIndex(int32_t index);
  // 0x00BBGGRR of the transparent palette entry; -1 when there is none.
  int64_t TransparentColor() const;
  void SetTransparentColor(uint32_t colour);

  // After the header: centre, pixel sizes, transparent index and file name (which loads).
  void WriteToStream(TGlobeStreamWriter& writer) override;
  void ReadFromStream(TGlobeStreamReader& reader) override;

  // With a bitmap: its rows and row stride times the pixel sizes, south-east of the centre.
  TGeoRect GetBounds() override;
  int64_t InstanceMemory() const override;
  // The hit test of the bounds alone.
  bool PointOnObject(const TGeoPoint& point, int32_t tolerance) override;
  // Through the renderer the view installed (ObjectRenderers.h).
  void Render(TGlobeCanvas& canvas, uint16_t state) override;

 protected:
  std::unique_ptr<TGlobeObject> NewInstance(TGlobeObjectSource* source) const override;

 private:
  TTextureData Texture_;
  std::string BMPFilename_;
  int32_t GlobeUnitsPerXPixel_ = GlobeUnitsPerMinute;
  int32_t GlobeUnitsPerYPixel_ = GlobeUnitsPerMinute;
  int32_t TransparentIndex_ = -1;
};

}  // namespace globe
