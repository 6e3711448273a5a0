#pragma once
// Registration of every globe class that environment and layer files can name: layers, object
// sources and readers, objects, presenters and projection models. Static libraries drop
// registration objects nobody refers to, so programs call this explicitly; the view does it
// before its core is built (the layer store makes its global presenters by class name).

namespace globe {

// Safe to call more than once.
void RegisterGlobeClasses();

// A first base of the view, so that registration runs before the view core is built.
struct TGlobeClassesRegistration {
  TGlobeClassesRegistration() { RegisterGlobeClasses(); }
};

}  // namespace globe
