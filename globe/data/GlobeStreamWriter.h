#pragma once
// TGlobeStreamWriter: writes the typed binary primitives described in GlobeStreamReader.h.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "globe/data/GlobeStreamReader.h"

namespace globe {

class TGlobeStreamWriter : public TGlobeRoot {
 public:
  explicit TGlobeStreamWriter(std::unique_ptr<TGlobeStream> stream);  // owned
  explicit TGlobeStreamWriter(TGlobeStream& stream);                   // borrowed
  std::string ClassName() const override { return "TGlobeStreamWriter"; }

  TGlobeStream& Stream() const { return *Stream_; }
  // The form to write; classes with older forms write them for versions below the current one.
  int32_t Version() const { return Version_; }
  void SetVersion(int32_t version) { Version_ = version; }

  virtual void Write(const void* buffer, size_t count);
  virtual void WriteBoolean(bool value);
  virtual void WriteDouble(double value);
  virtual void WriteSmallInt(int16_t value);
  virtual void WriteByte(uint8_t value);
  virtual void WriteWord(uint16_t value);
  virtual void WriteInteger(int32_t value);
  virtual void WriteShortString(std::string_view text);
  virtual void WritePoint(const TGeoPoint& point, bool storeHeight, bool minutePrecision);
  virtual void WriteRect(const TGeoRect& rect);

 private:
  std::unique_ptr<TGlobeStream> Owned_;
  TGlobeStream* Stream_;
  int32_t Version_ = GlobeStreamVersion;
};

}  // namespace globe
