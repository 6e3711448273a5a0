#include "globe/data/GlobeDataClasses.h"

#include <mutex>

#include "globe/data/BitmapObject.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/LYRReader.h"
#include "globe/data/MIFReader.h"
#include "globe/data/SHPReader.h"

namespace globe {

void RegisterGlobeDataClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGlobeClass<TGlobeLayer, TGlobeLayer, TCustomVoduz4*>("TGlobeLayer");
    RegisterGlobeClass<TGlobeObjectSource, TGlobeObjectSource, TCustomVoduz4*>("TGlobeObjectSource");
    RegisterGlobeClass<TGlobeFileReader, TGlobeObjectSource, TCustomVoduz4*>("TGlobeFileReader");
    RegisterGlobeClass<TGlobeLYRReader, TGlobeObjectSource, TCustomVoduz4*>("TGlobeLYRReader");
    RegisterGlobeClass<TGlobeSHPReader, TGlobeObjectSource, TCustomVoduz4*>("TGlobeSHPReader");
    RegisterGlobeClass<TGlobeMIFReader, TGlobeObjectSource, TCustomVoduz4*>("TGlobeMIFReader");
    RegisterGlobeClass<TGlobeObject, TGlobeObject, TGlobeObjectSource*>("TGlobeObject");
    RegisterGlobeClass<TGeoDataObject, TGlobeObject, TGlobeObjectSource*>("TGeoDataObject");
    RegisterGlobeClass<TBitmapObject, TGlobeObject, TGlobeObjectSource*>("TBitmapObject");
  });
}

}  // namespace globe
