#pragma once
// What a map file's companions say about its records, so that records the reader passes over
// (a file cut short, damaged records, shape types that are not read) can be counted, and whether
// a title column exists in its attribute table.

#include <cstdint>
#include <optional>
#include <string>

namespace globe {
class TGlobeFileReader;
}

namespace lyrconvert {

// The file's extension in lower case, with its dot (".shp").
std::string LowerExtension(const std::string& fileName);

// The records a shapefile or MIF file holds by the largest count among its companions: for a
// shapefile the index (.shx), the table (.dbf) and the records that can be walked in the main
// file; for a MIF file the lines of its .mid file. Nothing when the file has no such count (a LYR
// file, a MIF file without a .mid).
std::optional<int64_t> RecordsInFile(const std::string& fileName);

// The attribute table beside a shapefile (.dbf) or MIF file (.mid); "" when there is none.
std::string AttributeTableOf(const std::string& fileName);

// The number of columns of the attribute table of an open SHP or MIF reader; nothing for a file
// without a table.
std::optional<int32_t> AttributeColumns(const std::string& fileName, globe::TGlobeFileReader& reader);

}  // namespace lyrconvert
