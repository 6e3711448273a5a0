#include "globe/data/TextureData.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <filesystem>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/RegularFile.h"

namespace globe {

namespace {

constexpr const char* NotAnEightBitBitmap = "Globe texture must be a 256 color RGB encoded bitmap";
constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;

uint32_t ReadU32(const std::string& b, std::size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

uint16_t ReadU16(const std::string& b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                               static_cast<unsigned char>(b[at + 1]) << 8);
}

// Bytes of one row of an 8-bit bitmap, padded to 4 bytes.
int64_t PaddedRowBytes(int32_t width) { return (int64_t{width} * 8 + 31) / 32 * 4; }

}  // namespace

TTextureData::TTextureData() {
  Corners_.Add(TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES));
  Corners_.Add(TGeoPoint(GU_180_DEGREES, -GU_90_DEGREES));
}

void TTextureData::Clear() {
  Bytes_.clear();
  FileName_.clear();
  Info_ = TBitmapInfoHeader();
  FileHeader_ = TBitmapFileHeader();
  Palette_.fill(0);
  Stride_ = 0;
  PixelOffset_ = 0;
}

bool TTextureData::LoadFromFile(const std::string& fileName) {
  Clear();
  try {
    LoadFromBytes(platform::ReadRegularFile(fileName));
  } catch (const platform::EFileError&) {
    return false;
  }
  FileName_ = fileName;
  return true;
}

bool TTextureData::LoadFromFile(platform::FileSystem& files, const std::string& fileName) {
  Clear();
  if (!files.FileExists(fileName)) return false;
  LoadFromBytes(files.ReadBytes(fileName));
  FileName_ = fileName;
  return true;
}

void TTextureData::LoadFromStream(std::istream& stream) {
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  LoadFromBytes(std::move(bytes));
}

void TTextureData::LoadFromBytes(std::string bytes) {
  Bytes_ = std::move(bytes);
  try {
    Parse();
  } catch (...) {
    // An unusable bitmap is not kept: HasTexture must not report pixels that cannot be read.
    const std::string name = FileName_;
    Clear();
    FileName_ = name;
    throw;
  }
}

void TTextureData::Parse() {
  const std::string& b = Bytes_;
  if (b.size() < FileHeaderSize + InfoHeaderSize) throw EGlobeException(NotAnEightBitBitmap);
  FileHeader_.Type = ReadU16(b, 0);
  FileHeader_.Size = ReadU32(b, 2);
  FileHeader_.Reserved1 = ReadU16(b, 6);
  FileHeader_.Reserved2 = ReadU16(b, 8);
  FileHeader_.OffBits = ReadU32(b, 10);
  if (b[0] != 'B' || b[1] != 'M') throw EGlobeException(NotAnEightBitBitmap);

  const std::size_t h = FileHeaderSize;
  Info_.Size = ReadU32(b, h);
  Info_.Width = static_cast<int32_t>(ReadU32(b, h + 4));
  Info_.Height = static_cast<int32_t>(ReadU32(b, h + 8));
  Info_.Planes = ReadU16(b, h + 12);
  Info_.BitCount = ReadU16(b, h + 14);
  Info_.Compression = ReadU32(b, h + 16);
  Info_.SizeImage = ReadU32(b, h + 20);
  Info_.XPelsPerMeter = static_cast<int32_t>(ReadU32(b, h + 24));
  Info_.YPelsPerMeter = static_cast<int32_t>(ReadU32(b, h + 28));
  Info_.ClrUsed = ReadU32(b, h + 32);
  Info_.ClrImportant = ReadU32(b, h + 36);
  if (Info_.BitCount != 8 || Info_.Compression != 0 || Info_.Size < InfoHeaderSize ||
      Info_.Width <= 0 || Info_.Height <= 0)
    throw EGlobeException(NotAnEightBitBitmap);

  // The palette follows the information header (whose size the header gives); a palette of
  // fewer than 256 colours leaves the other entries black.
  const uint64_t paletteStart = h + uint64_t{Info_.Size};
  const uint64_t colours = (Info_.ClrUsed == 0 || Info_.ClrUsed > 256) ? 256 : Info_.ClrUsed;
  if (paletteStart + colours * 4 > b.size()) throw EGlobeException(NotAnEightBitBitmap);
  Palette_.fill(0);
  for (uint64_t i = 0; i < colours; ++i) Palette_[i] = ReadU32(b, paletteStart + i * 4) & 0xFFFFFF;

  // An image size of 0 is the rows of padded 8-bit pixels.
  const int64_t imageSize =
      Info_.SizeImage != 0 ? int64_t{Info_.SizeImage} : PaddedRowBytes(Info_.Width) * Info_.Height;
  Stride_ = static_cast<int32_t>(std::min<int64_t>(imageSize / Info_.Height, INT32_MAX));
  PixelOffset_ = FileHeader_.OffBits != 0 ? int64_t{FileHeader_.OffBits}
                                          : static_cast<int64_t>(paletteStart + colours * 4);
  if (Stride_ <= 0 || PixelOffset_ + int64_t{Stride_} * Info_.Height > static_cast<int64_t>(b.size()))
    throw EGlobeException(NotAnEightBitBitmap);
}

