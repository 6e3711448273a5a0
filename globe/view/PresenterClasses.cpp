#include "globe/view/PresenterClasses.h"

#include "globe/view/MIFPresenters.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"

namespace globe {

void RegisterPresenterClasses() {
  RegisterPresenterClass<TPointPresenter>("TPointPresenter");
  RegisterPresenterClass<TPolyPresenter>("TPolyPresenter");
  RegisterPresenterClass<TPolygonPresenter>("TPolygonPresenter");
  RegisterPresenterClass<TPolylinePresenter>("TPolylinePresenter");
  InstallMIFPresenterFactory();
}

}  // namespace globe
