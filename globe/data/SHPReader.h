#pragma once
// Object source for ESRI shapefiles: maps the main file, indexes its records and builds one
// TGeoDataObject per point, polyline, polygon or multipoint record on demand, with title and ID
// from the dBASE table beside it. Records of other shape types (null shapes, Z and M shapes) and
// damaged records are passed over by their length, so the rest of the file still maps.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "globe/data/GlobeFileReader.h"
#include "globe/data/ShapeFile.h"

namespace globe {

class TGlobeDBFReader;
class TMemoryMapStream;
class TPointStore;
struct TShapePoint;

class TGlobeSHPReader : public TGlobeFileReader {
public:
    explicit TGlobeSHPReader(TGlobeHost* globe);
    ~TGlobeSHPReader() override;

    std::string ClassName() const override { return "TGlobeSHPReader"; }

    // Longitude = x / LongXDivisor + LongXShift, latitude = y / LatYDivisor + LatYShift, in
    // degrees. A divisor of 0 or a value that is not finite is ignored.
    double LongXDivisor() const { return FLongXDivisor; }
    void SetLongXDivisor(double value);
    double LatYDivisor() const { return FLatYDivisor; }
    void SetLatYDivisor(double value);
    double LongXShift() const { return FLongXShift; }
    void SetLongXShift(double value);
    double LatYShift() const { return FLatYShift; }
    void SetLatYShift(double value);
    // The dBASE field (0-based) that titles the objects; -1: every object is "New Object".
    // A change flushes the built objects so that titles are taken again.
    int32_t TitleColumn() const { return FTitleColumn; }
    void SetTitleColumn(int32_t column);

    // The shapefile point in globe units (longitude normalised, height 0).
    TGeoPoint ToGeoPoint(const TShapePoint& point) const;

    // The conversion settings and TitleColumn, read before the file reader's own attributes.
    void LoadEnvironment(const TGXML_Element* element) override;
    std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

protected:
    bool Open() override;
    bool Close() override;
    // Raises EGlobeException "Invalid SHP file <name>" / "Invalid SHP file version <name>".
    bool ReadHeader(TGlobeStream& stream) override;
    bool ReadObject(TGlobeStream& stream, int32_t index) override;
    std::unique_ptr<TGlobeObject> GetObject(int32_t index, bool emptyRecord) override;

private:
    struct TEntry {
        int64_t Offset;       // of the record in the main file
        int32_t DBFRecord;    // 1-based record of the table: the record's place in the file
    };
    void Release();
    // The index from the meta-data file; false (and the file deleted) when it is unusable.
    bool LoadMetaData(const std::string& fileName);
    void SaveMetaData(const std::string& fileName);
    // Converts the points stored from `xy` on (x, y Doubles) into every point of `chain`.
    void ConvertPoints(const std::uint8_t* xy, TPointStore& chain) const;

    double FLongXDivisor = 1.0;
    double FLatYDivisor = 1.0;
    double FLongXShift = 0.0;
    double FLatYShift = 0.0;
    int32_t FTitleColumn = -1;

    std::vector<TEntry> FIndex;
    std::unique_ptr<TGlobeDBFReader> FDBF;
    std::unique_ptr<TMemoryMapStream> FStream;
    TShapeView FView;   // the record GetObject reads, kept to reuse its part list's room
    int64_t FNextRecord = 0;     // offset of the next record during the mapping read
    int32_t FRecordsSeen = 0;    // records passed so far during the mapping read
};

} // namespace globe
