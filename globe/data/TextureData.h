#pragma once
// The globe's surface texture: an 8-bit palettised bitmap file held in memory, laid between a
// north-west and a south-east corner.

#include <array>
#include <cstdint>
#include <istream>
#include <string>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeRoot.h"
#include "globe/data/PointStore.h"

namespace platform {
class FileSystem;
}

namespace globe {

// The 40-byte bitmap information header as read from the file.
struct TBitmapInfoHeader {
  uint32_t Size = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t Planes = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;
  uint32_t SizeImage = 0;
  int32_t XPelsPerMeter = 0;
  int32_t YPelsPerMeter = 0;
  uint32_t ClrUsed = 0;
  uint32_t ClrImportant = 0;
};

// The 14-byte bitmap file header.
struct TBitmapFileHeader {
  uint16_t Type = 0;  // "BM"
  uint32_t Size = 0;
  uint16_t Reserved1 = 0;
  uint16_t Reserved2 = 0;
  uint32_t OffBits = 0;
};

struct TTexel {
  int32_t X = 0;
  int32_t Y = 0;
  friend constexpr bool operator==(const TTexel&, const TTexel&) = default;
};

class TTextureData : public TGlobeRoot {
 public:
  TTextureData();
  std::string ClassName() const override { return "TTextureData"; }

  // Clears the texture and, when the file exists, loads it and records its name. Returns whether
  // a file was loaded; a file that is not an 8-bit bitmap raises EGlobeException.
  bool LoadFromFile(const std::string& fileName);
  // The same through the platform's file access (names resolved as the platform does).
  bool LoadFromFile(platform::FileSystem& files, const std::string& fileName);
  // Copies the whole stream and loads the bitmap from it; raises EGlobeException
  // "Globe texture must be a 256 color RGB encoded bitmap" for any other content (the texture
  // is then left empty).
  void LoadFromStream(std::istream& stream);
  void LoadFromBytes(std::string bytes);
  void Assign(const TTextureData& source);
  void Clear();

  bool HasTexture() const { return !Bytes_.empty(); }
  const std::string& FileName() const { return FileName_; }
  const std::string& Bytes() const { return Bytes_; }
  const TBitmapInfoHeader& InfoHeader() const { return Info_; }
  const TBitmapFileHeader& FileHeader() const { return FileHeader_; }

  // Width and rows of the bitmap, bytes per row (image size / rows).
  int32_t Width() const { return Info_.Width; }
  int32_t Rows() const { return Info_.Height; }
  int32_t RowStride() const { return Stride_; }
  // Palette index at column x of storage row `row` (rows are stored bottom-up: row 0 is the
  // southmost, as PointToTexel counts them); -1 outside the bitmap.
  int32_t TexelIndex(int32_t x, int32_t row) const;
  // Colour (0x00BBGGRR) of that texel; black outside.
  uint32_t TexelColour(int32_t x, int32_t row) const;

  // First palette entry equal to the colour's RGB value (0x00BBGGRR), or -1.
  int32_t PaletteIndexOf(uint32_t colour) const;
  // Entry 0..255 as 0x00BBGGRR, else black.
  uint32_t PaletteColour(int32_t index) const;

  // Column and storage row (bottom-up) of a point between the corners. Not clamped: a point
  // outside the corners gives a texel outside the bitmap.
  TTexel PointToTexel(const TGeoPoint& point) const;
  // The point of column x and of row y counted from the top (north) edge.
  TGeoPoint TexelToPoint(int32_t x, int32_t y) const;
  // 0 = north-west corner, 1 = south-east corner; other indices are ignored.
  void SetCorner(int32_t index, const TGeoPoint& point);
  TGeoPoint Corner(int32_t index) const { return Corners_.Point(index == 0 ? 0 : 1); }

  // Free for the owner (e.g. a transparent colour's index); -1 initially.
  int32_t ColourIndex = -1;

 private:
  void Parse();

  TPointStore Corners_;
  TBitmapInfoHeader Info_;
  std::string FileName_;
  std::array<uint32_t, 256> Palette_{};  // RGB quads as read: 0x00RRGGBB in memory order B,G,R,0
  std::string Bytes_;
  TBitmapFileHeader FileHeader_;
  int32_t Stride_ = 0;
  int64_t PixelOffset_ = 0;
};

}  // namespace globe
