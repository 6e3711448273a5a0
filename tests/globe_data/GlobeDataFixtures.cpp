#include "GlobeDataFixtures.h"

#include <mutex>

#include "globe/data/ClassRegistry.h"

namespace globe::testing {

void RegisterTestSources() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGlobeClass<TLineReader, TGlobeObjectSource, TCustomVoduz4*>("TLineReader");
    RegisterGlobeClass<TFileCheckingReader, TGlobeObjectSource, TCustomVoduz4*>("TFileCheckingReader");
  });
}

}  // namespace globe::testing
