#pragma once
// What layers, object sources, objects and presenters may ask of the view they belong to: where
// their files are, fresh use stamps, progress reports, device-pixel questions, a home for the
// sources they make, the layer store, and the listener they tell their changes to. The view core
// (TCustomVoduz4) implements it; the engine's data classes know nothing more of the view.

#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/GeoTypes.h"

namespace globe {

class TGlobeChangeListener;
class TGlobeLayerStore;
class TGlobeObjectSource;

// Kind of a progress report: 1 start, 3 intermediate (text = percentage), 2 end.
enum TProgressMessage : uint8_t { pmNone = 0, pmStart = 1, pmEnd = 2, pmProgress = 3 };

// Where a file reader keeps its meta-data (index) file.
enum TSaveMetaDataLocation : uint8_t { smdInDataDirectory, smdWithDataFile, smdWithExeFile, smdDiscard };

class TGlobeHost {
 public:
  virtual ~TGlobeHost() = default;

  // Where changes are reported.
  virtual TGlobeChangeListener& Changes() = 0;

  // ---- Files ----
  // The name itself, or found in the data directory; "" when nothing is found.
  virtual std::string ResolveFileName(const std::string& name) = 0;
  // With a trailing separator, or empty.
  virtual const std::string& DataDirectory() const = 0;
  virtual std::string ProgramDirectory() const = 0;
  virtual TSaveMetaDataLocation SaveMetaDataLocation() const = 0;

  // Reports progress; true when the user asked to abort.
  virtual bool DoProgress(TProgressMessage kind, const std::string& text) = 0;
  // The next last-used stamp for cached objects (grows with every use).
  virtual uint64_t NextUseStamp() = 0;

  // ---- Device pixels ----
  // Whether two points fall on the same device pixel.
  virtual bool SamePixel(const TGeoPoint& a, const TGeoPoint& b) const = 0;
  // Device pixel to geographic point; false when the pixel is off the map.
  virtual bool DeviceXYToLL(int x, int y, TGeoPoint& point) const = 0;
  // Tolerance in GlobeUnit of a mouse hit test.
  virtual int32_t HitTolerance() const = 0;

  // ---- Layers and sources ----
  // Takes ownership of a new source (a layer's own source) and returns it.
  virtual TGlobeObjectSource* AddObjectSource(std::unique_ptr<TGlobeObjectSource> source) = 0;
  // Null while the view is being built or destroyed.
  virtual TGlobeLayerStore* LayerStoreIfAny() const = 0;
};

}  // namespace globe
