#pragma once
// Object source for LYR layer files, the engine's own binary layer format: a version word, an
// extent, blocks of presenters, then blocks of objects of one class each. The file is mapped;
// the mapping read records where every object starts and objects are read on demand from there.
// SaveLYRFile writes a source's presenters and objects in the same format.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GlobeFileReader.h"

namespace globe {

class TGlobeClassEntry;
class TGlobeStreamReader;
class TMemoryMapStream;

// The version written by SaveLYRFile; files below 0x0300 are refused.
inline constexpr uint16_t LYRFileVersion = 0x0405;

class TGlobeLYRReader : public TGlobeFileReader {
public:
    explicit TGlobeLYRReader(TGlobeHost* globe);
    ~TGlobeLYRReader() override;

    std::string ClassName() const override { return "TGlobeLYRReader"; }

protected:
    bool Open() override;
    bool Close() override;
    // Raises EGlobeException "Invalid File Version %X in %s" below version 0x0300, and the class
    // registry's errors for a class name it does not know.
    bool ReadHeader(TGlobeStream& stream) override;
    bool ReadObject(TGlobeStream& stream, int32_t index) override;
    std::unique_ptr<TGlobeObject> GetObject(int32_t index, bool emptyRecord) override;

private:
    struct TEntry {
        int32_t ClassNumber;
        int64_t Offset;
    };
    void Release();
    // The index from the meta-data file; false (and the file deleted) when it is unusable.
    bool LoadMetaData(const std::string& fileName);
    void SaveMetaData(const std::string& fileName);

    std::vector<TEntry> FIndex;
    std::vector<const TGlobeClassEntry*> FClasses;   // the object classes met, by class number
    std::vector<std::string> FClassNames;
    int64_t FObjectsLeft = 0;
    int32_t FCurrentClass = 0;
    std::unique_ptr<TMemoryMapStream> FStream;
    std::unique_ptr<TGlobeStreamReader> FReader;
};

// Writes the source's presenters and objects (each built as needed) as a LYR file.
void SaveLYRFile(TGlobeObjectSource& source, const std::string& fileName);

} // namespace globe
