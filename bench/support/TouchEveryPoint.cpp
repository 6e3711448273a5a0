#include "bench/support/TouchEveryPoint.h"

#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeObjectSource.h"

namespace bench {

TTouchTotals TouchEveryPoint(globe::TGlobeObjectSource& source) {
  TTouchTotals totals;
  for (int32_t i = 0; i < source.Count(); ++i) {
    auto* object = dynamic_cast<globe::TGeoDataObject*>(source.Objects(i));
    if (!object) continue;
    ++totals.Objects;
    for (int32_t c = 0; c < object->Chains().Count(); ++c) {
      const globe::TPointStore& chain = object->Chains().Chain(c);
      const int32_t n = chain.Count();
      for (int32_t p = 0; p < n; ++p) totals.Checksum += chain.LongX(p) ^ chain.LatY(p);
      totals.Points += n;
    }
  }
  return totals;
}

}  // namespace bench
