#include "globe/data/GlobeENVPersistent.h"

#include "globe/data/XmlDocument.h"

namespace globe {

void TGlobeENVPersistent::LoadEnvironment(const TGXML_Element*) {}

std::unique_ptr<TGXML_Element> TGlobeENVPersistent::SaveEnvironment() const {
  return std::make_unique<TGXML_Element>();
}

bool TGlobeENVPersistent::LoadFromFile(const std::string& fileName) {
  TGXML_Document document;
  const bool found = document.LoadFromFile(fileName);
  LoadEnvironment(document.Root().Element(ClassName()));
  return found;
}

void TGlobeENVPersistent::SaveToFile(const std::string& fileName) const {
  TGXML_Document document;
  document.Root().AddElement(ClassName(), SaveEnvironment());
  document.SaveToFile(fileName);
}

void AddUnitAttribute(TGXML_Element& element, std::string_view name, TGlobeUnitTypes unit) {
  element.AddAttribute(name, UnitsToStr(unit));
}

TGlobeUnitTypes UnitAttribute(const TGXML_Element& element, std::string_view name,
                              TGlobeUnitTypes def) {
  const std::string code = element.Attribute(name, std::string_view());
  return code.empty() ? def : StrToUnits(code);
}

}  // namespace globe
