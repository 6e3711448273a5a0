#pragma once
// TGlobeFont: face name, size with its unit, colour, angle (tenths of a degree, counter-
// clockwise) and style (bold, italic, underline, strike-out).
//
// Environment attributes: "Name", "Color" (colour text), "Style" (Integer: bits 1 bold, 2 italic,
// 4 underline, 8 strike-out), "Size", "Angle" (Integers), "Unit" (unit code).
// Stream form: colour (4 bytes), unit (1), size (SmallInt), angle (SmallInt), style (1),
// name (ShortString, at most 255 characters).

#include <cstdint>
#include <string>

#include "globe/data/GlobeColor.h"
#include "globe/view/GlobeAttribute.h"

namespace globe {

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of TFontStyle, held as the bits 1 << style (the saved Integer form).
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) Bits_ |= Bit(s);
  }
  // From saved bits; bits beyond strike-out are dropped.
  static constexpr TFontStyles FromBits(uint32_t bits) {
    TFontStyles s;
    s.Bits_ = static_cast<uint8_t>(bits & 0x0F);
    return s;
  }
  constexpr uint8_t Bits() const { return Bits_; }
  constexpr bool Contains(TFontStyle s) const { return (Bits_ & Bit(s)) != 0; }
  constexpr void Include(TFontStyle s) { Bits_ |= Bit(s); }
  constexpr void Exclude(TFontStyle s) { Bits_ &= static_cast<uint8_t>(~Bit(s)); }
  friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

 private:
  static constexpr uint8_t Bit(TFontStyle s) { return static_cast<uint8_t>(1u << (s & 7)); }
  uint8_t Bits_ = 0;
};

class TGlobeFont : public TGlobeAttribute {
 public:
  TGlobeFont() = default;
  TGlobeFont(std::string name, int32_t size, TGlobeUnitTypes unit, TColor color);
  std::string ClassName() const override { return "TGlobeFont"; }

  int32_t FontAngle() const { return Angle_; }
  TColor FontColor() const { return Color_; }
  const std::string& FontName() const { return Name_; }
  int32_t FontSize() const { return Size_; }
  TFontStyles FontStyle() const { return Style_; }
  TGlobeUnitTypes FontUnit() const { return Unit_; }
  void SetFontAngle(int32_t angle) { Update(Angle_, angle); }
  void SetFontColor(TColor color) { Update(Color_, color); }
  void SetFontName(const std::string& name) { Update(Name_, name); }
  void SetFontSize(int32_t size) { Update(Size_, size); }
  void SetFontStyle(TFontStyles style) { Update(Style_, style); }
  // A unit outside the unit table is ignored.
  void SetFontUnit(TGlobeUnitTypes unit);

  void Assign(const TGlobeFont& source);
  std::unique_ptr<TGlobeFont> Clone() const { return std::unique_ptr<TGlobeFont>(NewCopy()); }

  bool Equals(const TGlobeAttribute& other) const override;
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;
  void WriteToStream(TGlobeStreamWriter& writer) const override;
  void ReadFromStream(TGlobeStreamReader& reader) override;

  // The font's height in pixels at the canvas's zoom and resolution (before any cap).
  int32_t PixelHeight(const TGlobeCanvas& canvas) const;

 protected:
  TGlobeFont* NewCopy() const override;
  // Drawing half (GlobeAttributeDrawing.cpp).
  THandle CreateHandle(TGlobeCanvas& canvas) override;
  void Select(TGlobeCanvas& canvas, bool selected) override;
  bool ZoomDependent() const override { return Unit_ != TGlobeUnitTypes::Pixel; }

 private:
  int32_t Angle_ = 0;
  TColor Color_ = clBlack;
  std::string Name_ = "Arial";
  int32_t Size_ = 9;
  TFontStyles Style_;
  TGlobeUnitTypes Unit_ = TGlobeUnitTypes::Pixel;
};

}  // namespace globe
