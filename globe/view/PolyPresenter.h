#pragma once
// The presenters of lines and areas: TPolyPresenter draws an object's chains with PolyPen,
// filling closed objects with PolyBrush; TPolygonPresenter always draws them closed and
// TPolylinePresenter always open.
//
// Environment element: the presenter's attributes plus the children "Pen" and "Brush".
// Binary record: the presenter's record, then the pen and brush records (TPolylinePresenter: the
// pen record only).

#include <cstdint>
#include <memory>
#include <string>

#include "globe/view/TitledPresenter.h"

namespace globe {

class TGeoDataObject;
class TGlobeBrush;
class TGlobePen;

class TPolyPresenter : public TTitledPresenter {
 public:
  TPolyPresenter(TGlobeHost* globe, int32_t presenterID);
  ~TPolyPresenter() override;

  std::string ClassName() const override { return "TPolyPresenter"; }

  TGlobePen& PolyPen() { return *PolyPen_; }
  const TGlobePen& PolyPen() const { return *PolyPen_; }
  TGlobeBrush& PolyBrush() { return *PolyBrush_; }
  const TGlobeBrush& PolyBrush() const { return *PolyBrush_; }

  // Between poly presenters (of any of the three classes) also the pen and brush.
  void Assign(const TGlobePresenter& source) override;

  void WriteToStream(TGlobeStreamWriter& writer) const override;
  void ReadFromStream(TGlobeStreamReader& reader) override;
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

  // Draws the chains of a TGeoDataObject (other objects are not drawn) with PolyPen, filled with
  // PolyBrush when closed (the selection pen and brush for a selected object), the pen width in
  // pixels as clipping margin.
  void RenderObject(TGlobeHost& globe, TGlobeObject& object, uint16_t state) override;

 protected:
  TPolyPresenter(TGlobeHost* globe, int32_t presenterID, const char* defaultName);
  std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe,
                                               int32_t presenterID) const override;
  // Whether the binary record holds the brush.
  virtual bool StreamsBrush() const { return true; }
  // Polygon and polyline presenters close or open the object (and its state) before drawing.
  virtual void AdjustClosed(TGeoDataObject& object, uint16_t& state) const {}

 private:
  std::unique_ptr<TGlobePen> PolyPen_;
  std::unique_ptr<TGlobeBrush> PolyBrush_;
};

class TPolygonPresenter : public TPolyPresenter {
 public:
  TPolygonPresenter(TGlobeHost* globe, int32_t presenterID);
  std::string ClassName() const override { return "TPolygonPresenter"; }

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe,
                                               int32_t presenterID) const override;
  void AdjustClosed(TGeoDataObject& object, uint16_t& state) const override;
};

class TPolylinePresenter : public TPolyPresenter {
 public:
  TPolylinePresenter(TGlobeHost* globe, int32_t presenterID);
  std::string ClassName() const override { return "TPolylinePresenter"; }

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe,
                                               int32_t presenterID) const override;
  bool StreamsBrush() const override { return false; }
  void AdjustClosed(TGeoDataObject& object, uint16_t& state) const override;
};

}  // namespace globe
