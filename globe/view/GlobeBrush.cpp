#include "globe/view/GlobeBrush.h"

#include <typeinfo>

namespace globe {

namespace {

bool IsValidBrushStyle(int ordinal) { return ordinal >= bsSolid && ordinal <= bsPattern50; }

}  // namespace

TGlobeBrush::TGlobeBrush(TColor color, TGlobeBrushStyle style) { SetBrush(color, color, style); }

TGlobeBrush::TGlobeBrush(TColor color, TColor bkColor, TGlobeBrushStyle style) {
  SetBrush(color, bkColor, style);
}

void TGlobeBrush::SetBrushStyle(TGlobeBrushStyle style) {
  if (IsValidBrushStyle(style)) Update(Style_, style);
}

void TGlobeBrush::SetBrush(TColor color, TColor bkColor, TGlobeBrushStyle style) {
  SetBrushColor(color);
  SetBrushBkColor(bkColor);
  SetBrushStyle(style);
}

void TGlobeBrush::Assign(const TGlobeBrush& source) {
  SetBrush(source.Color_, source.BkColor_, source.Style_);
}

TGlobeBrush* TGlobeBrush::NewCopy() const {
  auto* copy = new TGlobeBrush();
  copy->Assign(*this);
  return copy;
}

bool TGlobeBrush::Equals(const TGlobeAttribute& other) const {
  if (typeid(other) != typeid(*this)) return false;
  const auto& o = static_cast<const TGlobeBrush&>(other);
  return Color_ == o.Color_ && BkColor_ == o.BkColor_ && Style_ == o.Style_;
}

void TGlobeBrush::LoadEnvironment(const TGXML_Element* element) {
  if (!element) return;
  SetBrushColor(ColorAttribute(*element, "Color", Color_));
  SetBrushBkColor(ColorAttribute(*element, "BkColor", BkColor_));
  const int32_t style = element->Attribute("Style", int32_t{Style_});
  if (IsValidBrushStyle(style)) SetBrushStyle(static_cast<TGlobeBrushStyle>(style));
}

std::unique_ptr<TGXML_Element> TGlobeBrush::SaveEnvironment() const {
  auto element = TGlobeAttribute::SaveEnvironment();
  AddColorAttribute(*element, "Color", Color_);
  AddColorAttribute(*element, "BkColor", BkColor_);
  element->AddAttribute("Style", int32_t{Style_});
  return element;
}

void TGlobeBrush::WriteToStream(TGlobeStreamWriter& writer) const {
  writer.WriteInteger(static_cast<int32_t>(Color_));
  if (writer.Version() >= BrushBkColorStreamVersion)
    writer.WriteInteger(static_cast<int32_t>(BkColor_));
  writer.WriteByte(Style_);
}

void TGlobeBrush::ReadFromStream(TGlobeStreamReader& reader) {
  const auto color = static_cast<TColor>(reader.ReadInteger());
  const TColor bkColor = reader.Version() >= BrushBkColorStreamVersion
                             ? static_cast<TColor>(reader.ReadInteger())
                             : color;
  const uint8_t style = reader.ReadByte();
  SetBrushColor(color);
  SetBrushBkColor(bkColor);
  if (IsValidBrushStyle(style)) SetBrushStyle(static_cast<TGlobeBrushStyle>(style));
}

}  // namespace globe
