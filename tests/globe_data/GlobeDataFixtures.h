#pragma once
// Test sources for the object, layer and view tests: a reader that builds line objects on demand,
// and a file reader that opens only when its file was found.

#include <memory>
#include <mutex>
#include <string>

#include "globe/data/ClassRegistry.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeObjectSource.h"

namespace globe::testing {

// Builds object i as an open line of 4 points starting at (i / 10 degrees, i / 10 degrees),
// titled "Object <i>" with ID 1000 + i.
class TLineReader : public TGlobeObjectSource {
 public:
  explicit TLineReader(TGlobeHost* globe) : TGlobeObjectSource(globe) {}
  std::string ClassName() const override { return "TLineReader"; }
  int Builds = 0;
  bool LastWasEmptyRecord = false;

 protected:
  std::unique_ptr<TGlobeObject> GetObject(int32_t index, bool emptyRecord) override {
    ++Builds;
    LastWasEmptyRecord = emptyRecord;
    auto object = std::make_unique<TGeoDataObject>(this);
    for (int p = 0; p < 4; ++p)
      object->Chains().Chain(0).Add(
          TGeoPoint((index + p) * GlobeUnitsPerDegree / 10, index * GlobeUnitsPerDegree / 10));
    object->SetTitle("Object " + std::to_string(index));
    object->SetID(1000 + index);
    return object;
  }
};

// A file reader that, like the real ones, stays closed when its file cannot be found.
class TFileCheckingReader : public TGlobeFileReader {
 public:
  explicit TFileCheckingReader(TGlobeHost* globe) : TGlobeFileReader(globe) {}
  std::string ClassName() const override { return "TFileCheckingReader"; }

 protected:
  bool Open() override { return !FileName().empty() && TGlobeFileReader::Open(); }
};

// Registers the test classes once.
inline void RegisterTestSources() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGlobeClass<TLineReader, TGlobeObjectSource, TGlobeHost*>("TLineReader");
    RegisterGlobeClass<TFileCheckingReader, TGlobeObjectSource, TGlobeHost*>("TFileCheckingReader");
  });
}

}  // namespace globe::testing
