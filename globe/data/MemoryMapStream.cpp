#include "globe/data/MemoryMapStream.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "globe/data/GlobeException.h"
#include "globe/data/MappingGuard.h"

namespace globe {

TMemoryMapStream::TMemoryMapStream(const std::string& fileName) : FFileName(fileName) {
    // O_NONBLOCK: opening a FIFO does not wait for a writer; it is refused below like a device.
    FHandle = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (FHandle < 0)
        throw std::runtime_error("Unable to open file " + fileName);
    struct stat info {};
    if (::fstat(FHandle, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(FHandle);
        throw std::runtime_error("Unable to create file mapping: " + fileName + " is not a regular file");
    }
    FSize = static_cast<std::int64_t>(info.st_size);
    if (FSize > 0) {
        void* view = ::mmap(nullptr, static_cast<std::size_t>(FSize), PROT_READ, MAP_SHARED, FHandle, 0);
        if (view == MAP_FAILED) {
            ::close(FHandle);
            throw std::runtime_error("Unable to map view of file");
        }
        FMemory = static_cast<const std::uint8_t*>(view);
        FGuard = std::make_unique<TMappingGuard>(view, static_cast<std::size_t>(FSize));
    }
}

TMemoryMapStream::~TMemoryMapStream() {
    FGuard.reset();
    if (FMemory)
        ::munmap(const_cast<std::uint8_t*>(FMemory), static_cast<std::size_t>(FSize));
    if (FHandle >= 0)
        ::close(FHandle);
}

bool TMemoryMapStream::Damaged() const { return FGuard && FGuard->Damaged(); }

void TMemoryMapStream::CheckIntact() const {
    if (Damaged())
        throw EGlobeException("File " + FFileName + " is damaged: another program cut it short while it was in use");
}

void TMemoryMapStream::Seek(std::int64_t position) {
    if (position < 0)
        throw EGlobeException("Stream seek error: position " + std::to_string(position));
    CheckIntact();
    FPosition = position;
}

std::size_t TMemoryMapStream::ReadSome(void* buffer, std::size_t count) {
    const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(count), Remaining());
    if (n <= 0)
        return 0;
    std::memcpy(buffer, FMemory + FPosition, static_cast<std::size_t>(n));
    CheckIntact();
    FPosition += n;
    return static_cast<std::size_t>(n);
}

void TMemoryMapStream::SetSize(std::int64_t) {
    throw std::runtime_error("TMemoryMapStream.SetSize: Not supported");
}

void TMemoryMapStream::Write(const void*, std::size_t) {
    throw std::runtime_error("TMemoryMapStream.Write: Not supported");
}

} // namespace globe
