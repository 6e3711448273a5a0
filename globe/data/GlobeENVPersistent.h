#pragma once
// TGlobeENVPersistent: base of every engine class saved in the environment file (layer store,
// layers, presenter stores, presenters, pens, brushes, fonts, projections, object sources).
//
// A class turns itself into one TGXML_Element and back:
//
//   std::unique_ptr<TGXML_Element> TMyClass::SaveEnvironment() const {
//     auto e = TBase::SaveEnvironment();        // the base class's attributes first
//     e->AddAttribute("Name", Name_);
//     e->AddElement("Pen", Pen_->SaveEnvironment());
//     return e;
//   }
//   void TMyClass::LoadEnvironment(const TGXML_Element* e) {
//     TBase::LoadEnvironment(e);
//     if (!e) return;                           // null: keep everything
//     SetName(e->Attribute("Name", Name_));     // current value as default
//     Pen_->LoadEnvironment(e->Element("Pen"));
//   }
//
// The caller that owns the object adds the returned element to its own element under a tag
// (AddElement("Projection", projection.SaveEnvironment())). Classes created by name from a
// "Class" attribute are found with FindGlobeClass / CreateGlobeClass (ClassRegistry.h), which
// raise "Class %s not found" for unregistered names. Colour and unit attributes have helpers in
// GlobeColor.h (AddColorAttribute / ColorAttribute) and here (AddUnitAttribute / UnitAttribute).
//
// LoadFromFile / SaveToFile store a single object as a file with one top-level element tagged
// with the object's ClassName().

#include <memory>
#include <string>
#include <string_view>

#include "globe/data/GlobeRoot.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/XmlElement.h"

namespace globe {

class TGlobeENVPersistent : public TGlobeRoot {
 public:
  std::string ClassName() const override { return "TGlobeENVPersistent"; }

  // Reads the object's settings from an element; a null element changes nothing.
  virtual void LoadEnvironment(const TGXML_Element* element);
  // A new element holding the object's settings (this base adds nothing).
  virtual std::unique_ptr<TGXML_Element> SaveEnvironment() const;
  // Parses the file and loads from its first top-level element tagged with ClassName() (null
  // when absent). Returns false when the file does not exist (LoadEnvironment gets null then).
  virtual bool LoadFromFile(const std::string& fileName);
  // Writes a document whose only top-level element, tagged ClassName(), is SaveEnvironment().
  virtual void SaveToFile(const std::string& fileName) const;
};

// A unit attribute as its code ("GU", "NM", "PI", ...).
void AddUnitAttribute(TGXML_Element& element, std::string_view name, TGlobeUnitTypes unit);
// The unit named by the attribute's code; the default when absent or empty. An unknown code
// raises EGlobeException "StrToUnits: Unknown Unit %s".
TGlobeUnitTypes UnitAttribute(const TGXML_Element& element, std::string_view name,
                              TGlobeUnitTypes def);

}  // namespace globe
