#pragma once
// The drawing of objects that have no presenter: the view installs it into the object classes
// (ObjectRenderers.h) when it is created.

namespace globe {

// TGeoDataObject: its chains in the canvas's current pen (and brush when closed), the pen width
// as clipping margin; an object without chains is a small circle (radius 3 pixels) at its centre.
// TBitmapObject: its picture stretched over its bounds through the canvas's texture fill.
// Safe to call more than once.
void InstallObjectDrawing();

}  // namespace globe
