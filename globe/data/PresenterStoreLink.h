#pragma once
// How layers, object sources and the layer store hold their presenter stores. The presenter
// classes are built into the engine separately; while they are absent from a build the stores are
// simply missing (null) and everything else works without presenters.

#include <memory>

#if __has_include("globe/data/GlobePresenterStore.h")
#define GLOBE_WITH_PRESENTER_STORE 1
#endif

namespace globe {

class TCustomVoduz4;
class TGlobePresenterStore;

using TPresenterStorePtr = std::unique_ptr<TGlobePresenterStore, void (*)(TGlobePresenterStore*)>;

// A new, empty presenter store for the globe (null without the presenter classes).
TPresenterStorePtr MakePresenterStore(TCustomVoduz4* globe);

}  // namespace globe
