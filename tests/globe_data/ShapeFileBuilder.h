#pragma once
// Shapefile main-file and dBASE III table bytes for the reader tests.

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/BitmapFiles.h"

namespace globe::testing {

using corvalis::testing::Le16;
using corvalis::testing::Le32;

inline std::string Be32(std::uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
inline std::string LeDouble(double d) {
  const auto bits = std::bit_cast<std::uint64_t>(d);
  return Le32(std::uint32_t(bits)) + Le32(std::uint32_t(bits >> 32));
}

using Ring = std::vector<std::pair<double, double>>;

class ShapeFileBuilder {
 public:
  // Appends a record with the given content (shape type first); the record number is counted.
  ShapeFileBuilder& Record(const std::string& content) { return RawRecord(std::uint32_t(content.size() / 2), content); }
  // Record bytes with any content length, matching the content or not.
  ShapeFileBuilder& RawRecord(std::uint32_t contentWords, const std::string& content) {
    FIndex += Be32(std::uint32_t((100 + FRecords.size()) / 2)) + Be32(contentWords);
    FRecords += Be32(++FNumber) + Be32(contentWords) + content;
    return *this;
  }
  static std::string Point(double x, double y) { return Le32(1) + LeDouble(x) + LeDouble(y); }
  static std::string Poly(int type, const std::vector<Ring>& parts) {
    std::uint32_t points = 0;
    std::string starts, coords;
    for (const auto& part : parts) {
      starts += Le32(points);
      for (const auto& [x, y] : part) coords += LeDouble(x) + LeDouble(y);
      points += std::uint32_t(part.size());
    }
    return Le32(std::uint32_t(type)) + std::string(32, '\0') + Le32(std::uint32_t(parts.size())) + Le32(points) +
           starts + coords;
  }
  static std::string MultiPoint(const Ring& points) {
    std::string out = Le32(8) + std::string(32, '\0') + Le32(std::uint32_t(points.size()));
    for (const auto& [x, y] : points) out += LeDouble(x) + LeDouble(y);
    return out;
  }
  std::string Bytes(std::uint32_t fileCode = 9994, std::uint32_t version = 1000) const {
    return Header(fileCode, version, FRecords.size()) + FRecords;
  }
  // The index file (".shx"): each record's offset and content length, in words.
  std::string IndexBytes() const { return Header(9994, 1000, FIndex.size()) + FIndex; }

 private:
  static std::string Header(std::uint32_t fileCode, std::uint32_t version, std::size_t bodySize) {
    return Be32(fileCode) + std::string(20, '\0') + Be32(std::uint32_t((100 + bodySize) / 2)) + Le32(version) +
           Le32(5) + std::string(64, '\0');
  }
  std::string FRecords, FIndex;
  std::uint32_t FNumber = 0;
};

// A dBASE III table with the given character fields (name, length) and records as stored.
inline std::string TableBytes(const std::vector<std::pair<std::string, int>>& fields,
                              const std::vector<std::string>& records, int version = 3) {
  int recordLength = 1;
  std::string descriptors;
  for (const auto& [name, length] : fields) {
    std::string d(32, '\0');
    d.replace(0, name.size(), name);
    d[11] = 'C';
    d[16] = char(length);
    descriptors += d;
    recordLength += length;
  }
  std::string out = char(version) + std::string("\x7E\x0C\x06", 3) + Le32(std::uint32_t(records.size())) +
                    Le16(32 + std::uint32_t(descriptors.size()) + 1) + Le16(std::uint32_t(recordLength)) +
                    std::string(20, '\0') + descriptors + '\r';
  for (const auto& r : records) out += r;
  return out;
}

}  // namespace globe::testing
