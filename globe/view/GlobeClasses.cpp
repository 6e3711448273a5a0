#include "globe/view/GlobeClasses.h"

#include "globe/data/GlobeDataClasses.h"
#include "globe/view/PresenterClasses.h"
#include "globe/view/ProjectionClasses.h"

namespace globe {

void RegisterGlobeClasses() {
  RegisterGlobeDataClasses();
  RegisterProjectionClasses();
  RegisterPresenterClasses();
}

}  // namespace globe
