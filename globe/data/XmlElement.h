#pragma once
// TGXML_Element: one element of the engine's small XML dialect (environment files).
//
// An element is an ordered list of lines of three kinds, kept in file order:
//   - attributes  name="value"
//   - child elements (owned, destroyed with the parent) under their tag name
//   - text lines
// The root element of a TGXML_Document has no tag; its children are the file's top-level elements.
//
// Typed attributes: Booleans are "T"/"F", Integers decimal, floating-point values use "." as
// decimal separator whatever the process locale. Reading a Boolean accepts only "T" and "F"
// (anything else, "t" or "Yes" included, gives the default); a missing or empty attribute gives
// the default; a non-numeric Integer or float raises platform::EConvertError ("'x' is not a valid
// integer value" / "... floating point value").
//
// Building (a persistent object's SaveEnvironment):
//   auto e = std::make_unique<TGXML_Element>();
//   e->AddAttribute("Name", name);           // text
//   e->AddAttribute("Visible", visible);     // "T"/"F"
//   e->AddAttribute("ZoomMin", zoomMin);     // int32_t
//   e->AddElement("Presenters", presenters.SaveEnvironment());
// Reading (LoadEnvironment, element may be null):
//   name = e->Attribute("Name", name);
//   visible = e->Attribute("Visible", visible);
//   for (int n = 0; const TGXML_Element* layer = e->Element("Layer", n); ++n) ...
// Overloads are chosen by the value's type: pass int32_t, bool, double/long double or text;
// other integer types (colours, 64-bit) must be converted explicitly.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace globe {

class TGXML_Element {
 public:
  enum class TLineKind : uint8_t { lkAttribute, lkElement, lkText };

  struct TLine {
    TLineKind Kind;
    std::string Name;   // attribute name, child tag name, or the text of a text line
    std::string Value;  // attribute value (without quotes); empty for other kinds
    std::unique_ptr<TGXML_Element> Child;  // the child of an element line
  };

  TGXML_Element() = default;
  TGXML_Element(const TGXML_Element&) = delete;
  TGXML_Element& operator=(const TGXML_Element&) = delete;
  ~TGXML_Element();

  // Appends name="value", both trimmed.
  void AddAttribute(std::string_view name, std::string_view text);
  void AddAttribute(std::string_view name, const char* text) {
    AddAttribute(name, std::string_view(text ? text : ""));
  }
  void AddAttribute(std::string_view name, const std::string& text) {
    AddAttribute(name, std::string_view(text));
  }
  void AddAttribute(std::string_view name, bool value);
  void AddAttribute(std::string_view name, int32_t value);
  void AddAttribute(std::string_view name, long double value);
  void AddAttribute(std::string_view name, double value) {
    AddAttribute(name, static_cast<long double>(value));
  }

  // Appends a child under the trimmed tag name and returns it; a null child is replaced by an
  // empty element so that every element line has its element.
  TGXML_Element* AddElement(std::string_view name, std::unique_ptr<TGXML_Element> child);
  // Appends a new empty child and returns it.
  TGXML_Element* AddElement(std::string_view name);
  // Appends a text line (trimmed; empty text adds nothing).
  void AddText(std::string_view text);

  // The n-th (from 0) child whose tag equals the name exactly, or null.
  TGXML_Element* Element(std::string_view name, int n = 0) const;

  // Whether an attribute of that name exists.
  bool HasAttribute(std::string_view name) const;
  // Value of the first attribute of that name; the default when absent or empty.
  std::string Attribute(std::string_view name, std::string_view def = {}) const;
  std::string Attribute(std::string_view name, const char* def) const {
    return Attribute(name, std::string_view(def ? def : ""));
  }
  std::string Attribute(std::string_view name, const std::string& def) const {
    return Attribute(name, std::string_view(def));
  }
  // "T" true, "F" false, anything else (absent included) the default.
  bool Attribute(std::string_view name, bool def) const;
  // Decimal; the default when absent or empty; raises platform::EConvertError when not a number.
  int32_t Attribute(std::string_view name, int32_t def) const;
  // "." decimal; the default when absent or empty; raises platform::EConvertError when not a
  // number.
  long double Attribute(std::string_view name, long double def) const;
  double Attribute(std::string_view name, double def) const {
    return static_cast<double>(Attribute(name, static_cast<long double>(def)));
  }

  int Count() const { return static_cast<int>(Lines_.size()); }
  const TLine& Line(int index) const { return Lines_.at(static_cast<size_t>(index)); }
  const std::vector<TLine>& Lines() const { return Lines_; }
  // True when the element has no lines other than attributes (written self-closing).
  bool OnlyAttributes() const;
  void Clear();

 private:
  const TLine* FindAttribute(std::string_view name) const;

  std::vector<TLine> Lines_;
};

}  // namespace globe
