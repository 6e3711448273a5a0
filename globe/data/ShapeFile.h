#pragma once
// Bounds-checked parsing of the ESRI shapefile main file (".shp"): the 100-byte header and the
// records of 2-D point, polyline, polygon and multipoint shapes. Every count and length is checked
// against the record's content and the file, so damaged files yield fewer records, never reads
// outside the data.

#include <cstdint>
#include <string>
#include <vector>

namespace globe {

enum TShapeType : std::int32_t {
    stNull = 0,
    stPoint = 1,
    stPolyLine = 3,
    stPolygon = 5,
    stMultiPoint = 8,
};

struct TShapePoint {
    double X = 0;
    double Y = 0;
};

// One record's geometry: a point is one part of one point, a multipoint one part of all its
// points, a polyline or polygon one part per ring or line.
struct TShapeRecord {
    std::int32_t ShapeType = stNull;
    std::vector<std::vector<TShapePoint>> Parts;
};

// One record's geometry where it lies in the file, for reading without copies: part i holds the
// points Starts[i] to Starts[i + 1] - 1 (the last entry is the point count), each point two
// little-endian Doubles (x, y) from `Points` on.
struct TShapeView {
    std::int32_t ShapeType = stNull;
    std::vector<std::int64_t> Starts;
    const std::uint8_t* Points = nullptr;

    std::int64_t PartCount() const { return Starts.empty() ? 0 : std::int64_t(Starts.size()) - 1; }
};

namespace shapefile {

constexpr std::int64_t kHeaderSize = 100;
constexpr std::int32_t kFileCode = 9994;
constexpr std::int32_t kVersion = 1000;

enum THeaderCheck { hcValid, hcBadFileCode, hcBadVersion };

// Checks the file code (big-endian 9994) and the version (little-endian 1000). A file shorter
// than the header has no valid file code.
THeaderCheck CheckHeader(const std::uint8_t* data, std::int64_t size);

// The offset of the record after the one starting at `offset`, or -1 when no whole record starts
// there (end of data, a header cut short, a negative content length, content past the end).
std::int64_t NextRecordOffset(const std::uint8_t* data, std::int64_t size, std::int64_t offset);

// Reads the record starting at `offset` (already known to be whole). False when its shape type is
// not one of the four 2-D types read, or when its counts or part indices do not fit its content.
bool ParseRecord(const std::uint8_t* data, std::int64_t size, std::int64_t offset, TShapeRecord& record);

// The record starting at `offset` as a view into `data`, with ParseRecord's checks.
bool ViewRecord(const std::uint8_t* data, std::int64_t size, std::int64_t offset, TShapeView& view);

// Whether ParseRecord would read the record, without copying its points (the indexing pass);
// `shapeType` (may be null) receives the record's shape type.
bool IsReadableRecord(const std::uint8_t* data, std::int64_t size, std::int64_t offset,
                      std::int32_t* shapeType = nullptr);

// The record offsets an index file (".shx") lists, when they describe whole records one after
// another from the end of the header to the end of a main file of `mainSize` bytes; empty when
// the index file is damaged or describes another main file.
std::vector<std::int64_t> IndexedRecordOffsets(const std::uint8_t* shx, std::int64_t shxSize, std::int64_t mainSize);

// The companion file of a shapefile with the extension `extension` (lower case, without the dot,
// e.g. "dbf"): first in the case of the main file's extension, then upper, lower and capitalised;
// "" when there is none.
std::string CompanionFile(const std::string& shpFileName, const std::string& extension);

} // namespace shapefile
} // namespace globe
