#include "globe/view/ProjectionClasses.h"

#include "globe/data/ClassRegistry.h"
#include "globe/view/CartesianPrj.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/SphericalPrj.h"

namespace globe {

void RegisterProjectionClasses() {
  RegisterGlobeClass<TSphericalPrj, TProjectionModel, TGlobeProjection*>("TSphericalPrj");
  RegisterGlobeClass<TCartesianPrj, TProjectionModel, TGlobeProjection*>("TCartesianPrj");
  RegisterGlobeClass<TMercatorPrj, TProjectionModel, TGlobeProjection*>("TMercatorPrj");
}

}  // namespace globe
