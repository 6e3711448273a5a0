#include "globe/data/TextReader.h"

#include <algorithm>

namespace globe {

TGlobeTextReader::TGlobeTextReader(const std::string& fileName)
    : FStream(std::make_unique<TMemoryMapStream>(fileName)) {}

void TGlobeTextReader::Seek(std::int64_t position) {
    FPosition = std::clamp<std::int64_t>(position, 0, FStream->Size());
    FStream->Seek(FPosition);
}

std::string TGlobeTextReader::ReadLine() {
    const char* data = reinterpret_cast<const char*>(FStream->Memory());
    const std::int64_t size = FStream->Size();
    FLineStart = FPosition;
    std::int64_t end = FPosition;
    while (end < size && data[end] != '\n' && data[end] != '\r')
        ++end;
    std::string line(data + FPosition, data + end);
    if (end < size) {
        if (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
            ++end;
        ++end;
    }
    FPosition = end;
    FStream->Seek(FPosition);
    return line;
}

} // namespace globe
