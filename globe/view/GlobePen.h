#pragma once
// TGlobePen: colour, style, width and the unit of the width. A width in Pixel is drawn as is; a
// width in a geographic unit scales with the zoom.
//
// Environment attributes: "Color" (colour text), "Style" (Integer), "Width" (Integer),
// "Unit" (unit code).
// Stream form: colour (4 bytes), style (1), width (4), unit (1). Streams of version below 0x400
// hold the width in 1 byte and no unit (the unit is then Pixel).

#include <cstdint>

#include "globe/data/GlobeColor.h"
#include "globe/view/GlobeAttribute.h"
#include "platform/DrawingSurface.h"

namespace globe {

using platform::TPenStyle;
using platform::psSolid;
using platform::psDash;
using platform::psDot;
using platform::psDashDot;
using platform::psDashDotDot;
using platform::psClear;
using platform::psInsideFrame;

// First stream version whose pens hold a 4-byte width and a unit.
inline constexpr int32_t PenUnitStreamVersion = 0x0400;

class TGlobePen : public TGlobeAttribute {
 public:
  TGlobePen() = default;
  TGlobePen(TColor color, TPenStyle style, int32_t width,
            TGlobeUnitTypes unit = TGlobeUnitTypes::Pixel);
  std::string ClassName() const override { return "TGlobePen"; }

  TColor PenColor() const { return Color_; }
  TPenStyle PenStyle() const { return Style_; }
  int32_t PenWidth() const { return Width_; }
  TGlobeUnitTypes PenUnit() const { return Unit_; }
  void SetPenColor(TColor color) { Update(Color_, color); }
  // A style outside psSolid..psInsideFrame is ignored.
  void SetPenStyle(TPenStyle style);
  void SetPenWidth(int32_t width) { Update(Width_, width); }
  // A unit outside the unit table is ignored.
  void SetPenUnit(TGlobeUnitTypes unit);
  // All four at once.
  void SetPen(TColor color, TPenStyle style, int32_t width, TGlobeUnitTypes unit);

  void Assign(const TGlobePen& source);
  std::unique_ptr<TGlobePen> Clone() const { return std::unique_ptr<TGlobePen>(NewCopy()); }

  bool Equals(const TGlobeAttribute& other) const override;
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;
  void WriteToStream(TGlobeStreamWriter& writer) const override;
  void ReadFromStream(TGlobeStreamReader& reader) override;

 protected:
  TGlobePen* NewCopy() const override;
  // Drawing half (GlobeAttributeDrawing.cpp).
  THandle CreateHandle(TGlobeCanvas& canvas) override;
  void Select(TGlobeCanvas& canvas, bool selected) override;
  bool ZoomDependent() const override { return Unit_ != TGlobeUnitTypes::Pixel; }

 private:
  TColor Color_ = clBlack;
  TPenStyle Style_ = psSolid;
  int32_t Width_ = 1;
  TGlobeUnitTypes Unit_ = TGlobeUnitTypes::Pixel;
};

}  // namespace globe
