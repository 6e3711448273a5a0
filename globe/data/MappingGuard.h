#pragma once
// A mapped file that another program shortens meanwhile (a copy over it, a conversion) has no
// bytes behind the pages past its new end: reading them raises SIGBUS, which would end the
// program and lose every unsaved edit. A guarded mapping reads zeros there instead and is marked
// damaged, for its reader to report the file damaged rather than use what it read.
//
// One SIGBUS handler, installed with the first guard, serves every guarded mapping; a fault at
// any other address goes on to the handler that was there before (or ends the program as it
// would have).

#include <cstddef>

namespace globe {

class TMappingGuard {
public:
    // Guards the `size` bytes from `start` of a read-only shared mapping. With more mappings
    // alive than the guard has room for (thousands), the mapping stays unguarded.
    TMappingGuard(const void* start, std::size_t size);
    ~TMappingGuard();
    TMappingGuard(const TMappingGuard&) = delete;
    TMappingGuard& operator=(const TMappingGuard&) = delete;

    // True once a read of the mapping found the file shorter and read zeros.
    bool Damaged() const;

private:
    int Slot_ = -1;
};

} // namespace globe
