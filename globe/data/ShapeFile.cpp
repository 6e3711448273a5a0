#include "globe/data/ShapeFile.h"

#include <bit>
#include <cctype>
#include <filesystem>

namespace globe::shapefile {

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

// Sequential little-endian reads inside one record's content; every read checks the limit.
class TRecordCursor {
public:
    TRecordCursor(const std::uint8_t* begin, const std::uint8_t* end) : FAt(begin), FEnd(end) {}

    bool Has(std::int64_t bytes) const { return bytes >= 0 && FEnd - FAt >= bytes; }
    void Skip(std::int64_t bytes) { FAt += bytes; }
    const std::uint8_t* At() const { return FAt; }
    std::int32_t Int() {
        const auto v = static_cast<std::int32_t>(LittleEndian32(FAt));
        FAt += 4;
        return v;
    }
    double Double() {
        const std::uint64_t low = LittleEndian32(FAt), high = LittleEndian32(FAt + 4);
        FAt += 8;
        return std::bit_cast<double>(low | (high << 32));
    }
    TShapePoint Point() {
        TShapePoint p;
        p.X = Double();
        p.Y = Double();
        return p;
    }

private:
    const std::uint8_t* FAt;
    const std::uint8_t* FEnd;
};

constexpr std::int64_t kBoxSize = 32;     // four Doubles
constexpr std::int64_t kPointSize = 16;   // two Doubles

// One part of `count` points at the cursor.
bool ViewPoints(TRecordCursor& in, std::int64_t count, TShapeView& view) {
    if (count < 0 || !in.Has(count * kPointSize))
        return false;
    view.Starts.assign({0, count});
    view.Points = in.At();
    return true;
}

// The parts of a polyline or polygon.
bool ViewParts(TRecordCursor& in, TShapeView& view) {
    if (!in.Has(kBoxSize + 8))
        return false;
    in.Skip(kBoxSize);
    const std::int64_t partCount = in.Int();
    const std::int64_t pointCount = in.Int();
    if (partCount < 0 || pointCount < 0 || !in.Has(partCount * 4 + pointCount * kPointSize))
        return false;
    // Part starts must begin at 0, never decrease and stay within the points.
    std::int64_t previous = 0;
    view.Starts.reserve(static_cast<std::size_t>(partCount) + 1);
    for (std::int64_t i = 0; i < partCount; ++i) {
        const std::int64_t start = in.Int();
        if ((i == 0 && start != 0) || start < previous)
            return false;
        previous = start;
        view.Starts.push_back(start);
    }
    if (pointCount < previous)
        return false;
    view.Starts.push_back(pointCount);
    view.Points = in.At();
    return true;
}

} // namespace

THeaderCheck CheckHeader(const std::uint8_t* data, std::int64_t size) {
    if (size < kHeaderSize || BigEndian32(data) != std::uint32_t(kFileCode))
        return hcBadFileCode;
    if (LittleEndian32(data + 28) != std::uint32_t(kVersion))
        return hcBadVersion;
    return hcValid;
}

std::int64_t NextRecordOffset(const std::uint8_t* data, std::int64_t size, std::int64_t offset) {
    if (offset < 0 || size - offset < 8)
        return -1;
    const auto words = static_cast<std::int32_t>(BigEndian32(data + offset + 4));
    if (words < 0)
        return -1;
    const std::int64_t next = offset + 8 + 2 * std::int64_t(words);
    return next <= size ? next : -1;
}

bool ViewRecord(const std::uint8_t* data, std::int64_t size, std::int64_t offset, TShapeView& view) {
    view.ShapeType = stNull;
    view.Starts.clear();   // its room is kept for the next record viewed
    view.Points = nullptr;
    const std::int64_t next = NextRecordOffset(data, size, offset);
    if (next < 0)
        return false;
    TRecordCursor in(data + offset + 8, data + next);
    if (!in.Has(4))
        return false;   // a record of length 0 carries no shape
    view.ShapeType = in.Int();
    switch (view.ShapeType) {
    case stPoint:
        return ViewPoints(in, 1, view);
    case stPolyLine:
    case stPolygon:
        return ViewParts(in, view);
    case stMultiPoint: {
        if (!in.Has(kBoxSize + 4))
            return false;
        in.Skip(kBoxSize);
        return ViewPoints(in, in.Int(), view);
    }
    default:
        return false;   // null shapes and the Z, M and multipatch types are not read
    }
}

bool ParseRecord(const std::uint8_t* data, std::int64_t size, std::int64_t offset, TShapeRecord& record) {
    record = TShapeRecord();
    TShapeView view;
    const bool readable = ViewRecord(data, size, offset, view);
    record.ShapeType = view.ShapeType;
    if (!readable)
        return false;
    record.Parts.resize(static_cast<std::size_t>(view.PartCount()));
    TRecordCursor in(view.Points, view.Points + view.Starts.back() * kPointSize);
    for (std::size_t i = 0; i < record.Parts.size(); ++i) {
        record.Parts[i].resize(static_cast<std::size_t>(view.Starts[i + 1] - view.Starts[i]));
        for (TShapePoint& p : record.Parts[i])
            p = in.Point();
    }
    return true;
}

bool IsReadableRecord(const std::uint8_t* data, std::int64_t size, std::int64_t offset, std::int32_t* shapeType) {
    TShapeView view;
    const bool readable = ViewRecord(data, size, offset, view);
    if (shapeType)
        *shapeType = view.ShapeType;
    return readable;
}

std::vector<std::int64_t> IndexedRecordOffsets(const std::uint8_t* shx, std::int64_t shxSize, std::int64_t mainSize) {
    if (CheckHeader(shx, shxSize) != hcValid || (shxSize - kHeaderSize) % 8 != 0)
        return {};
    std::vector<std::int64_t> offsets;
    offsets.reserve(static_cast<std::size_t>((shxSize - kHeaderSize) / 8));
    std::int64_t next = kHeaderSize;   // where the next record must start
    for (std::int64_t at = kHeaderSize; at < shxSize; at += 8) {
        const std::int64_t offset = 2 * std::int64_t(BigEndian32(shx + at));
        const std::int64_t contentBytes = 2 * std::int64_t(BigEndian32(shx + at + 4));
        if (offset != next || mainSize - offset - 8 < contentBytes)
            return {};
        offsets.push_back(offset);
        next = offset + 8 + contentBytes;
    }
    return next == mainSize ? offsets : std::vector<std::int64_t>{};
}

std::string CompanionFile(const std::string& shpFileName, const std::string& extension) {
    std::filesystem::path path(shpFileName);
    const std::string ext = path.extension().string();
    std::string upper = extension, capitalised = extension;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!capitalised.empty()) capitalised[0] = upper[0];
    std::vector<std::string> candidates;
    if (ext.size() == 4)
        candidates.push_back(ext[1] == 'S' ? upper : extension);
    candidates.insert(candidates.end(), {upper, extension, capitalised});
    for (const std::string& candidate : candidates) {
        path.replace_extension("." + candidate);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path.string();
    }
    return {};
}

} // namespace globe::shapefile
