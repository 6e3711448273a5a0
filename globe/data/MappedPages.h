#pragma once
// Pages of a read-only file mapping that a reader has finished with, dropped from the process's
// resident memory, so that reading a large file whole does not hold all of it at once. The
// file's bytes stay in the system's file cache and map again, unchanged, when read once more.

#include <cstdint>

namespace globe {

// Drops the whole pages within [begin, begin + size) of a read-only file mapping from the
// process's memory (the partial pages at the ends stay). Nothing for an empty or null range.
void ReleaseMappedPages(const std::uint8_t* begin, std::int64_t size);

} // namespace globe
