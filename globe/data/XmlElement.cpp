#include "globe/data/XmlElement.h"

#include "globe/data/FloatText.h"
#include "platform/IntegerText.h"

namespace globe {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

TGXML_Element::~TGXML_Element() {
  // Children are destroyed level by level rather than recursively, so that no tree, however
  // deep, can exhaust the stack on destruction.
  std::vector<std::unique_ptr<TGXML_Element>> pending;
  for (TLine& line : Lines_)
    if (line.Child) pending.push_back(std::move(line.Child));
  while (!pending.empty()) {
    std::unique_ptr<TGXML_Element> e = std::move(pending.back());
    pending.pop_back();
    for (TLine& line : e->Lines_)
      if (line.Child) pending.push_back(std::move(line.Child));
  }
}

void TGXML_Element::AddAttribute(std::string_view name, std::string_view text) {
  Lines_.push_back(
      TLine{TLineKind::lkAttribute, std::string(Trim(name)), std::string(Trim(text)), nullptr});
}

void TGXML_Element::AddAttribute(std::string_view name, bool value) {
  AddAttribute(name, std::string_view(value ? "T" : "F"));
}

void TGXML_Element::AddAttribute(std::string_view name, int32_t value) {
  AddAttribute(name, std::string_view(std::to_string(value)));
}

void TGXML_Element::AddAttribute(std::string_view name, long double value) {
  AddAttribute(name, std::string_view(FloatToText(value)));
}

TGXML_Element* TGXML_Element::AddElement(std::string_view name,
                                         std::unique_ptr<TGXML_Element> child) {
  if (!child) child = std::make_unique<TGXML_Element>();
  TGXML_Element* added = child.get();
  Lines_.push_back(TLine{TLineKind::lkElement, std::string(Trim(name)), {}, std::move(child)});
  return added;
}

TGXML_Element* TGXML_Element::AddElement(std::string_view name) {
  return AddElement(name, std::make_unique<TGXML_Element>());
}

void TGXML_Element::AddText(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (!trimmed.empty())
    Lines_.push_back(TLine{TLineKind::lkText, std::string(trimmed), {}, nullptr});
}

TGXML_Element* TGXML_Element::Element(std::string_view name, int n) const {
  if (n < 0) return nullptr;
  for (const TLine& line : Lines_)
    if (line.Kind == TLineKind::lkElement && line.Name == name && n-- == 0)
      return line.Child.get();
  return nullptr;
}

const TGXML_Element::TLine* TGXML_Element::FindAttribute(std::string_view name) const {
  for (const TLine& line : Lines_)
    if (line.Kind == TLineKind::lkAttribute && line.Name == name) return &line;
  return nullptr;
}

bool TGXML_Element::HasAttribute(std::string_view name) const {
  return FindAttribute(name) != nullptr;
}

std::string TGXML_Element::Attribute(std::string_view name, std::string_view def) const {
  const TLine* line = FindAttribute(name);
  if (!line || line->Value.empty()) return std::string(def);
  return line->Value;
}

bool TGXML_Element::Attribute(std::string_view name, bool def) const {
  const std::string value = Attribute(name, std::string_view());
  if (value == "T") return true;
  if (value == "F") return false;
  return def;
}

int32_t TGXML_Element::Attribute(std::string_view name, int32_t def) const {
  const std::string value = Attribute(name, std::string_view());
  return value.empty() ? def : platform::StrToInt(value);
}

long double TGXML_Element::Attribute(std::string_view name, long double def) const {
  const std::string value = Attribute(name, std::string_view());
  return value.empty() ? def : TextToFloat(value);
}

bool TGXML_Element::OnlyAttributes() const {
  for (const TLine& line : Lines_)
    if (line.Kind != TLineKind::lkAttribute) return false;
  return true;
}

void TGXML_Element::Clear() {
  std::vector<TLine> lines;
  lines.swap(Lines_);
  // Reuse the iterative destruction for the removed children.
  TGXML_Element holder;
  holder.Lines_ = std::move(lines);
}

}  // namespace globe