void TTextureData::Assign(const TTextureData& source) {
  if (this == &source) return;
  Clear();
  if (source.HasTexture()) LoadFromBytes(source.Bytes_);
  FileName_ = source.FileName_;
}

int32_t TTextureData::TexelIndex(int32_t x, int32_t row) const {
  if (!HasTexture() || x < 0 || row < 0 || x >= Stride_ || row >= Info_.Height) return -1;
  return static_cast<unsigned char>(Bytes_[static_cast<std::size_t>(PixelOffset_ + int64_t{row} * Stride_ + x)]);
}

uint32_t TTextureData::TexelColour(int32_t x, int32_t row) const { return PaletteColour(TexelIndex(x, row)); }

int32_t TTextureData::PaletteIndexOf(uint32_t colour) const {
  if (!HasTexture()) return -1;
  // Palette quads read as 0x00RRGGBB; the colour is 0x00BBGGRR.
  const uint32_t quad = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
  for (int32_t i = 0; i < 256; ++i)
    if (Palette_[static_cast<std::size_t>(i)] == quad) return i;
  return -1;
}

uint32_t TTextureData::PaletteColour(int32_t index) const {
  if (index < 0 || index > 255) return 0;
  const uint32_t quad = Palette_[static_cast<std::size_t>(index)];
  return (quad & 0xFF) << 16 | (quad & 0xFF00) | (quad >> 16 & 0xFF);
}

TTexel TTextureData::PointToTexel(const TGeoPoint& point) const {
  const TGeoPoint nw = Corners_.Point(0), se = Corners_.Point(1);
  TTexel t;
  t.X = MulDiv(Wrap32(int64_t{point.LongX} - nw.LongX), int64_t{Stride_} - 1, Wrap32(int64_t{se.LongX} - nw.LongX));
  t.Y = Wrap32(int64_t{Info_.Height} - 1 -
               MulDiv(Wrap32(int64_t{point.LatY} - nw.LatY), Info_.Height, Wrap32(int64_t{se.LatY} - nw.LatY)));
  return t;
}

TGeoPoint TTextureData::TexelToPoint(int32_t x, int32_t y) const {
  const TGeoPoint nw = Corners_.Point(0), se = Corners_.Point(1);
  return TGeoPoint(Wrap32(int64_t{MulDiv(x, Wrap32(int64_t{se.LongX} - nw.LongX), Stride_)} + nw.LongX),
                   Wrap32(int64_t{MulDiv(y, Wrap32(int64_t{se.LatY} - nw.LatY), Info_.Height)} + nw.LatY));
}

void TTextureData::SetCorner(int32_t index, const TGeoPoint& point) {
  if (index == 0 || index == 1) Corners_.SetPoint(index, point);
}

}  // namespace globe
