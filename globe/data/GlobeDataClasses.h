#pragma once
// Registers the layer, object source and object classes of the globe data so that environment
// and layer files can name them, and the map-file readers by extension (MapFileReaders.h).
// Safe to call more than once; the view calls it when created.

namespace globe {

void RegisterGlobeDataClasses();

}  // namespace globe
