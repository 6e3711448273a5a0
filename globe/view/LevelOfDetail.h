#pragma once
// Levels of detail: simplified copies of map objects for coarse zooms, a drawing stage between
// the object sources and the presenters. When an eighth of a pixel covers at least the finest
// level's tolerance, the layer loop draws the object's copy at the coarsest level whose tolerance
// still fits within that share, so a frame projects about as many points as the picture can show
// and the full object need not be built. Closer in, the full object is drawn exactly as before.
//
// The copies are made lazily, per object and level, on first need, from the full object, and are
// kept in memory (they do not count against the object cache); a source's copies are dropped
// when its content changes (its ContentStamp) or it leaves the view. Objects with few points and
// objects without chains are always drawn in full.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "globe/data/GeoDataObject.h"

namespace globe {

class TCustomVoduz4;
class TGlobeObjectSource;

// Tolerance of level 0 in GlobeUnit (about 0.36 nautical miles); each further level is four
// times coarser.
inline constexpr int32_t kFinestLevelTolerance = 1 << 15;
// The share of a pixel a level's tolerance may take. The projection steps from point to point
// by whole pixels, so a corner moved by a fraction of a pixel can still shift a drawn pixel: at an
// eighth, a whole-globe picture differs from full detail in under half a percent of its pixels.
inline constexpr long double kLevelPixelShare = 0.125L;
inline constexpr int32_t kLevelCount = 4;
// Objects with fewer points are drawn in full at every zoom.
inline constexpr int64_t kMinLevelPoints = 64;

// The tolerance of a level in GlobeUnit.
constexpr int32_t LevelTolerance(int32_t level) { return kFinestLevelTolerance << (2 * level); }
// The coarsest level whose tolerance is at most kLevelPixelShare of a pixel at `pixelsPerUnit` (the
// projection's ScaleFactor), or -1 when the full object is to be drawn.
int32_t LevelForScale(long double pixelsPerUnit);

// Where a copy gets the full object's centre when its own is first asked for.
using TFullCentre = std::function<TGeoPoint()>;

// A copy of `object` whose chains are simplified to `tolerance` (rings closed); its bounds,
// title, presenter, state and centre are the original's. The centre of a large object takes a
// walk over every point, and most copies are drawn without a title: given `fullCentre`, the copy
// asks it for the centre when first asked itself; without, the centre is worked out now. Null
// when nothing would be left out.
std::unique_ptr<TGeoDataObject> SimplifiedCopy(TGeoDataObject& object, int32_t tolerance,
                                               TFullCentre fullCentre = {});

class TLevelOfDetailCache {
 public:
  // The copy of object `index` of `source` to draw at `level`, made on first need; null when the
  // full object is to be drawn (level -1, a small object, or nothing to leave out).
  TGlobeObject* LevelObject(TGlobeObjectSource& source, int32_t index, int32_t level);
  // Drops the copies of sources that no longer belong to `view`.
  void KeepSourcesOf(const TCustomVoduz4& view);
  void Clear() { Sources_.clear(); }

  // Copies made so far (a measure for tests and benchmarks) and the bytes they hold.
  int64_t CopiesMade() const { return CopiesMade_; }
  int64_t MemoryBytes() const;

 private:
  struct TSlot {
    bool Made = false;
    std::unique_ptr<TGeoDataObject> Copy;
  };
  struct TSourceLevels {
    uint64_t Stamp = 0;
    std::vector<std::array<TSlot, kLevelCount>> Objects;
  };
  std::map<const TGlobeObjectSource*, TSourceLevels> Sources_;
  int64_t CopiesMade_ = 0;
};

}  // namespace globe
