#include "globe/data/GlobeStreamReader.h"

#include <bit>

#include "globe/data/GlobeException.h"

namespace globe {

namespace {

// Little-endian decoding, independent of the machine's byte order.
template <size_t N>
uint64_t GetLE(const uint8_t (&bytes)[N]) {
  uint64_t value = 0;
  for (size_t i = 0; i < N; ++i) value |= uint64_t{bytes[i]} << (8 * i);
  return value;
}

TGlobeStream& Checked(TGlobeStream* stream) {
  if (!stream) throw EGlobeException("TGlobeStream: no stream given");
  return *stream;
}

// Minutes to GlobeUnit with the 32-bit wrap of the stored arithmetic.
int32_t MinutesToGU(int16_t minutes) {
  return static_cast<int32_t>(static_cast<uint32_t>(int64_t{minutes} * GlobeUnitsPerMinute));
}

}  // namespace

TGlobeStreamReader::TGlobeStreamReader(std::unique_ptr<TGlobeStream> stream)
    : Owned_(std::move(stream)), Stream_(&Checked(Owned_.get())) {}

TGlobeStreamReader::TGlobeStreamReader(TGlobeStream& stream) : Stream_(&stream) {}

void TGlobeStreamReader::Read(void* buffer, size_t count) { Stream_->Read(buffer, count); }

bool TGlobeStreamReader::ReadBoolean() { return ReadByte() == 'T'; }

double TGlobeStreamReader::ReadDouble() {
  uint8_t b[8];
  Read(b, sizeof b);
  return std::bit_cast<double>(GetLE(b));
}

int16_t TGlobeStreamReader::ReadSmallInt() { return static_cast<int16_t>(ReadWord()); }

uint8_t TGlobeStreamReader::ReadByte() {
  uint8_t b[1];
  Read(b, sizeof b);
  return b[0];
}

uint16_t TGlobeStreamReader::ReadWord() {
  uint8_t b[2];
  Read(b, sizeof b);
  return static_cast<uint16_t>(GetLE(b));
}

int32_t TGlobeStreamReader::ReadInteger() {
  uint8_t b[4];
  Read(b, sizeof b);
  return static_cast<int32_t>(static_cast<uint32_t>(GetLE(b)));
}

std::string TGlobeStreamReader::ReadShortString() {
  const uint8_t length = ReadByte();
  std::string text(length, '\0');
  Read(text.data(), length);
  return text;
}

TGeoPoint TGlobeStreamReader::ReadPoint(bool storeHeight, bool minutePrecision) {
  uint8_t bytes[12];
  Read(bytes, static_cast<size_t>(PointSize(storeHeight, minutePrecision)));
  return DecodePoint(bytes, storeHeight, minutePrecision);
}

TGeoPoint TGlobeStreamReader::DecodePoint(const uint8_t* bytes, bool storeHeight, bool minutePrecision) {
  const auto word = [&](int k) -> int32_t {
    if (minutePrecision) return MinutesToGU(static_cast<int16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8)));
    const uint8_t* at = bytes + 4 * k;
    return static_cast<int32_t>(uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24);
  };
  return TGeoPoint(word(0), word(1), storeHeight ? word(2) : 0);  // the longitude normalised
}

TGeoRect TGlobeStreamReader::ReadRect() {
  TGeoRect rect;
  rect.LongX = ReadInteger();
  rect.LatY = ReadInteger();
  rect.Width = ReadInteger();
  rect.Height = ReadInteger();
  return rect;
}

}  // namespace globe
