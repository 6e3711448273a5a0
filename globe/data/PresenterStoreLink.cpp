#include "globe/data/PresenterStoreLink.h"

#ifdef GLOBE_WITH_PRESENTER_STORE
#include "globe/data/GlobePresenterStore.h"
#endif

namespace globe {

namespace {
void DestroyPresenterStore(TGlobePresenterStore* store) {
#ifdef GLOBE_WITH_PRESENTER_STORE
  delete store;
#else
  (void)store;
#endif
}
}  // namespace

TPresenterStorePtr MakePresenterStore(TCustomVoduz4* globe) {
#ifdef GLOBE_WITH_PRESENTER_STORE
  return TPresenterStorePtr(new TGlobePresenterStore(globe), &DestroyPresenterStore);
#else
  (void)globe;
  return TPresenterStorePtr(nullptr, &DestroyPresenterStore);
#endif
}

}  // namespace globe
