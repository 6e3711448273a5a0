#include "globe/data/DBFReader.h"

#include <algorithm>
#include <cstring>

namespace globe {

namespace {

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t LongWord(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Removes characters up to the blank from both ends (blanks, NULs and other control characters).
std::string TrimBlanks(const char* begin, const char* end) {
    while (begin < end && static_cast<unsigned char>(*begin) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(end[-1]) <= ' ')
        --end;
    return std::string(begin, end);
}

constexpr const char* kBadVersion = "Unsupported DBase III version in Stream";
constexpr const char* kBadHeader = "Invalid DBase III header in Stream";

} // namespace

int TGlobeDBFReader::TFieldDescriptor::Offset() const {
    return static_cast<int>(LongWord(Bytes + 12));
}

TGlobeDBFReader::TGlobeDBFReader(const std::string& fileName)
    : FStream(std::make_unique<TMemoryMapStream>(fileName)) {
    ReadHeader();
    First();
}

void TGlobeDBFReader::ReadHeader() {
    const std::uint8_t* data = FStream->Memory();
    const std::int64_t size = FStream->Size();
    if (size < 1 || (data[0] != 3 && data[0] != 0x83)) {
        FStream.reset();   // the stream is closed with the failure
        throw EDBFException(kBadVersion);
    }
    if (size < 32) {
        FStream.reset();
        throw EDBFException(kBadHeader);
    }
    FRecordCount = LongWord(data + 4);
    FHeaderLength = Word(data + 8);
    FRecordLength = Word(data + 10);
    if (FHeaderLength < 32 || FHeaderLength > size) {
        FStream.reset();
        throw EDBFException(kBadHeader);
    }
    FRecord.assign(FRecordLength, ' ');

    // Descriptors fill the header after its first 32 bytes up to the terminator (0 or 13).
    int offset = 1;   // after the deletion flag
    for (std::int64_t at = 32; at + 32 <= FHeaderLength; at += 32) {
        if (data[at] == 0 || data[at] == 13)
            break;
        TFieldDescriptor field;
        std::memcpy(field.Bytes, data + at, sizeof field.Bytes);
        for (int i = 0; i < 4; ++i)
            field.Bytes[12 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
        offset += field.Length();
        FFields.push_back(field);
    }
}

void TGlobeDBFReader::First() {
    FCurrentRecord = 1;
    FStream->Seek(FHeaderLength);
}

void TGlobeDBFReader::Seek(std::int64_t record) {
    if (record < 1)
        return;
    FCurrentRecord = record;
    std::fill(FRecord.begin(), FRecord.end(), ' ');
    if (record - 1 > FStream->Size())
        return;   // far beyond the file: a blank record
    // Records are copied straight from the mapping; bytes past the end of the file stay blank.
    const std::int64_t start = FHeaderLength + static_cast<std::int64_t>(FRecordLength) * (record - 1);
    const std::int64_t available = std::clamp<std::int64_t>(FStream->Size() - start, 0, FRecordLength);
    if (available > 0)
        std::memcpy(FRecord.data(), FStream->Memory() + start, static_cast<std::size_t>(available));
    FStream->Seek(start + available);
}

std::string TGlobeDBFReader::Field(int index) const {
    if (index < 0 || index >= FieldCount())
        return {};
    const TFieldDescriptor& field = FFields[static_cast<std::size_t>(index)];
    // Fields whose bytes run past the record length are cut at its end.
    const int begin = std::min<int>(field.Offset(), FRecordLength);
    const int end = std::min<int>(field.Offset() + field.Length(), FRecordLength);
    return TrimBlanks(FRecord.data() + begin, FRecord.data() + end);
}

std::string TGlobeDBFReader::FieldName(int index) const {
    if (index < 0 || index >= FieldCount())
        return {};
    const auto* name = reinterpret_cast<const char*>(FFields[static_cast<std::size_t>(index)].Bytes);
    return std::string(name, strnlen(name, 11));
}

char TGlobeDBFReader::FieldType(int index) const {
    if (index < 0 || index >= FieldCount())
        return 0;
    return static_cast<char>(FFields[static_cast<std::size_t>(index)].Bytes[11]);
}

int TGlobeDBFReader::FieldLength(int index) const {
    if (index < 0 || index >= FieldCount())
        return 0;
    return FFields[static_cast<std::size_t>(index)].Length();
}

} // namespace globe
