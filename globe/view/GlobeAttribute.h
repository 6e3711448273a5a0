#pragma once
// TGlobeAttribute: common base of the drawing attributes TGlobePen, TGlobeBrush and TGlobeFont.
//
// This is the value half: the attribute's settings, comparison, copying, and its two saved forms
// (environment element attributes and the binary form inside layer streams). The drawing half
// (the platform object made from the values, the canvas it is bound to, realisation) belongs to
// the canvas side; every setter that changes a value calls Changed(), where that side re-creates
// its platform object.
//
//   TGlobePen pen(clRed, psDash, 2, TGlobeUnitTypes::Pixel);
//   element.AddElement("Pen", pen.SaveEnvironment());       // Color, Style, Width, Unit
//   pen.LoadEnvironment(element.Element("Pen"));            // null element: unchanged
//   pen.WriteToStream(writer);                              // form chosen by writer.Version()
//   pen.ReadFromStream(reader);                             // form chosen by reader.Version()
//   std::unique_ptr<TGlobePen> copy = pen.Clone();          // copy.Equals(pen)

#include <memory>
#include <string>

#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"

namespace globe {

class TGlobeAttribute : public TGlobeENVPersistent {
 public:
  std::string ClassName() const override { return "TGlobeAttribute"; }

  // Same class and same values.
  virtual bool Equals(const TGlobeAttribute& other) const = 0;
  // A new attribute of the same class with the same values (not bound to any canvas).
  std::unique_ptr<TGlobeAttribute> Clone() const {
    return std::unique_ptr<TGlobeAttribute>(NewCopy());
  }
  virtual void WriteToStream(TGlobeStreamWriter& writer) const = 0;
  virtual void ReadFromStream(TGlobeStreamReader& reader) = 0;

 protected:
  TGlobeAttribute() = default;
  // Values are copied only through the classes' Assign and Clone.
  TGlobeAttribute(const TGlobeAttribute&) = default;
  TGlobeAttribute& operator=(const TGlobeAttribute&) = default;

  // A value changed (called by every setter on a change).
  virtual void Changed() {}
  virtual TGlobeAttribute* NewCopy() const = 0;

  // Stores `value` into `field` and reports the change; false when nothing changed.
  template <class T>
  bool Update(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    Changed();
    return true;
  }
};

// Whether an ordinal read from a file or an Integer attribute is a valid unit.
bool IsValidUnit(int ordinal);

}  // namespace globe
