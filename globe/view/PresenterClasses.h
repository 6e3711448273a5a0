#pragma once
// Registers the presenter classes in the class registry so that environment and layer files can
// name them ("TPointPresenter", "TPolyPresenter", "TPolygonPresenter", "TPolylinePresenter").
// Safe to call more than once; the view calls it before it loads anything.

namespace globe {

void RegisterPresenterClasses();

}  // namespace globe
