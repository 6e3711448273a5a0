#include "bench/support/ShapeFileWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

using Bytes = std::vector<char>;

void PutBig32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}
void PutLittle(Bytes& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutLittle32(Bytes& out, int32_t v) { PutLittle(out, static_cast<uint32_t>(v), 4); }
void PutDouble(Bytes& out, double v) { PutLittle(out, std::bit_cast<uint64_t>(v), 8); }

void Write(std::ofstream& file, const Bytes& bytes) {
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

constexpr int kDbfHeaderSize = 32 + 32 + 1;  // file header, one field descriptor, terminator
constexpr int kIdWidth = 19;                 // digits of the numeric "id" field, with a sign
constexpr int kDbfRecordSize = 1 + kIdWidth;  // deletion flag + field

// The 100-byte header shared by the main file and the index.
Bytes ShapeHeader(int64_t fileBytes, bool hasBounds, double minX, double minY, double maxX, double maxY) {
  Bytes out;
  PutBig32(out, globe::shapefile::kFileCode);
  for (int i = 0; i < 5; ++i) PutBig32(out, 0);
  PutBig32(out, static_cast<uint32_t>(fileBytes / 2));
  PutLittle32(out, globe::shapefile::kVersion);
  PutLittle32(out, globe::stPolygon);
  for (double v : {minX, minY, maxX, maxY}) PutDouble(out, hasBounds ? v : 0.0);
  for (int i = 0; i < 4; ++i) PutDouble(out, 0.0);  // Z and M ranges
  return out;
}

std::ofstream Create(const std::string& name) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (!file) throw std::runtime_error("cannot create " + name);
  return file;
}

}  // namespace

TShapeFileWriter::TShapeFileWriter(const std::string& basePath)
    : Shp_(Create(basePath + ".shp")), Shx_(Create(basePath + ".shx")), Dbf_(Create(basePath + ".dbf")) {
  // Room for the headers; Close writes them once the totals are known.
  const Bytes header(globe::shapefile::kHeaderSize, 0);
  Write(Shp_, header);
  Write(Shx_, header);
  Write(Dbf_, Bytes(kDbfHeaderSize, 0));
}

TShapeFileWriter::~TShapeFileWriter() {
  try {
    Close();
  } catch (...) {
  }
}

void TShapeFileWriter::AddPolygon(const globe::TShapeRecord& record, int64_t id) {
  if (Closed_) throw std::logic_error("shapefile already closed");
  int64_t points = 0;
  for (const auto& part : record.Parts) points += static_cast<int64_t>(part.size());
  const int64_t parts = static_cast<int64_t>(record.Parts.size());
  const int64_t content = 4 + 32 + 4 + 4 + 4 * parts + 16 * points;
  if (points == 0) throw std::invalid_argument("polygon without points");
  if (content / 2 > std::numeric_limits<int32_t>::max() || (ShpSize_ + 8 + content) / 2 > std::numeric_limits<int32_t>::max())
    throw std::invalid_argument("shapefile grows past its 32-bit size");

  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool first = true;
  for (const auto& part : record.Parts)
    for (const auto& p : part) {
      if (first) {
        minX = maxX = p.X;
        minY = maxY = p.Y;
        first = false;
      }
      minX = std::min(minX, p.X);
      maxX = std::max(maxX, p.X);
      minY = std::min(minY, p.Y);
      maxY = std::max(maxY, p.Y);
    }

  Bytes out;
  out.reserve(static_cast<size_t>(8 + content));
  PutBig32(out, static_cast<uint32_t>(Records_ + 1));
  PutBig32(out, static_cast<uint32_t>(content / 2));
  PutLittle32(out, globe::stPolygon);
  for (double v : {minX, minY, maxX, maxY}) PutDouble(out, v);
  PutLittle32(out, static_cast<int32_t>(parts));
  PutLittle32(out, static_cast<int32_t>(points));
  int64_t start = 0;
  for (const auto& part : record.Parts) {
    PutLittle32(out, static_cast<int32_t>(start));
    start += static_cast<int64_t>(part.size());
  }
  for (const auto& part : record.Parts)
    for (const auto& p : part) {
      PutDouble(out, p.X);
      PutDouble(out, p.Y);
    }
  Write(Shp_, out);

  Bytes index;
  PutBig32(index, static_cast<uint32_t>(ShpSize_ / 2));
  PutBig32(index, static_cast<uint32_t>(content / 2));
  Write(Shx_, index);
  ShpSize_ += 8 + content;

  const std::string digits = std::to_string(id);
  if (digits.size() > kIdWidth) throw std::invalid_argument("id too long for its field");
  std::string row(kDbfRecordSize, ' ');  // not deleted, the number right-aligned
  row.replace(row.size() - digits.size(), digits.size(), digits);
  Dbf_.write(row.data(), static_cast<std::streamsize>(row.size()));

  if (!HasBounds_) {
    MinX_ = minX, MinY_ = minY, MaxX_ = maxX, MaxY_ = maxY;
    HasBounds_ = true;
  } else {
    MinX_ = std::min(MinX_, minX), MinY_ = std::min(MinY_, minY);
    MaxX_ = std::max(MaxX_, maxX), MaxY_ = std::max(MaxY_, maxY);
  }
  ++Records_;
}

void TShapeFileWriter::WriteHeaders() {
  Shp_.seekp(0);
  Write(Shp_, ShapeHeader(ShpSize_, HasBounds_, MinX_, MinY_, MaxX_, MaxY_));
  Shx_.seekp(0);
  Write(Shx_, ShapeHeader(globe::shapefile::kHeaderSize + 8 * int64_t{Records_}, HasBounds_, MinX_, MinY_, MaxX_,
                          MaxY_));

  Dbf_.put(0x1A);  // end of the table
  Bytes dbf;
  dbf.push_back(0x03);                                  // dBASE III without memo
  for (int v : {126, 12, 6}) dbf.push_back(static_cast<char>(v));  // date of last update
  PutLittle32(dbf, Records_);
  PutLittle(dbf, kDbfHeaderSize, 2);
  PutLittle(dbf, kDbfRecordSize, 2);
  dbf.resize(32, 0);
  const char name[11] = "id";
  dbf.insert(dbf.end(), name, name + 11);
  dbf.push_back('N');
  dbf.resize(dbf.size() + 4, 0);  // field address
  dbf.push_back(static_cast<char>(kIdWidth));
  dbf.push_back(0);  // decimals
  dbf.resize(64, 0);
  dbf.push_back(0x0D);
  Dbf_.seekp(0);
  Write(Dbf_, dbf);
}

void TShapeFileWriter::Close() {
  if (Closed_) return;
  Closed_ = true;
  WriteHeaders();
  for (std::ofstream* file : {&Shp_, &Shx_, &Dbf_}) {
    file->close();
    if (file->fail()) throw std::runtime_error("cannot write the shapefile");
  }
}

}  // namespace bench
