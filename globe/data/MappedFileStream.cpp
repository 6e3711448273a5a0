#include "globe/data/MappedFileStream.h"

#include <stdexcept>

#include "globe/data/GlobeException.h"
#include "globe/data/MemoryMapStream.h"

namespace globe {

std::unique_ptr<TGlobeStream> OpenMappedFileStream(const std::string& fileName) {
  std::shared_ptr<TMemoryMapStream> mapping;
  try {
    mapping = std::make_shared<TMemoryMapStream>(fileName);
  } catch (const std::runtime_error& e) {
    throw EGlobeException(e.what());
  }
  const uint8_t* data = mapping->Memory();
  const auto size = static_cast<size_t>(mapping->Size());
  return std::make_unique<TGlobeMemoryViewStream>(data, size, std::move(mapping));
}

}  // namespace globe
