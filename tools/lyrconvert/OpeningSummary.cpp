#include "tools/lyrconvert/OpeningSummary.h"

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/GlobeObjectSource.h"

namespace lyrconvert {

TOpeningSummary::TOpeningSummary(globe::TCustomVoduz4& globe, int32_t cacheKilobytes)
    : Globe_(globe), OldListener_(globe.OnObjectCreate), OldCapacity_(globe.CacheCapacity()) {
  Globe_.SetCacheCapacity(cacheKilobytes);
  Globe_.OnObjectCreate = [this](globe::TCustomVoduz4&, globe::TGlobeObject* object) {
    if (object != nullptr) Built(*object);
  };
}

TOpeningSummary::~TOpeningSummary() {
  Globe_.OnObjectCreate = OldListener_;
  Globe_.SetCacheCapacity(OldCapacity_);
}

void TOpeningSummary::Built(globe::TGlobeObject& object) {
  const int32_t index = object.Index();
  if (index < 0) return;
  if (static_cast<std::size_t>(index) >= Objects_.size()) Objects_.resize(static_cast<std::size_t>(index) + 1);
  // The cache needs the object's bounds when it lets it go: found now, while its points are in the
  // processor's cache, rather than then.
  object.GetBounds();
  Objects_[static_cast<std::size_t>(index)] = SummariseObject(object);
}

TMapSummary TOpeningSummary::Finish(globe::TGlobeObjectSource& source) {
  TMapSummary summary;
  summary.Objects = source.Count();
  for (int32_t i = 0; i < source.Count(); ++i) {
    const bool seen = static_cast<std::size_t>(i) < Objects_.size() && Objects_[static_cast<std::size_t>(i)];
    AddObjectSummary(summary, seen ? *Objects_[static_cast<std::size_t>(i)] : SummariseObject(*source.Objects(i)));
  }
  summary.Presenters = PresenterLines(source);
  return summary;
}

}  // namespace lyrconvert
