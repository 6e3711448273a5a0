// Shapefiles with their dBASE tables: the input holds both (a 32-bit little-endian length of the
// ".shp" part, the ".shp" bytes, then the ".dbf" bytes). The table is read on its own, field by
// field, and with the shapefile as a layer source titled from its first column.

#include <cstdint>
#include <algorithm>
#include <exception>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/DBFReader.h"
#include "tools/lyrconvert/LyrConvert.h"

namespace {

void ReadTable(const std::string& fileName) {
  try {
    globe::TGlobeDBFReader table(fileName);
    for (int field = -1; field <= table.FieldCount(); ++field) {
      table.FieldName(field);
      table.FieldType(field);
      table.FieldLength(field);
    }
    table.First();
    const int64_t records = std::min<int64_t>(table.RecordCount() + 1, 64);
    for (int64_t record = 0; record <= records; ++record) {
      table.Seek(record);
      for (int field = 0; field < table.FieldCount(); ++field) table.Field(field);
    }
  } catch (const std::exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [shp, dbf] = fuzz::SplitByLength(fuzz::AsText(data, size));
  const std::string shpFile = fuzz::WriteScratchFile("shapes.shp", shp);
  const std::string dbfFile = fuzz::WriteScratchFile("shapes.dbf", dbf);
  ReadTable(dbfFile);
  auto globe = lyrconvert::NewHeadlessGlobe();
  try {
    lyrconvert::Summarise(lyrconvert::OpenMapFile(*globe, shpFile, 0));
  } catch (const std::exception&) {
  }
  return 0;
}
