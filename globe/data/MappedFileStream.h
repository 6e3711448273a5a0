#pragma once
// A file opened as a read-only TGlobeStream over a memory mapping (TMemoryMapStream), for the
// layer readers: TGlobeStreamReader reader(OpenMappedFileStream(fileName));
// The mapping lives as long as the stream.

#include <memory>
#include <string>

#include "globe/data/GlobeStream.h"

namespace globe {

// Raises EGlobeException with the mapping's message when the file cannot be opened or mapped.
std::unique_ptr<TGlobeStream> OpenMappedFileStream(const std::string& fileName);

}  // namespace globe
