#include "globe/data/GlobePresenter.h"

#include <stdexcept>

#include "globe/data/GlobeObject.h"

namespace globe {

TGlobePresenter::TGlobePresenter(TGlobeHost* globe, int32_t presenterID)
    : Globe_(globe), PresenterID_(presenterID) {
  if (globe == nullptr) throw std::logic_error("TGlobePresenter.Create passed nil Globe");
}

TGlobePresenter::~TGlobePresenter() = default;

void TGlobePresenter::SetTitleAlignment(TTitleAlignment alignment) {
  if (static_cast<int>(alignment) < TitleAlignmentCount) TitleAlignment_ = alignment;
}

void TGlobePresenter::Assign(const TGlobePresenter& source) {
  if (&source == this) return;
  PresenterID_ = source.PresenterID_;
  TitleAlignment_ = source.TitleAlignment_;
  TitleOffset_ = source.TitleOffset_;
  Name_ = source.Name_;
  Hidden_ = source.Hidden_;
}

std::unique_ptr<TGlobePresenter> TGlobePresenter::CloneFor(TGlobeHost* globe) const {
  std::unique_ptr<TGlobePresenter> copy = NewInstance(globe, PresenterID_);
  copy->Assign(*this);
  return copy;
}

bool TGlobePresenter::HitTestObject(TGlobeHost& globe, const TGeoPoint& point,
                                    TGlobeObject& object, int32_t tolerance) {
  return object.PointOnObject(point, tolerance);
}

std::unique_ptr<TGlobePresenter> CreatePresenter(std::string_view className,
                                                 TGlobeHost* globe, int32_t presenterID) {
  return CreateGlobeClass<TGlobePresenter>(className, "TGlobePresenter", globe, presenterID);
}

}  // namespace globe
