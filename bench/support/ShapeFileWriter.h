#pragma once
// Writes an ESRI shapefile of polygons: the main file (".shp"), its record index (".shx") and a
// dBASE III table (".dbf") with one numeric "id" field, so that other programs read the same
// layer our readers read. Records are streamed to disk as they are added; the headers, which
// carry the totals, are written last by Close.

#include <cstdint>
#include <fstream>
#include <string>

#include "globe/data/ShapeFile.h"

namespace bench {

class TShapeFileWriter {
 public:
  // `basePath` without extension; raises std::runtime_error when a file cannot be created.
  explicit TShapeFileWriter(const std::string& basePath);
  ~TShapeFileWriter();
  TShapeFileWriter(const TShapeFileWriter&) = delete;
  TShapeFileWriter& operator=(const TShapeFileWriter&) = delete;

  // Appends a polygon record (one ring per part, points in degrees) with its table row. Raises
  // std::invalid_argument for a record without points or one too large for the format.
  void AddPolygon(const globe::TShapeRecord& record, int64_t id);
  // Writes the headers and closes the files (also done by the destructor, without raising).
  void Close();

  int32_t Records() const { return Records_; }

 private:
  void WriteHeaders();

  std::ofstream Shp_, Shx_, Dbf_;
  int64_t ShpSize_ = globe::shapefile::kHeaderSize;  // bytes written to the main file
  int32_t Records_ = 0;
  bool HasBounds_ = false;
  double MinX_ = 0, MinY_ = 0, MaxX_ = 0, MaxY_ = 0;
  bool Closed_ = false;
};

}  // namespace bench
