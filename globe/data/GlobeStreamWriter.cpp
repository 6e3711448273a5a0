#include "globe/data/GlobeStreamWriter.h"

#include <bit>

#include "globe/data/GlobeException.h"

namespace globe {

namespace {

// Little-endian encoding of the low N bytes, independent of the machine's byte order.
template <size_t N>
void PutLE(uint8_t (&bytes)[N], uint64_t value) {
  for (size_t i = 0; i < N; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

TGlobeStream& Checked(TGlobeStream* stream) {
  if (!stream) throw EGlobeException("TGlobeStream: no stream given");
  return *stream;
}

// GlobeUnit to a 16-bit minute count: truncated toward zero, then kept to its low 16 bits.
int16_t GUToMinutes(int32_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(value / GlobeUnitsPerMinute));
}

}  // namespace

TGlobeStreamWriter::TGlobeStreamWriter(std::unique_ptr<TGlobeStream> stream)
    : Owned_(std::move(stream)), Stream_(&Checked(Owned_.get())) {}

TGlobeStreamWriter::TGlobeStreamWriter(TGlobeStream& stream) : Stream_(&stream) {}

void TGlobeStreamWriter::Write(const void* buffer, size_t count) { Stream_->Write(buffer, count); }

void TGlobeStreamWriter::WriteBoolean(bool value) { WriteByte(value ? 'T' : 'F'); }

void TGlobeStreamWriter::WriteDouble(double value) {
  uint8_t b[8];
  PutLE(b, std::bit_cast<uint64_t>(value));
  Write(b, sizeof b);
}

void TGlobeStreamWriter::WriteSmallInt(int16_t value) {
  WriteWord(static_cast<uint16_t>(value));
}

void TGlobeStreamWriter::WriteByte(uint8_t value) { Write(&value, 1); }

void TGlobeStreamWriter::WriteWord(uint16_t value) {
  uint8_t b[2];
  PutLE(b, value);
  Write(b, sizeof b);
}

void TGlobeStreamWriter::WriteInteger(int32_t value) {
  uint8_t b[4];
  PutLE(b, static_cast<uint32_t>(value));
  Write(b, sizeof b);
}

void TGlobeStreamWriter::WriteShortString(std::string_view text) {
  const size_t length = text.size() > 255 ? 255 : text.size();
  WriteByte(static_cast<uint8_t>(length));
  Write(text.data(), length);
}

void TGlobeStreamWriter::WritePoint(const TGeoPoint& point, bool storeHeight,
                                    bool minutePrecision) {
  if (minutePrecision) {
    WriteSmallInt(GUToMinutes(point.LongX));
    WriteSmallInt(GUToMinutes(point.LatY));
    if (storeHeight) WriteSmallInt(GUToMinutes(point.Height));
  } else {
    WriteInteger(point.LongX);
    WriteInteger(point.LatY);
    if (storeHeight) WriteInteger(point.Height);
  }
}

void TGlobeStreamWriter::WriteRect(const TGeoRect& rect) {
  WriteInteger(rect.LongX);
  WriteInteger(rect.LatY);
  WriteInteger(rect.Width);
  WriteInteger(rect.Height);
}

}  // namespace globe
