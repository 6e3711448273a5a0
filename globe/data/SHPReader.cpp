#include "globe/data/SHPReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "globe/data/DBFReader.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/MappedPages.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/MetaDataFile.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/ShapeFile.h"
#include "globe/data/XmlElement.h"

namespace globe {

namespace {

// GetObject releases the pages of a record of at least this many bytes once converted: reading a
// large file whole then does not hold all of it at once. (The mapping read touches a record's
// header only, which maps the record's first pages; smaller records stay mapped.)
constexpr int64_t kReleasedRecordBytes = int64_t{64} << 10;

bool UsableDivisor(double value) { return std::isfinite(value) && value != 0.0; }

} // namespace

TGlobeSHPReader::TGlobeSHPReader(TGlobeHost* globe) : TGlobeFileReader(globe) {}

TGlobeSHPReader::~TGlobeSHPReader() {
    // The source's own destructor cannot reach this reader's Close.
    if (Active()) {
        SetCount(0);
        Release();
    }
}

void TGlobeSHPReader::SetLongXDivisor(double value) {
    if (UsableDivisor(value))
        FLongXDivisor = value;
}

void TGlobeSHPReader::SetLatYDivisor(double value) {
    if (UsableDivisor(value))
        FLatYDivisor = value;
}

void TGlobeSHPReader::SetLongXShift(double value) {
    if (std::isfinite(value))
        FLongXShift = value;
}

void TGlobeSHPReader::SetLatYShift(double value) {
    if (std::isfinite(value))
        FLatYShift = value;
}

void TGlobeSHPReader::SetTitleColumn(int32_t column) {
    if (column == FTitleColumn)
        return;
    FTitleColumn = column;
    Flush();
}

TGeoPoint TGlobeSHPReader::ToGeoPoint(const TShapePoint& point) const {
    // Plain degrees (the usual settings): x / 1 + 0 is x itself, so the doubles convert directly.
    if (FLongXDivisor == 1.0 && FLongXShift == 0.0 && FLatYDivisor == 1.0 && FLatYShift == 0.0)
        return TGeoPoint(DoubleDegToGU(point.X), DoubleDegToGU(point.Y));
    const long double longitude = static_cast<long double>(point.X) / FLongXDivisor + FLongXShift;
    const long double latitude = static_cast<long double>(point.Y) / FLatYDivisor + FLatYShift;
    return TGeoPoint(DegToGU(longitude), DegToGU(latitude));
}

void TGlobeSHPReader::ConvertPoints(const std::uint8_t* xy, TPointStore& chain) const {
    // A run of points at a time: converted on the stack, then stored in one copy.
    constexpr int32_t kRun = 128;
    int32_t longLat[2 * kRun];
    const bool plainDegrees = FLongXDivisor == 1.0 && FLongXShift == 0.0 && FLatYDivisor == 1.0 && FLatYShift == 0.0;
    for (int32_t first = 0; first < chain.Count(); first += kRun) {
        const int32_t run = std::min(kRun, chain.Count() - first);
        const std::uint8_t* at = xy + 16 * static_cast<std::size_t>(first);
        if (plainDegrees) {
            // x / 1 + 0 is x itself: every Double of the run in one bulk conversion.
            DoubleDegPairsToGUs(reinterpret_cast<const std::byte*>(at), static_cast<std::size_t>(run), longLat);
        } else {
            for (int32_t i = 0; i < run; ++i) {
                TShapePoint point;
                std::memcpy(&point.X, at + 16 * i, 8);
                std::memcpy(&point.Y, at + 16 * i + 8, 8);
                const TGeoPoint converted = ToGeoPoint(point);
                longLat[2 * i] = converted.LongX;
                longLat[2 * i + 1] = converted.LatY;
            }
        }
        chain.StoreLongLat(first, longLat, run);
    }
}

bool TGlobeSHPReader::Open() {
    const std::string fileName = FileName();
    if (!TakeNameFromFile())
        return false;
    try {
        FStream = std::make_unique<TMemoryMapStream>(fileName);
        const std::string table = shapefile::CompanionFile(fileName, "dbf");
        if (!table.empty())
            FDBF = std::make_unique<TGlobeDBFReader>(table);
        const std::string metaData = MetaDataFileName(*this);
        if (!MetaDataIsCurrent(metaData, fileName) || !LoadMetaData(metaData)) {
            if (!MapStream(*FStream)) {
                Release();
                return false;
            }
            // The mapping read built every object: its pages are done with.
            ReleaseMappedPages(FStream->Memory(), FStream->Size());
            if (!metaData.empty())
                SaveMetaData(metaData);
        }
    } catch (...) {
        SetCount(0);
        Release();
        throw;
    }
    return TGlobeFileReader::Open();
}

bool TGlobeSHPReader::Close() {
    SetCount(0);
    Release();
    return TGlobeFileReader::Close();
}

void TGlobeSHPReader::Release() {
    FIndex.clear();
    FIndex.shrink_to_fit();
    FDBF.reset();
    FStream.reset();
}

bool TGlobeSHPReader::ReadHeader(TGlobeStream& stream) {
    switch (shapefile::CheckHeader(FStream->Memory(), FStream->Size())) {
    case shapefile::hcBadFileCode:
        throw EGlobeException("Invalid SHP file " + FileName());
    case shapefile::hcBadVersion:
        throw EGlobeException("Invalid SHP file version " + FileName());
    case shapefile::hcValid:
        break;
    }
    FIndex.clear();
    FNextRecord = shapefile::kHeaderSize;
    FRecordsSeen = 0;
    stream.Seek(FNextRecord);
    return true;
}

bool TGlobeSHPReader::ReadObject(TGlobeStream& stream, int32_t index) {
    const std::uint8_t* data = FStream->Memory();
    const int64_t size = FStream->Size();
    for (int64_t next; (next = shapefile::NextRecordOffset(data, size, FNextRecord)) >= 0;) {
        const int64_t offset = FNextRecord;
        FNextRecord = next;
        ++FRecordsSeen;
        stream.Seek(next);
        if (!shapefile::IsReadableRecord(data, size, offset))
            continue;   // a shape type not read, or a damaged record: no object, keep going
        if (static_cast<int32_t>(FIndex.size()) != index)
            FIndex.resize(static_cast<std::size_t>(index));
        FIndex.push_back({offset, FDBF ? FRecordsSeen : 0});   // the table's record, 0 without one
        return true;
    }
    return false;
}

std::unique_ptr<TGlobeObject> TGlobeSHPReader::GetObject(int32_t index, bool) {
    if (!FStream || index < 0 || index >= static_cast<int32_t>(FIndex.size()))
        return nullptr;
    const TEntry& entry = FIndex[static_cast<std::size_t>(index)];
    TShapeView& view = FView;
    const bool viewed = shapefile::ViewRecord(FStream->Memory(), FStream->Size(), entry.Offset, view);
    FStream->CheckIntact();  // a record read from a file cut short meanwhile is not used
    if (!viewed)
        return nullptr;

    auto object = std::make_unique<TGeoDataObject>(this);
    if (view.ShapeType == stPoint) {
        TPointStore point;
        point.SetCount(1);
        ConvertPoints(view.Points, point);
        object->SetCentroid(point.Point(0));
    } else {
        TChainStore& chains = object->Chains();
        for (int64_t part = 0; part < view.PartCount(); ++part) {
            const int64_t first = view.Starts[static_cast<std::size_t>(part)];
            TPointStore& chain = chains.Chain(static_cast<int32_t>(part));
            chain.SetCountUnfilled(static_cast<int32_t>(view.Starts[static_cast<std::size_t>(part) + 1] - first));
            ConvertPoints(view.Points + first * 16, chain);  // every point of the chain
        }
        if (view.ShapeType == stPolygon)
            object->SetClosed(true);
        const int64_t bytes = view.Starts.empty() ? 0 : 16 * view.Starts.back();
        if (bytes >= kReleasedRecordBytes)
            ReleaseMappedPages(view.Points, bytes);
    }
    if (FDBF) {
        FDBF->Seek(entry.DBFRecord);
        object->SetTitle(FTitleColumn != -1 ? FDBF->Field(FTitleColumn) : std::string("New Object"));
        object->SetID(entry.DBFRecord);
    }
    FStream->CheckIntact();  // nor are its points
    return object;
}

bool TGlobeSHPReader::LoadMetaData(const std::string& fileName) {
    try {
        TGlobeStreamReader reader(std::make_unique<TGlobeMemoryStream>(ReadFileBytes(fileName)));
        reader.SetVersion(GlobeStreamVersion);
        ReadSharedMetaData(reader, *this);
        const double divisors[4] = {reader.ReadDouble(), reader.ReadDouble(), reader.ReadDouble(), reader.ReadDouble()};
        const int32_t titleColumn = reader.ReadInteger();
        const int32_t count = reader.ReadInteger();
        if (count != Count() || count > reader.Stream().Remaining() / 8)
            throw EGlobeException("Invalid meta-data index");
        // Every offset must start a whole record: checked against the index file when it describes
        // this main file (read whole, 8 bytes a record), else by the record's own header (a page of
        // the mapping touched per record).
        std::vector<std::int64_t> recordStarts;
        if (const std::string shx = shapefile::CompanionFile(FileName(), "shx"); !shx.empty()) {
            const std::string bytes = ReadFileBytes(shx);
            recordStarts = shapefile::IndexedRecordOffsets(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                           static_cast<std::int64_t>(bytes.size()), FStream->Size());
        }
        auto startsRecord = [&](std::int64_t offset) {
            if (!recordStarts.empty())
                return std::binary_search(recordStarts.begin(), recordStarts.end(), offset);
            return offset >= shapefile::kHeaderSize &&
                   shapefile::NextRecordOffset(FStream->Memory(), FStream->Size(), offset) >= 0;
        };
        std::vector<TEntry> index(static_cast<std::size_t>(count));
        for (TEntry& entry : index) {
            entry.Offset = reader.ReadInteger();
            entry.DBFRecord = reader.ReadInteger();
            if (FDBF && entry.DBFRecord == 0)   // indexed before the table was there
                throw EGlobeException("Invalid meta-data index");
            if (!startsRecord(entry.Offset))
                throw EGlobeException("Invalid meta-data index");
        }
        FIndex = std::move(index);
        SetLongXDivisor(divisors[0]);
        SetLatYDivisor(divisors[1]);
        SetLongXShift(divisors[2]);
        SetLatYShift(divisors[3]);
        if (FTitleColumn == -1)
            SetTitleColumn(titleColumn);
        return true;
    } catch (const EGlobeException&) {
        FIndex.clear();
        DiscardMetaData(fileName, *this);
        return false;
    }
}

void TGlobeSHPReader::SaveMetaData(const std::string& fileName) {
    SaveMetaDataFile(fileName, *this, [&](TGlobeStreamWriter& writer) {
        writer.WriteDouble(FLongXDivisor);
        writer.WriteDouble(FLatYDivisor);
        writer.WriteDouble(FLongXShift);
        writer.WriteDouble(FLatYShift);
        writer.WriteInteger(FTitleColumn);
        writer.WriteInteger(static_cast<int32_t>(FIndex.size()));
        for (const TEntry& entry : FIndex) {
            writer.WriteInteger(static_cast<int32_t>(entry.Offset));
            writer.WriteInteger(entry.DBFRecord);
        }
    });
}

void TGlobeSHPReader::LoadEnvironment(const TGXML_Element* element) {
    if (element) {
        SetLongXDivisor(element->Attribute("LongXDivisor", FLongXDivisor));
        SetLatYDivisor(element->Attribute("LatYDivisor", FLatYDivisor));
        SetLongXShift(element->Attribute("LongXShift", FLongXShift));
        SetLatYShift(element->Attribute("LatYShift", FLatYShift));
        SetTitleColumn(element->Attribute("TitleColumn", FTitleColumn));
    }
    TGlobeFileReader::LoadEnvironment(element);
}

std::unique_ptr<TGXML_Element> TGlobeSHPReader::SaveEnvironment() const {
    std::unique_ptr<TGXML_Element> element = TGlobeFileReader::SaveEnvironment();
    element->AddAttribute("LongXDivisor", FLongXDivisor);
    element->AddAttribute("LatYDivisor", FLatYDivisor);
    element->AddAttribute("LongXShift", FLongXShift);
    element->AddAttribute("LatYShift", FLatYShift);
    element->AddAttribute("TitleColumn", FTitleColumn);
    return element;
}

} // namespace globe
