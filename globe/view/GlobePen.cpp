#include "globe/view/GlobePen.h"

#include <algorithm>
#include <typeinfo>

namespace globe {

namespace {

bool IsValidPenStyle(int ordinal) { return ordinal >= psSolid && ordinal <= psInsideFrame; }

}  // namespace

TGlobePen::TGlobePen(TColor color, TPenStyle style, int32_t width, TGlobeUnitTypes unit) {
  SetPen(color, style, width, unit);
}

void TGlobePen::SetPenStyle(TPenStyle style) {
  if (IsValidPenStyle(style)) Update(Style_, style);
}

void TGlobePen::SetPenUnit(TGlobeUnitTypes unit) {
  if (IsValidUnit(static_cast<int>(unit))) Update(Unit_, unit);
}

void TGlobePen::SetPen(TColor color, TPenStyle style, int32_t width, TGlobeUnitTypes unit) {
  SetPenColor(color);
  SetPenStyle(style);
  SetPenWidth(width);
  SetPenUnit(unit);
}

void TGlobePen::Assign(const TGlobePen& source) {
  SetPen(source.Color_, source.Style_, source.Width_, source.Unit_);
}

TGlobePen* TGlobePen::NewCopy() const {
  auto* copy = new TGlobePen();
  copy->Assign(*this);
  return copy;
}

bool TGlobePen::Equals(const TGlobeAttribute& other) const {
  if (typeid(other) != typeid(*this)) return false;
  const auto& o = static_cast<const TGlobePen&>(other);
  return Color_ == o.Color_ && Style_ == o.Style_ && Width_ == o.Width_ && Unit_ == o.Unit_;
}

void TGlobePen::LoadEnvironment(const TGXML_Element* element) {
  if (!element) return;
  SetPenColor(ColorAttribute(*element, "Color", Color_));
  const int32_t style = element->Attribute("Style", int32_t{Style_});
  if (IsValidPenStyle(style)) SetPenStyle(static_cast<TPenStyle>(style));
  SetPenWidth(element->Attribute("Width", Width_));
  SetPenUnit(UnitAttribute(*element, "Unit", Unit_));
}

std::unique_ptr<TGXML_Element> TGlobePen::SaveEnvironment() const {
  auto element = TGlobeAttribute::SaveEnvironment();
  AddColorAttribute(*element, "Color", Color_);
  element->AddAttribute("Style", int32_t{Style_});
  element->AddAttribute("Width", Width_);
  AddUnitAttribute(*element, "Unit", Unit_);
  return element;
}

void TGlobePen::WriteToStream(TGlobeStreamWriter& writer) const {
  writer.WriteInteger(static_cast<int32_t>(Color_));
  writer.WriteByte(Style_);
  if (writer.Version() < PenUnitStreamVersion) {
    writer.WriteByte(static_cast<uint8_t>(std::clamp(Width_, 0, 255)));
    return;
  }
  writer.WriteInteger(Width_);
  writer.WriteByte(static_cast<uint8_t>(Unit_));
}

void TGlobePen::ReadFromStream(TGlobeStreamReader& reader) {
  const auto color = static_cast<TColor>(reader.ReadInteger());
  const uint8_t style = reader.ReadByte();
  int32_t width = 0;
  TGlobeUnitTypes unit = TGlobeUnitTypes::Pixel;
  if (reader.Version() < PenUnitStreamVersion) {
    width = reader.ReadByte();
  } else {
    width = reader.ReadInteger();
    const uint8_t unitOrdinal = reader.ReadByte();
    unit = IsValidUnit(unitOrdinal) ? static_cast<TGlobeUnitTypes>(unitOrdinal) : Unit_;
  }
  SetPenColor(color);
  if (IsValidPenStyle(style)) SetPenStyle(static_cast<TPenStyle>(style));
  SetPenWidth(width);
  SetPenUnit(unit);
}

}  // namespace globe
