#pragma once
// Builds shapefile main-file bytes for the reader tests.

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace globe::testing {

inline std::string Be32(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
inline std::string Le32s(std::uint32_t v) {
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}
inline std::string LeDouble(double d) {
    const auto bits = std::bit_cast<std::uint64_t>(d);
    return Le32s(std::uint32_t(bits)) + Le32s(std::uint32_t(bits >> 32));
}

using Ring = std::vector<std::pair<double, double>>;

class ShapeFileBuilder {
public:
    // Appends a record with the given content (shape type first); the record number is counted.
    ShapeFileBuilder& Record(const std::string& content) {
        FRecords += Be32(++FNumber) + Be32(std::uint32_t(content.size() / 2)) + content;
        return *this;
    }
    // Record bytes with a content length that does not match the content.
    ShapeFileBuilder& RawRecord(std::uint32_t contentWords, const std::string& content) {
        FRecords += Be32(++FNumber) + Be32(contentWords) + content;
        return *this;
    }
    static std::string Point(double x, double y) { return Le32s(1) + LeDouble(x) + LeDouble(y); }
    static std::string Poly(int type, const std::vector<Ring>& parts) {
        std::string out = Le32s(std::uint32_t(type)) + std::string(32, '\0');
        std::uint32_t points = 0;
        std::string starts, coords;
        for (const auto& part : parts) {
            starts += Le32s(points);
            for (const auto& [x, y] : part)
                coords += LeDouble(x) + LeDouble(y);
            points += std::uint32_t(part.size());
        }
        return out + Le32s(std::uint32_t(parts.size())) + Le32s(points) + starts + coords;
    }
    static std::string MultiPoint(const Ring& points) {
        std::string out = Le32s(8) + std::string(32, '\0') + Le32s(std::uint32_t(points.size()));
        for (const auto& [x, y] : points)
            out += LeDouble(x) + LeDouble(y);
        return out;
    }
    std::string Bytes(std::uint32_t fileCode = 9994, std::uint32_t version = 1000) const {
        std::string header = Be32(fileCode) + std::string(20, '\0') +
                             Be32(std::uint32_t((100 + FRecords.size()) / 2)) + Le32s(version) +
                             Le32s(5) + std::string(64, '\0');
        return header + FRecords;
    }

private:
    std::string FRecords;
    std::uint32_t FNumber = 0;
};

} // namespace globe::testing
