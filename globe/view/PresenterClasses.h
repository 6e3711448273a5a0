#pragma once
// Registers the presenter classes in the class registry so that environment and layer files can
// name them ("TPointPresenter", "TPolyPresenter", "TPolygonPresenter", "TPolylinePresenter").
// Safe to call more than once. It must run before a globe is created: the layer store makes its
// two global presenters (IDs -1 and -2) by class name when it is built.

namespace globe {

void RegisterPresenterClasses();

// A first base class for the view control, so that the presenter classes are registered before
// its globe bases are built:  class TVoduz4 : private TPresenterClassesRegistration, public ...
struct TPresenterClassesRegistration {
  TPresenterClassesRegistration() { RegisterPresenterClasses(); }
};

}  // namespace globe
