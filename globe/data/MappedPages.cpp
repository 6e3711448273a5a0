#include "globe/data/MappedPages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>

namespace globe {

void ReleaseMappedPages(const std::uint8_t* begin, std::int64_t size) {
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    if (begin == nullptr || size <= 0)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (start + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t end = (start + static_cast<std::uintptr_t>(size)) / pageSize * pageSize;
    if (end <= first)
        return;
    // Advice only: pages the system keeps mapped are never wrong.
    ::madvise(reinterpret_cast<void*>(first), static_cast<std::size_t>(end - first), MADV_DONTNEED);
}

} // namespace globe
