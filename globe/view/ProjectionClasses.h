#pragma once
// Registration of the projection models in the class registry, so that environment files and
// the projection's ProjectionClass can name them.

namespace globe {

// Registers TSphericalPrj, TCartesianPrj and TMercatorPrj, created as TProjectionModel from a
// TGlobeProjection*. Safe to call more than once.
void RegisterProjectionClasses();

}  // namespace globe
