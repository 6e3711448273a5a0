#pragma once
// Line reader over a memory-mapped text file. Lines end at CR LF, LF or a CR alone; the line
// ending is not part of the line. The mapping is read in place, so no copy buffer is needed.

#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/MemoryMapStream.h"

namespace globe {

class TGlobeTextReader {
public:
    // Maps the file; throws as TMemoryMapStream does.
    explicit TGlobeTextReader(const std::string& fileName);

    // True once every byte has been read (a final line ending does not leave an empty line).
    bool Eof() const { return FPosition >= FStream->Size(); }
    // Moves to a byte offset (clamped to the file); the next ReadLine starts there.
    void Seek(std::int64_t position);
    // Returns the next line without its ending; an empty text at the end of the file.
    std::string ReadLine();

    std::int64_t Position() const { return FPosition; }
    // Where the line last returned by ReadLine began.
    std::int64_t LineStart() const { return FLineStart; }
    std::int64_t Size() const { return FStream->Size(); }
    const std::string& FileName() const { return FStream->FileName(); }
    // The mapped file; its position follows the reader's.
    TMemoryMapStream& Stream() { return *FStream; }

private:
    std::unique_ptr<TMemoryMapStream> FStream;
    std::int64_t FPosition = 0;
    std::int64_t FLineStart = 0;
};

} // namespace globe
