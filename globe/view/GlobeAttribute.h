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

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "platform/DrawingSurface.h"

namespace globe {

class TGlobeCanvas;

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

  // ---- Drawing half (GlobeAttributeDrawing.cpp) ----------------------------------------
  // Binds the attribute to `canvas` (re-binding when the canvas or its generation changed),
  // makes the platform object when there is none (again after a zoom change for sizes in map
  // units) and selects it into the canvas's surface; with `selected` the view's selection pen,
  // brush or colour is selected instead. Returns false when no platform object could be made
  // (a missing pattern bitmap, a font below MinTextHeight); something that draws nothing is
  // selected then.
  bool Realize(TGlobeCanvas& canvas, bool selected);
  // Drops the platform object; the next Realize makes a new one.
  void ReleaseHandle();
  bool HandleAllocated() const { return !std::holds_alternative<std::monostate>(Binding_.Handle); }
  // The canvas of the last Realize (not owned; compare only, it may be gone).
  const TGlobeCanvas* BoundCanvas() const { return Binding_.Canvas; }

 protected:
  // The platform object of each class.
  using THandle = std::variant<std::monostate, platform::Pen, platform::Brush, platform::Font>;
  // Makes the platform object for the bound canvas (or leaves none).
  virtual THandle CreateHandle(TGlobeCanvas& canvas) = 0;
  // Puts the platform object (or the view's selection) into the canvas's surface.
  virtual void Select(TGlobeCanvas& canvas, bool selected) = 0;
  // Whether the platform object's size follows the zoom.
  virtual bool ZoomDependent() const { return false; }
  const THandle& Handle() const { return Binding_.Handle; }

  TGlobeAttribute() = default;
  // Values are copied only through the classes' Assign and Clone.
  TGlobeAttribute(const TGlobeAttribute&) = default;
  TGlobeAttribute& operator=(const TGlobeAttribute&) = default;

  // A value changed (called by every setter on a change): the platform object is made again.
  virtual void Changed() { ReleaseHandle(); }
  virtual TGlobeAttribute* NewCopy() const = 0;

  // Stores `value` into `field` and reports the change; false when nothing changed.
  template <class T>
  bool Update(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    Changed();
    return true;
  }

 private:
  // What the attribute made for which canvas. Copies start unbound.
  struct TBinding {
    TGlobeCanvas* Canvas = nullptr;
    uint64_t Generation = 0;
    int32_t Altitude = 0;  // the view's altitude when the object was made
    THandle Handle;
    TBinding() = default;
    TBinding(const TBinding&) {}
    TBinding& operator=(const TBinding&) {
      *this = TBinding();
      return *this;
    }
    TBinding& operator=(TBinding&&) = default;
  };
  TBinding Binding_;
};

// Whether an ordinal read from a file or an Integer attribute is a valid unit.
bool IsValidUnit(int ordinal);

}  // namespace globe
