#pragma once
// Summarises a map file (lyrconvert --info) as its opening read builds the objects, while their
// points are fresh in memory: a large file is then read once, and its objects need not all be kept
// (the view core's object cache lets them go), so memory holds a few objects rather than the file.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tools/lyrconvert/LyrConvert.h"
#include "tools/lyrconvert/ObjectSummary.h"

namespace globe {
class TCustomVoduz4;
class TGlobeObject;
}  // namespace globe

namespace lyrconvert {

class TOpeningSummary {
 public:
  // Room for a few objects besides the one being built: their chains come back to the heap and
  // are used again for the next objects'.
  static constexpr int32_t kCacheKilobytes = 1024;

  // Listens to the objects `globe` builds from now on (one file is opened meanwhile) and limits
  // its object cache to `cacheKilobytes` until the end.
  explicit TOpeningSummary(globe::TCustomVoduz4& globe, int32_t cacheKilobytes = kCacheKilobytes);
  ~TOpeningSummary();
  TOpeningSummary(const TOpeningSummary&) = delete;
  TOpeningSummary& operator=(const TOpeningSummary&) = delete;

  // The summary of the file opened meanwhile, as Summarise gives it: objects the opening did not
  // build are built now.
  TMapSummary Finish(globe::TGlobeObjectSource& source);

 private:
  void Built(globe::TGlobeObject& object);

  globe::TCustomVoduz4& Globe_;
  std::function<void(globe::TCustomVoduz4&, globe::TGlobeObject*)> OldListener_;
  int32_t OldCapacity_;
  std::vector<std::optional<TObjectSummary>> Objects_;  // by the object's index
};

}  // namespace lyrconvert
