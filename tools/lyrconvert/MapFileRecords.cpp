#include "tools/lyrconvert/MapFileRecords.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "globe/data/DBFReader.h"
#include "globe/data/MIFFile.h"
#include "globe/data/MIFReader.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/MetaDataFile.h"
#include "globe/data/ShapeFile.h"

namespace lyrconvert {

namespace {

namespace fs = std::filesystem;

constexpr int64_t kShxRecordSize = 8;

// The records of the main file: as its index file lists them when that describes the main file
// whole (the main file is then not touched: the reader has just walked it, and a second walk
// would map all of it once more), else by a walk over the main file's record headers.
int64_t WalkedShapeRecords(const std::string& fileName) {
  std::error_code error;
  const auto mainSize = fs::file_size(fileName, error);
  if (const std::string index = globe::shapefile::CompanionFile(fileName, "shx"); !index.empty() && !error) {
    const std::string bytes = globe::ReadFileBytes(index);
    const std::vector<int64_t> offsets = globe::shapefile::IndexedRecordOffsets(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<int64_t>(bytes.size()),
        static_cast<int64_t>(mainSize));
    if (!offsets.empty()) return static_cast<int64_t>(offsets.size());
  }
  const globe::TMemoryMapStream file(fileName);
  int64_t records = 0;
  for (int64_t offset = globe::shapefile::kHeaderSize;
       (offset = globe::shapefile::NextRecordOffset(file.Memory(), file.Size(), offset)) >= 0;)
    ++records;
  return records;
}

int64_t ShapeRecords(const std::string& fileName) {
  int64_t records = WalkedShapeRecords(fileName);
  std::error_code error;
  const std::string index = globe::shapefile::CompanionFile(fileName, "shx");
  if (!index.empty()) {
    const auto bytes = fs::file_size(index, error);
    if (!error && static_cast<int64_t>(bytes) > globe::shapefile::kHeaderSize)
      records = std::max(records, (static_cast<int64_t>(bytes) - globe::shapefile::kHeaderSize) / kShxRecordSize);
  }
  const std::string table = globe::shapefile::CompanionFile(fileName, "dbf");
  if (!table.empty()) {
    try {
      records = std::max(records, globe::TGlobeDBFReader(table).RecordCount());
    } catch (const std::exception&) {
      // A table that cannot be read gives no count.
    }
  }
  return records;
}

int64_t TextLines(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  int64_t lines = 0;
  for (std::string line; std::getline(file, line);) ++lines;
  return lines;
}

}  // namespace

std::string LowerExtension(const std::string& fileName) {
  std::string extension = fs::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::optional<int64_t> RecordsInFile(const std::string& fileName) {
  const std::string extension = LowerExtension(fileName);
  if (extension == ".shp") return ShapeRecords(fileName);
  if (extension == ".mif") {
    const std::string mid = globe::mif::MIDFileFor(fileName);
    if (!mid.empty()) return TextLines(mid);
  }
  return std::nullopt;
}

std::string AttributeTableOf(const std::string& fileName) {
  const std::string extension = LowerExtension(fileName);
  if (extension == ".shp") return globe::shapefile::CompanionFile(fileName, "dbf");
  if (extension == ".mif") return globe::mif::MIDFileFor(fileName);
  return {};
}

std::optional<int32_t> AttributeColumns(const std::string& fileName, globe::TGlobeFileReader& reader) {
  const std::string table = AttributeTableOf(fileName);
  if (table.empty()) return std::nullopt;
  if (auto* mif = dynamic_cast<globe::TGlobeMIFReader*>(&reader))
    return static_cast<int32_t>(mif->MIDColumnNames().size());
  return globe::TGlobeDBFReader(table).FieldCount();
}

}  // namespace lyrconvert
