#include "globe/view/GlobeFont.h"

#include <typeinfo>

namespace globe {

TGlobeFont::TGlobeFont(std::string name, int32_t size, TGlobeUnitTypes unit, TColor color)
    : Color_(color), Name_(std::move(name)), Size_(size) {
  SetFontUnit(unit);
}

void TGlobeFont::SetFontUnit(TGlobeUnitTypes unit) {
  if (IsValidUnit(static_cast<int>(unit))) Update(Unit_, unit);
}

void TGlobeFont::Assign(const TGlobeFont& source) {
  SetFontAngle(source.Angle_);
  SetFontColor(source.Color_);
  SetFontName(source.Name_);
  SetFontSize(source.Size_);
  SetFontStyle(source.Style_);
  SetFontUnit(source.Unit_);
}

TGlobeFont* TGlobeFont::NewCopy() const {
  auto* copy = new TGlobeFont();
  copy->Assign(*this);
  return copy;
}

bool TGlobeFont::Equals(const TGlobeAttribute& other) const {
  if (typeid(other) != typeid(*this)) return false;
  const auto& o = static_cast<const TGlobeFont&>(other);
  return Angle_ == o.Angle_ && Color_ == o.Color_ && Name_ == o.Name_ && Size_ == o.Size_ &&
         Style_ == o.Style_ && Unit_ == o.Unit_;
}

void TGlobeFont::LoadEnvironment(const TGXML_Element* element) {
  if (!element) return;
  SetFontName(element->Attribute("Name", Name_));
  SetFontColor(ColorAttribute(*element, "Color", Color_));
  SetFontStyle(TFontStyles::FromBits(
      static_cast<uint32_t>(element->Attribute("Style", int32_t{Style_.Bits()}))));
  SetFontSize(element->Attribute("Size", Size_));
  SetFontAngle(element->Attribute("Angle", Angle_));
  SetFontUnit(UnitAttribute(*element, "Unit", Unit_));
}

std::unique_ptr<TGXML_Element> TGlobeFont::SaveEnvironment() const {
  auto element = TGlobeAttribute::SaveEnvironment();
  element->AddAttribute("Name", Name_);
  AddColorAttribute(*element, "Color", Color_);
  element->AddAttribute("Style", int32_t{Style_.Bits()});
  element->AddAttribute("Size", Size_);
  element->AddAttribute("Angle", Angle_);
  AddUnitAttribute(*element, "Unit", Unit_);
  return element;
}

void TGlobeFont::WriteToStream(TGlobeStreamWriter& writer) const {
  writer.WriteInteger(static_cast<int32_t>(Color_));
  writer.WriteByte(static_cast<uint8_t>(Unit_));
  writer.WriteSmallInt(static_cast<int16_t>(Size_));
  writer.WriteSmallInt(static_cast<int16_t>(Angle_));
  writer.WriteByte(Style_.Bits());
  writer.WriteShortString(Name_);
}

void TGlobeFont::ReadFromStream(TGlobeStreamReader& reader) {
  const auto color = static_cast<TColor>(reader.ReadInteger());
  const uint8_t unit = reader.ReadByte();
  const int16_t size = reader.ReadSmallInt();
  const int16_t angle = reader.ReadSmallInt();
  const uint8_t style = reader.ReadByte();
  const std::string name = reader.ReadShortString();
  SetFontColor(color);
  if (IsValidUnit(unit)) SetFontUnit(static_cast<TGlobeUnitTypes>(unit));
  SetFontSize(size);
  SetFontAngle(angle);
  SetFontStyle(TFontStyles::FromBits(style));
  SetFontName(name);
}

}  // namespace globe
