#pragma once
// Reader of dBASE III attribute tables (the ".DBF" companion of a shapefile): the header, the
// field descriptors and one record at a time, from a read-only mapping of the file.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "globe/data/MemoryMapStream.h"

namespace globe {

// Raised when a table is not a dBASE III file or its header does not fit the file.
class EDBFException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TGlobeDBFReader {
public:
    // Maps the file and reads its header; then stands before the first record.
    // Throws EDBFException "Unsupported DBase III version in Stream" for a version byte other than
    // 3 or 0x83, "Invalid DBase III header in Stream" for a header cut short by the end of the file,
    // and the mapping errors of TMemoryMapStream.
    explicit TGlobeDBFReader(const std::string& fileName);

    // Record number 1, positioned at the first record (the record buffer is not read).
    void First();
    // Reads record `record` (1-based) into the record buffer; 0 or below does nothing. A record
    // wholly or partly beyond the end of the file reads as blanks.
    void Seek(std::int64_t record);
    // The field's characters in the current record with surrounding blanks (and control
    // characters) trimmed; an empty text for an index outside the fields.
    std::string Field(int index) const;

    std::int64_t RecordCount() const { return FRecordCount; }
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    // Field descriptor details; empty / 0 for an index outside the fields.
    std::string FieldName(int index) const;
    char FieldType(int index) const;
    int FieldLength(int index) const;
    // The record last read by Seek (1-based), or 1 after First.
    std::int64_t CurrentRecord() const { return FCurrentRecord; }
    int HeaderLength() const { return FHeaderLength; }
    int RecordLength() const { return FRecordLength; }

private:
    struct TFieldDescriptor {
        std::uint8_t Bytes[32];   // as read; bytes 12..15 hold the field's offset in the record
        int Offset() const;
        int Length() const { return Bytes[16]; }
    };

    void ReadHeader();

    std::int64_t FCurrentRecord = 0;
    std::uint16_t FHeaderLength = 0;
    std::uint16_t FRecordLength = 0;
    std::unique_ptr<TMemoryMapStream> FStream;
    std::vector<char> FRecord;
    std::uint32_t FRecordCount = 0;
    std::vector<TFieldDescriptor> FFields;
};

} // namespace globe
