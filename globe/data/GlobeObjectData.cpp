#include "globe/data/GlobeObjectData.h"

namespace globe {

void TGlobeObjectData::Assign(const TGlobeObjectData& source) {
  State_ = source.State_;
  ObjectFlags_ = source.ObjectFlags_;
  Tag_ = source.Tag_;
  Index_ = source.Index_;
  Bounds_ = source.Bounds_;
  PresenterID_ = source.PresenterID_;
  Value_ = source.Value_;
}

}  // namespace globe
