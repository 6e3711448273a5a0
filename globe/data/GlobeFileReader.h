#pragma once
// An object source that builds its objects from a data file (the LYR, SHP and MIF readers derive
// from it). The mapping read walks the file once, counting and building every object, with
// progress reports to the view.

#include <cstdint>
#include <string>

#include "globe/data/GlobeObjectSource.h"

namespace globe {

class TGlobeStream;

class TGlobeFileReader : public TGlobeObjectSource {
 public:
  explicit TGlobeFileReader(TGlobeHost* globe);

  std::string ClassName() const override { return "TGlobeFileReader"; }

  const std::string& FileName() const { return FileName_; }
  // Resolved against the view's data directory (the view may offer another name); an
  // unresolved name stores "".
  void SetFileName(const std::string& name);

  // "Filename" (resolved through SetFileName).
  void LoadEnvironment(const TGXML_Element* element) override;
  // Adds "Filename", relative to the view's data directory.
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

 protected:
  // Whether FileName names an existing regular file; when it does, the source takes the file's
  // own name (without folder) as its Name. Readers call it first in Open.
  bool TakeNameFromFile();
  // The mapping read: progress "Mapping", Count from 0, ReadHeader, then ReadObject for every
  // object (each built once through Objects) with a percentage every 256 objects, progress
  // "Finished". Returns whether the header was read. A handler that asks to abort ends the walk.
  bool MapStream(TGlobeStream& stream);
  virtual bool ReadHeader(TGlobeStream& stream);
  // Records where object `index` starts and reads past it; false at the end of the data.
  virtual bool ReadObject(TGlobeStream& stream, int32_t index);

 private:
  std::string FileName_;
};

// `path` relative to `directory` (both made absolute first); the absolute path when there is no
// relative form.
std::string RelativeFileName(const std::string& path, const std::string& directory);

}  // namespace globe
