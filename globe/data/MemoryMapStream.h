#pragma once
// Read-only stream over a memory-mapped file: the whole file is mapped once; reads copy out of
// the mapping and the readers that parse in place use Memory(). Shared by the LYR, SHP, DBF and
// MIF readers. The mapping is guarded (TMappingGuard): a file that another program cuts short
// meanwhile reads zeros past its new end instead of ending the program, and from then on every
// Read and Seek throws EGlobeException naming the file as damaged; readers that parse Memory()
// call CheckIntact() after a read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/GlobeStream.h"

namespace globe {

class TMappingGuard;

class TMemoryMapStream final : public TGlobeStream {
public:
    // Opens the file for reading (other readers allowed) and maps all of it read-only.
    // Throws std::runtime_error "Unable to open file <name>", "Unable to create file mapping: <name> is not a regular file"
    // (not a regular file) or "Unable to map view of file". An empty file is an empty stream.
    explicit TMemoryMapStream(const std::string& fileName);
    ~TMemoryMapStream() override;
    TMemoryMapStream(const TMemoryMapStream&) = delete;
    TMemoryMapStream& operator=(const TMemoryMapStream&) = delete;

    const std::string& FileName() const { return FFileName; }
    // The mapped bytes (null for an empty file); Size() of them.
    const std::uint8_t* Memory() const { return FMemory; }

    std::int64_t Size() const override { return FSize; }
    std::int64_t Position() const override { return FPosition; }
    // True once a read found the file cut short by another program (and read zeros).
    bool Damaged() const;
    // Throws EGlobeException "File <name> is damaged: another program cut it short while it was
    // in use" when the file is Damaged.
    void CheckIntact() const;

    // Positions past the end are allowed (reads there fail); negative ones raise EGlobeException.
    void Seek(std::int64_t position) override;

    // The stream is read-only: both always throw "TMemoryMapStream.SetSize: Not supported" and
    // "TMemoryMapStream.Write: Not supported" (std::runtime_error).
    [[noreturn]] void SetSize(std::int64_t newSize);
    [[noreturn]] void Write(const void* buffer, std::size_t count) override;

protected:
    std::size_t ReadSome(void* buffer, std::size_t count) override;

private:
    std::string FFileName;
    int FHandle = -1;
    const std::uint8_t* FMemory = nullptr;
    std::int64_t FSize = 0;
    std::int64_t FPosition = 0;
    std::unique_ptr<TMappingGuard> FGuard;
};

} // namespace globe
