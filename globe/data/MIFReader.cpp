#include "globe/data/MIFReader.h"

#include <filesystem>

#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/MIFFile.h"
#include "globe/data/MetaDataFile.h"
#include "globe/data/XmlElement.h"

namespace globe {

namespace {

TMIFPresenterFactory& PresenterFactory() {
    static TMIFPresenterFactory factory;
    return factory;
}

} // namespace

void SetMIFPresenterFactory(TMIFPresenterFactory factory) { PresenterFactory() = std::move(factory); }

TGlobeMIFReader::TGlobeMIFReader(TGlobeHost* globe) : TGlobeFileReader(globe) {}

TGlobeMIFReader::~TGlobeMIFReader() {
    // The source's own destructor cannot reach this reader's Close.
    if (Active()) {
        SetCount(0);
        FFile.reset();
    }
}

void TGlobeMIFReader::SetTitleColumn(int32_t column) {
    if (column == FTitleColumn)
        return;
    FTitleColumn = column;
    if (FFile)
        FFile->TitleColumn = column;
    Flush();
}

bool TGlobeMIFReader::Open() {
    const std::string fileName = FileName();
    if (!TakeNameFromFile())
        return false;
    try {
        FFile = std::make_unique<TMIFFile>(fileName);
        FFile->CoordSys = FMIFCoordSys;
        FFile->TitleColumn = FTitleColumn;
        const std::string metaData = MetaDataFileName(*this);
        if (!MetaDataIsCurrent(metaData, fileName) || !LoadMetaData(metaData)) {
            if (!MapStream(FFile->MIFStream())) {
                FFile.reset();
                return false;
            }
            if (!metaData.empty())
                SaveMetaData(metaData);
        }
    } catch (...) {
        SetCount(0);
        FFile.reset();
        throw;
    }
    return TGlobeFileReader::Open();
}

bool TGlobeMIFReader::Close() {
    SetCount(0);
    FFile.reset();
    return TGlobeFileReader::Close();
}

bool TGlobeMIFReader::ReadHeader(TGlobeStream&) {
    FFile->ReadHeader();
    FMIFCoordSys = FFile->CoordSys;
    FMIDDelimiter = std::string(1, FFile->Delimiter);
    FMIDColumnNames = FFile->ColumnNames;
    return true;
}

bool TGlobeMIFReader::ReadObject(TGlobeStream&, int32_t index) {
    return FFile->ReadObject() && FFile->Count() == index + 1;
}

std::unique_ptr<TGlobeObject> TGlobeMIFReader::GetObject(int32_t index, bool emptyRecord) {
    if (!FFile || index < 0 || index >= FFile->Count())
        return nullptr;
    FFile->Delimiter = FMIDDelimiter.empty() ? '\t' : FMIDDelimiter[0];
    const TMIFObject parsed = FFile->GetObject(index, emptyRecord);
    auto object = std::make_unique<TGeoDataObject>(this);
    if (parsed.Chains.empty()) {
        object->SetCentroid(parsed.Centre);
    } else {
        TChainStore& chains = object->Chains();
        for (std::size_t c = 0; c < parsed.Chains.size(); ++c) {
            TPointStore& chain = chains.Chain(static_cast<int32_t>(c));
            const std::vector<TGeoPoint>& points = parsed.Chains[c];
            chain.SetCount(static_cast<int32_t>(points.size()));
            for (std::size_t i = 0; i < points.size(); ++i)
                chain.SetPoint(static_cast<int32_t>(i), points[i]);
        }
    }
    if (parsed.Closed)
        object->SetClosed(true);
    object->SetTitle(parsed.Title);
    if (emptyRecord && PresenterFactory())
        if (const int32_t id = PresenterFactory()(*this, parsed); id != 0)
            object->SetPresenterID(id);
    return object;
}

bool TGlobeMIFReader::LoadMetaData(const std::string& fileName) {
    try {
        TGlobeStreamReader reader(std::make_unique<TGlobeMemoryStream>(ReadFileBytes(fileName)));
        reader.SetVersion(GlobeStreamVersion);
        ReadSharedMetaData(reader, *this);
        const int32_t titleColumn = reader.ReadInteger();
        std::string delimiter = reader.ReadShortString();
        std::string coordSys = reader.ReadShortString();
        const int32_t columns = reader.ReadInteger();
        if (columns < 0 || columns > reader.Stream().Remaining())
            throw EGlobeException("Invalid meta-data columns");
        std::vector<std::string> columnNames;
        for (int32_t i = 0; i < columns; ++i)
            columnNames.push_back(reader.ReadShortString());
        const int32_t count = reader.ReadInteger();
        if (count != Count() || count > reader.Stream().Remaining() / 8)
            throw EGlobeException("Invalid meta-data index");
        std::vector<TMIFFile::TEntry> index(static_cast<std::size_t>(count));
        for (TMIFFile::TEntry& entry : index) {
            entry.MIFPosition = reader.ReadInteger();
            entry.MIDPosition = reader.ReadInteger();
        }
        FFile->SetIndex(std::move(index));
        FFile->CoordSys = FMIFCoordSys = coordSys;
        FMIDDelimiter = delimiter.empty() ? std::string("\t") : delimiter;
        FFile->Delimiter = FMIDDelimiter[0];
        FFile->ColumnNames = FMIDColumnNames = std::move(columnNames);
        // The title column saved with the index is restored with it; no object is built yet.
        FFile->TitleColumn = FTitleColumn = titleColumn;
        return true;
    } catch (const EGlobeException&) {
        FFile->SetIndex({});
        DiscardMetaData(fileName, *this);
        return false;
    }
}

void TGlobeMIFReader::SaveMetaData(const std::string& fileName) {
    SaveMetaDataFile(fileName, *this, [&](TGlobeStreamWriter& writer) {
        writer.WriteInteger(FTitleColumn);
        writer.WriteShortString(FMIDDelimiter);
        writer.WriteShortString(FMIFCoordSys);
        writer.WriteInteger(static_cast<int32_t>(FMIDColumnNames.size()));
        for (const std::string& name : FMIDColumnNames)
            writer.WriteShortString(name);
        writer.WriteInteger(FFile->Count());
        for (const TMIFFile::TEntry& entry : FFile->Index()) {
            writer.WriteInteger(static_cast<int32_t>(entry.MIFPosition));
            writer.WriteInteger(static_cast<int32_t>(entry.MIDPosition));
        }
    });
}

void TGlobeMIFReader::LoadEnvironment(const TGXML_Element* element) {
    TGlobeFileReader::LoadEnvironment(element);
    if (element) {
        FMIFCoordSys = element->Attribute("MIFCoordSys", FMIFCoordSys);
        FMIDDelimiter = element->Attribute("MIDDelimiter", FMIDDelimiter);
        SetTitleColumn(element->Attribute("TitleColumn", int32_t{0}));
    }
    SetActive(true);
}

std::unique_ptr<TGXML_Element> TGlobeMIFReader::SaveEnvironment() const {
    std::unique_ptr<TGXML_Element> element = TGlobeFileReader::SaveEnvironment();
    element->AddAttribute("MIFCoordSys", FMIFCoordSys);
    element->AddAttribute("MIDDelimiter", FMIDDelimiter);
    element->AddAttribute("TitleColumn", FTitleColumn);
    return element;
}

} // namespace globe
