#pragma once
// Object source for MapInfo interchange files (".MIF" with an optional ".MID"): indexes the object
// statements and builds TGeoDataObject objects on demand. Only longitude/latitude tables are read.
// The presenters for the statements' pen, brush and font clauses are made, on an object's first
// build, by a factory that the view layer installs (it knows the concrete presenter classes).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GlobeFileReader.h"

namespace globe {

class TMIFFile;
struct TMIFObject;

// Finds or adds, in the source's presenter store, the presenter that draws a MIF object with its
// parsed style, and returns its PresenterID (0: none).
using TMIFPresenterFactory = std::function<int32_t(TGlobeObjectSource& source, const TMIFObject& object)>;
void SetMIFPresenterFactory(TMIFPresenterFactory factory);

class TGlobeMIFReader : public TGlobeFileReader {
public:
    explicit TGlobeMIFReader(TGlobeHost* globe);
    ~TGlobeMIFReader() override;

    std::string ClassName() const override { return "TGlobeMIFReader"; }

    // The CoordSys line (taken from the file; used for a file without one).
    const std::string& MIFCoordSys() const { return FMIFCoordSys; }
    void SetMIFCoordSys(std::string coordSys) { FMIFCoordSys = std::move(coordSys); }
    // Field delimiter of the ".MID" file (the file's Delimiter statement; a tab by default).
    const std::string& MIDDelimiter() const { return FMIDDelimiter; }
    void SetMIDDelimiter(std::string delimiter) { FMIDDelimiter = std::move(delimiter); }
    // "name=type" per column of the Columns statement.
    const std::vector<std::string>& MIDColumnNames() const { return FMIDColumnNames; }
    // The ".MID" field (0-based) that titles Point and Region objects; outside the fields the
    // whole record line. A change flushes the built objects.
    int32_t TitleColumn() const { return FTitleColumn; }
    void SetTitleColumn(int32_t column);

    // After the file reader's attributes: MIFCoordSys, MIDDelimiter, TitleColumn. Loading also
    // activates the reader.
    void LoadEnvironment(const TGXML_Element* element) override;
    std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

protected:
    bool Open() override;
    bool Close() override;
    // Raises EGlobeException "MIF Import only supports Lat/Long tables." for other tables.
    bool ReadHeader(TGlobeStream& stream) override;
    bool ReadObject(TGlobeStream& stream, int32_t index) override;
    std::unique_ptr<TGlobeObject> GetObject(int32_t index, bool emptyRecord) override;

private:
    // The index from the meta-data file; false (and the file deleted) when it is unusable.
    bool LoadMetaData(const std::string& fileName);
    void SaveMetaData(const std::string& fileName);

    std::string FMIFCoordSys;
    std::string FMIDDelimiter = "\t";
    std::vector<std::string> FMIDColumnNames;
    int32_t FTitleColumn = 0;
    std::unique_ptr<TMIFFile> FFile;
};

} // namespace globe
