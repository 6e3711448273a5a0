#pragma once
// Read-only stream over a memory-mapped file: the whole file is mapped once and reads copy out of
// the mapping. Shared by the LYR, SHP, DBF and MIF readers.

#include <cstddef>
#include <cstdint>
#include <string>

namespace globe {

class TMemoryMapStream {
public:
    enum TSeekOrigin { soBeginning, soCurrent, soEnd };

    // Opens the file for reading (other readers allowed) and maps all of it read-only.
    // Throws std::runtime_error "Unable to open file <name>", "Unable to create file mapping"
    // (not a regular file) or "Unable to map view of file".
    explicit TMemoryMapStream(const std::string& fileName);
    ~TMemoryMapStream();
    TMemoryMapStream(const TMemoryMapStream&) = delete;
    TMemoryMapStream& operator=(const TMemoryMapStream&) = delete;

    const std::string& FileName() const { return FFileName; }
    // The mapped bytes (null for an empty file) and their count.
    const std::uint8_t* Memory() const { return FMemory; }
    std::int64_t Size() const { return FSize; }

    std::int64_t Position() const { return FPosition; }
    // Any position may be set (also past the end); reads there return nothing.
    void SetPosition(std::int64_t position) { FPosition = position; }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin);

    // Copies up to count bytes from the current position; returns the number copied.
    std::int64_t Read(void* buffer, std::int64_t count);
    // Copies exactly count bytes or throws std::runtime_error "Stream read error".
    void ReadBuffer(void* buffer, std::int64_t count);
    // Bytes left from the current position (0 past the end).
    std::int64_t Remaining() const;

    // The stream is read-only: both always throw "<class>.SetSize/Write: Not supported".
    [[noreturn]] void SetSize(std::int64_t newSize);
    [[noreturn]] std::int64_t Write(const void* buffer, std::int64_t count);

private:
    std::string FFileName;
    int FHandle = -1;
    const std::uint8_t* FMemory = nullptr;
    std::int64_t FSize = 0;
    std::int64_t FPosition = 0;
};

} // namespace globe
