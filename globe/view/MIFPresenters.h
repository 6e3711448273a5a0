#pragma once
// Presenters for objects read from MapInfo interchange files: a statement's parsed pen, brush and
// font become a polygon presenter (Region), a polyline presenter (Line, Pline) or a point
// presenter (Point, Text) in the reader's presenter store. An existing presenter of that class
// with equal attributes is reused; otherwise a new one is added.

#include <cstdint>

namespace globe {

class TGlobeObjectSource;
struct TMIFObject;

// The PresenterID for the object's style (found or added in the source's presenter store).
int32_t MIFPresenterFor(TGlobeObjectSource& source, const TMIFObject& object);

// Makes the MIF reader use MIFPresenterFor (done when the presenter classes are registered).
void InstallMIFPresenterFactory();

} // namespace globe
