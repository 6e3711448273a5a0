#pragma once
// TGlobeBrush: fill colour, background colour and fill style. The hatched styles draw lines in
// the colour; the pattern styles draw an 8 x 8 bitmap whose 0 bits take the colour and whose 1
// bits take the background colour (or stay transparent when both colours are equal).
//
// Environment attributes: "Color", "BkColor" (colour text), "Style" (Integer).
// Stream form: colour (4 bytes), background colour (4), style (1). Streams of version below 0x405
// have no background colour; it is then set equal to the colour.

#include <cstdint>

#include "globe/data/GlobeColor.h"
#include "globe/view/GlobeAttribute.h"

namespace globe {

enum TGlobeBrushStyle : uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross,
  bsPattern1, bsPattern2, bsPattern3, bsPattern4, bsPattern5, bsPattern6, bsPattern7,
  bsPattern8, bsPattern9, bsPattern10, bsPattern11, bsPattern12, bsPattern13, bsPattern14,
  bsPattern15, bsPattern16, bsPattern17, bsPattern18, bsPattern19, bsPattern20, bsPattern21,
  bsPattern22, bsPattern23, bsPattern24, bsPattern25, bsPattern26, bsPattern27, bsPattern28,
  bsPattern29, bsPattern30, bsPattern31, bsPattern32, bsPattern33, bsPattern34, bsPattern35,
  bsPattern36, bsPattern37, bsPattern38, bsPattern39, bsPattern40, bsPattern41, bsPattern42,
  bsPattern43, bsPattern44, bsPattern45, bsPattern46, bsPattern47, bsPattern48, bsPattern49,
  bsPattern50,
};

// First stream version whose brushes hold a background colour.
inline constexpr int32_t BrushBkColorStreamVersion = 0x0405;

class TGlobeBrush : public TGlobeAttribute {
 public:
  TGlobeBrush() = default;
  // Both colours set to `color`.
  explicit TGlobeBrush(TColor color, TGlobeBrushStyle style = bsSolid);
  TGlobeBrush(TColor color, TColor bkColor, TGlobeBrushStyle style);
  std::string ClassName() const override { return "TGlobeBrush"; }

  TColor BrushColor() const { return Color_; }
  TColor BrushBkColor() const { return BkColor_; }
  TGlobeBrushStyle BrushStyle() const { return Style_; }
  void SetBrushColor(TColor color) { Update(Color_, color); }
  void SetBrushBkColor(TColor color) { Update(BkColor_, color); }
  // A style outside bsSolid..bsPattern50 is ignored.
  void SetBrushStyle(TGlobeBrushStyle style);
  void SetBrush(TColor color, TColor bkColor, TGlobeBrushStyle style);

  void Assign(const TGlobeBrush& source);
  std::unique_ptr<TGlobeBrush> Clone() const { return std::unique_ptr<TGlobeBrush>(NewCopy()); }

  bool Equals(const TGlobeAttribute& other) const override;
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;
  void WriteToStream(TGlobeStreamWriter& writer) const override;
  void ReadFromStream(TGlobeStreamReader& reader) override;

 protected:
  TGlobeBrush* NewCopy() const override;
  // Drawing half (GlobeAttributeDrawing.cpp).
  THandle CreateHandle(TGlobeCanvas& canvas) override;
  void Select(TGlobeCanvas& canvas, bool selected) override;

 private:
  TColor Color_ = clWhite;
  TColor BkColor_ = clWhite;
  TGlobeBrushStyle Style_ = bsSolid;
};

}  // namespace globe
