#include "globe/data/MemoryMapStream.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace globe {

TMemoryMapStream::TMemoryMapStream(const std::string& fileName) : FFileName(fileName) {
    FHandle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (FHandle < 0)
        throw std::runtime_error("Unable to open file " + fileName);
    struct stat info {};
    if (::fstat(FHandle, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(FHandle);
        throw std::runtime_error("Unable to create file mapping");
    }
    FSize = static_cast<std::int64_t>(info.st_size);
    if (FSize > 0) {
        void* view = ::mmap(nullptr, static_cast<std::size_t>(FSize), PROT_READ, MAP_SHARED, FHandle, 0);
        if (view == MAP_FAILED) {
            ::close(FHandle);
            throw std::runtime_error("Unable to map view of file");
        }
        FMemory = static_cast<const std::uint8_t*>(view);
    }
}

TMemoryMapStream::~TMemoryMapStream() {
    if (FMemory)
        ::munmap(const_cast<std::uint8_t*>(FMemory), static_cast<std::size_t>(FSize));
    if (FHandle >= 0)
        ::close(FHandle);
}

std::int64_t TMemoryMapStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = FSize + offset; break;
    }
    return FPosition;
}

std::int64_t TMemoryMapStream::Remaining() const {
    if (FPosition < 0 || FPosition >= FSize)
        return 0;
    return FSize - FPosition;
}

std::int64_t TMemoryMapStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || FPosition < 0)
        return 0;
    const std::int64_t n = std::min(count, Remaining());
    if (n > 0) {
        std::memcpy(buffer, FMemory + FPosition, static_cast<std::size_t>(n));
        FPosition += n;
    }
    return n;
}

void TMemoryMapStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count > 0 && Read(buffer, count) != count)
        throw std::runtime_error("Stream read error");
}

void TMemoryMapStream::SetSize(std::int64_t) {
    throw std::runtime_error("TMemoryMapStream.SetSize: Not supported");
}

std::int64_t TMemoryMapStream::Write(const void*, std::int64_t) {
    throw std::runtime_error("TMemoryMapStream.Write: Not supported");
}

} // namespace globe
