#pragma once
// TGlobeStreamReader (and TGlobeStreamWriter, GlobeStreamWriter.h): the typed binary primitives of layer and meta-data
// files, little-endian whatever the machine:
//
//   raw bytes         n      as is
//   Boolean           1      "T" for true, "F" for false; reading: true only for "T"
//   Double            8      IEEE 754
//   SmallInt          2      signed 16-bit
//   Byte              1      unsigned 8-bit
//   Word              2      unsigned 16-bit
//   Integer           4      signed 32-bit
//   ShortString       1 + n  length byte then n bytes; longer texts are cut to 255 on writing
//   point             8/12   LongX, LatY (and Height when heights are stored) as Integers, or
//                     4/6    in minute precision each a SmallInt count of minutes (value / 90,000
//                            truncated on writing, x 90,000 on reading); the longitude is
//                            normalised on reading
//   rectangle         16     LongX, LatY, Width, Height as Integers
//
// Each wraps one TGlobeStream, owned (destroyed with it) or borrowed. Reading past the end of
// the stream raises EGlobeException. `Version` is the file version remembered by the layer
// reader for the classes that read older forms (pens, brushes, presenters); it is
// GlobeStreamVersion unless set.

#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeRoot.h"
#include "globe/data/GlobeStream.h"

namespace globe {

// The stream version written by this engine.
inline constexpr int32_t GlobeStreamVersion = 0x0405;

class TGlobeStreamReader : public TGlobeRoot {
 public:
  explicit TGlobeStreamReader(std::unique_ptr<TGlobeStream> stream);  // owned
  explicit TGlobeStreamReader(TGlobeStream& stream);                   // borrowed
  std::string ClassName() const override { return "TGlobeStreamReader"; }

  TGlobeStream& Stream() const { return *Stream_; }
  int32_t Version() const { return Version_; }
  void SetVersion(int32_t version) { Version_ = version; }

  virtual void Read(void* buffer, size_t count);
  virtual bool ReadBoolean();
  virtual double ReadDouble();
  virtual int16_t ReadSmallInt();
  virtual uint8_t ReadByte();
  virtual uint16_t ReadWord();
  virtual int32_t ReadInteger();
  virtual std::string ReadShortString();
  virtual TGeoPoint ReadPoint(bool storeHeight, bool minutePrecision);
  // The bytes ReadPoint reads (16-bit minutes or 32-bit GlobeUnits, little-endian; heights when
  // stored), and the point they make with its longitude normalised.
  static int32_t PointSize(bool storeHeight, bool minutePrecision) {
    return (minutePrecision ? 2 : 4) * (storeHeight ? 3 : 2);
  }
  static TGeoPoint DecodePoint(const uint8_t* bytes, bool storeHeight, bool minutePrecision);
  virtual TGeoRect ReadRect();

 private:
  std::unique_ptr<TGlobeStream> Owned_;
  TGlobeStream* Stream_;
  int32_t Version_ = GlobeStreamVersion;
};

}  // namespace globe
