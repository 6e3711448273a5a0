#include "globe/view/PolyPresenter.h"

#include <algorithm>

#include "globe/data/GeoDataObject.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobePen.h"
#include "globe/view/ProjectionModel.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"

namespace globe {

TPolyPresenter::TPolyPresenter(TGlobeHost* globe, int32_t presenterID)
    : TPolyPresenter(globe, presenterID, "Poly Presenter") {}

TPolyPresenter::TPolyPresenter(TGlobeHost* globe, int32_t presenterID,
                               const char* defaultName)
    : TTitledPresenter(globe, presenterID, defaultName),
      PolyPen_(std::make_unique<TGlobePen>()),
      PolyBrush_(std::make_unique<TGlobeBrush>()) {
  PolyPen_->SetPenUnit(TGlobeUnitTypes::Pixel);
}

TPolyPresenter::~TPolyPresenter() = default;

std::unique_ptr<TGlobePresenter> TPolyPresenter::NewInstance(TGlobeHost* globe,
                                                             int32_t presenterID) const {
  return std::make_unique<TPolyPresenter>(globe, presenterID);
}

void TPolyPresenter::Assign(const TGlobePresenter& source) {
  TTitledPresenter::Assign(source);
  const auto* poly = dynamic_cast<const TPolyPresenter*>(&source);
  if (poly == nullptr || poly == this) return;
  PolyPen_->Assign(*poly->PolyPen_);
  PolyBrush_->Assign(*poly->PolyBrush_);
}

void TPolyPresenter::WriteToStream(TGlobeStreamWriter& writer) const {
  TTitledPresenter::WriteToStream(writer);
  PolyPen_->WriteToStream(writer);
  if (StreamsBrush()) PolyBrush_->WriteToStream(writer);
}

void TPolyPresenter::ReadFromStream(TGlobeStreamReader& reader) {
  TTitledPresenter::ReadFromStream(reader);
  PolyPen_->ReadFromStream(reader);
  if (StreamsBrush()) PolyBrush_->ReadFromStream(reader);
}

std::unique_ptr<TGXML_Element> TPolyPresenter::SaveEnvironment() const {
  std::unique_ptr<TGXML_Element> element = TTitledPresenter::SaveEnvironment();
  element->AddElement("Pen", PolyPen_->SaveEnvironment());
  element->AddElement("Brush", PolyBrush_->SaveEnvironment());
  return element;
}

void TPolyPresenter::LoadEnvironment(const TGXML_Element* element) {
  TTitledPresenter::LoadEnvironment(element);
  if (element == nullptr) return;
  PolyPen_->LoadEnvironment(element->Element("Pen"));
  PolyBrush_->LoadEnvironment(element->Element("Brush"));
}

void TPolyPresenter::RenderObject(TGlobeHost& globe, TGlobeObject& object, uint16_t state) {
  auto* view = dynamic_cast<TCustomGlobeView*>(&globe);
  auto* geo = dynamic_cast<TGeoDataObject*>(&object);
  if (view == nullptr || geo == nullptr) return;
  AdjustClosed(*geo, state);
  TGlobeCanvas& canvas = view->Canvas();
  const bool selected = (state & rsSelected) != 0;
  PolyPen_->Realize(canvas, selected);
  if (geo->Closed()) PolyBrush_->Realize(canvas, selected);
  const int32_t margin = canvas.LengthToPixels(PolyPen_->PenWidth(), PolyPen_->PenUnit());
  canvas.RenderChainStore(geo->Chains(), state, margin);
}

void TPolygonPresenter::AdjustClosed(TGeoDataObject& object, uint16_t& state) const {
  object.SetClosed(true);
  state |= rsClosed;
}

void TPolylinePresenter::AdjustClosed(TGeoDataObject& object, uint16_t& state) const {
  object.SetClosed(false);
  state = static_cast<uint16_t>(state & ~rsClosed);
}

TPolygonPresenter::TPolygonPresenter(TGlobeHost* globe, int32_t presenterID)
    : TPolyPresenter(globe, presenterID, "Polygon Presenter") {}

std::unique_ptr<TGlobePresenter> TPolygonPresenter::NewInstance(TGlobeHost* globe,
                                                                int32_t presenterID) const {
  return std::make_unique<TPolygonPresenter>(globe, presenterID);
}

TPolylinePresenter::TPolylinePresenter(TGlobeHost* globe, int32_t presenterID)
    : TPolyPresenter(globe, presenterID, "Poly Presenter") {}

std::unique_ptr<TGlobePresenter> TPolylinePresenter::NewInstance(TGlobeHost* globe,
                                                                 int32_t presenterID) const {
  return std::make_unique<TPolylinePresenter>(globe, presenterID);
}

}  // namespace globe
