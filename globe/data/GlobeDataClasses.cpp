#include "globe/data/GlobeDataClasses.h"

#include <mutex>

#include "globe/data/BitmapObject.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeHost.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/LYRReader.h"
#include "globe/data/MapFileReaders.h"
#include "globe/data/MIFReader.h"
#include "globe/data/SHPReader.h"

namespace globe {

void RegisterGlobeDataClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGlobeClass<TGlobeLayer, TGlobeLayer, TGlobeHost*>("TGlobeLayer");
    RegisterGlobeClass<TGlobeObjectSource, TGlobeObjectSource, TGlobeHost*>("TGlobeObjectSource");
    RegisterGlobeClass<TGlobeFileReader, TGlobeObjectSource, TGlobeHost*>("TGlobeFileReader");
    RegisterMapFileReader<TGlobeLYRReader>("lyr", "TGlobeLYRReader");
    RegisterMapFileReader<TGlobeSHPReader>("shp", "TGlobeSHPReader");
    RegisterMapFileReader<TGlobeMIFReader>("mif", "TGlobeMIFReader");
    RegisterGlobeClass<TGlobeObject, TGlobeObject, TGlobeObjectSource*>("TGlobeObject");
    RegisterGlobeClass<TGeoDataObject, TGlobeObject, TGlobeObjectSource*>("TGeoDataObject");
    RegisterGlobeClass<TBitmapObject, TGlobeObject, TGlobeObjectSource*>("TBitmapObject");
  });
}

}  // namespace globe
