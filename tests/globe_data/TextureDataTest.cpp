#include "globe/data/TextureData.h"

#include <gtest/gtest.h>

#include <sstream>

#include "globe/data/GlobeException.h"
#include "platform/testing/MemoryFileSystem.h"
#include "tests/support/BitmapFiles.h"
#include "TempFile.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

constexpr const char* Not256Colours = "Globe texture must be a 256 color RGB encoded bitmap";

struct BitmapLayout {
  int32_t Width = 3;
  int32_t Height = 2;
  uint16_t BitCount = 8;
  uint32_t Compression = 0;
  bool WriteImageSize = true;
};

// An 8-bit bottom-up bitmap: palette entry i is (red i, green 2i, blue 255 - i); the pixel at
// column x of storage row r holds 10 r + x. Rows are padded to 4 bytes.
std::string MakeBitmap(const BitmapLayout& layout = {}) {
  const int32_t stride = (layout.Width + 3) / 4 * 4;
  std::string palette, pixels;
  for (int i = 0; i < 256; ++i)
    palette += corvalis::testing::PaletteEntry(uint8_t(i), uint8_t(2 * i), uint8_t(255 - i));
  for (int32_t r = 0; r < layout.Height; ++r)
    for (int32_t x = 0; x < stride; ++x) pixels += static_cast<char>(x < layout.Width ? 10 * r + x : 0xEE);
  return corvalis::testing::BitmapFile(layout.Width, layout.Height, layout.BitCount, palette, pixels,
                                       layout.Compression, layout.WriteImageSize ? -1 : 0);
}

void ExpectRejected(TTextureData& texture, std::string bytes) {
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { texture.LoadFromBytes(std::move(bytes)); }),
            Not256Colours);
  EXPECT_FALSE(texture.HasTexture());
  EXPECT_EQ(texture.TexelIndex(0, 0), -1);
}

TEST(TextureData, LoadsAnEightBitBitmapWithPaddedRows) {
  TTextureData texture;
  EXPECT_FALSE(texture.HasTexture());
  EXPECT_EQ(texture.ColourIndex, -1);
  std::istringstream stream(MakeBitmap());
  texture.LoadFromStream(stream);
  ASSERT_TRUE(texture.HasTexture());
  EXPECT_EQ(texture.Width(), 3);
  EXPECT_EQ(texture.Rows(), 2);
  EXPECT_EQ(texture.RowStride(), 4);
  EXPECT_EQ(texture.InfoHeader().BitCount, 8);
  EXPECT_EQ(texture.TexelIndex(2, 1), 12);
  EXPECT_EQ(texture.TexelIndex(0, 0), 0);
  EXPECT_EQ(texture.TexelIndex(4, 0), -1);
  EXPECT_EQ(texture.TexelIndex(0, 2), -1);
  // Colour 0x00BBGGRR of entry 12: red 12, green 24, blue 243.
  EXPECT_EQ(texture.TexelColour(2, 1), 0x00F3180Cu);
}

TEST(TextureData, ImageSizeZeroMeansPaddedRows) {
  TTextureData texture;
  BitmapLayout layout;
  layout.WriteImageSize = false;
  texture.LoadFromBytes(MakeBitmap(layout));
  EXPECT_EQ(texture.RowStride(), 4);
  EXPECT_EQ(texture.TexelIndex(1, 1), 11);
}

TEST(TextureData, PaletteLookupBothWays) {
  TTextureData texture;
  EXPECT_EQ(texture.PaletteIndexOf(0), -1);  // no texture
  texture.LoadFromBytes(MakeBitmap());
  EXPECT_EQ(texture.PaletteColour(1), 0x00FE0201u);
  EXPECT_EQ(texture.PaletteIndexOf(0x00FE0201u), 1);
  EXPECT_EQ(texture.PaletteIndexOf(0x000102FEu), -1);  // red and blue swapped: not there
  EXPECT_EQ(texture.PaletteColour(256), 0u);
  EXPECT_EQ(texture.PaletteColour(-1), 0u);
}

TEST(TextureData, OtherBitmapsAreRejectedAndLeaveNoTexture) {
  TTextureData texture;
  BitmapLayout rgb;
  rgb.BitCount = 24;
  ExpectRejected(texture, MakeBitmap(rgb));
  BitmapLayout rle;
  rle.Compression = 1;
  ExpectRejected(texture, MakeBitmap(rle));
  std::string notBm = MakeBitmap();
  notBm[0] = 'X';
  ExpectRejected(texture, notBm);
  // Truncated in the headers, in the palette and in the pixels.
  const std::string whole = MakeBitmap();
  for (std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{30}, std::size_t{500}, whole.size() - 1})
    ExpectRejected(texture, whole.substr(0, size));
  BitmapLayout empty;
  empty.Width = 0;
  ExpectRejected(texture, MakeBitmap(empty));
  BitmapLayout topDown;
  topDown.Height = -2;
  ExpectRejected(texture, MakeBitmap(topDown));
}

TEST(TextureData, PointsAndTexelsBetweenTheCorners) {
  TTextureData texture;
  BitmapLayout layout;
  layout.Width = 8;
  layout.Height = 4;
  texture.LoadFromBytes(MakeBitmap(layout));
  // Whole world by default: the north-west corner is column 0 of the top (last stored) row.
  EXPECT_EQ(texture.Corner(0), TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES));
  EXPECT_EQ(texture.PointToTexel(TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES)), (TTexel{0, 3}));
  EXPECT_EQ(texture.PointToTexel(TGeoPoint(0, 0)), (TTexel{4, 1}));  // 7 × 1/2 = 3.5 rounds up
  EXPECT_EQ(texture.TexelToPoint(0, 0), TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES));
  EXPECT_EQ(texture.TexelToPoint(4, 2), TGeoPoint(0, 0));
  // New corners: a 40 x 20 degree patch.
  texture.SetCorner(0, TGeoPoint(0, 20 * GlobeUnitsPerDegree));
  texture.SetCorner(1, TGeoPoint(40 * GlobeUnitsPerDegree, 0));
  texture.SetCorner(2, TGeoPoint(1, 1));  // ignored
  EXPECT_EQ(texture.TexelToPoint(2, 1), TGeoPoint(10 * GlobeUnitsPerDegree, 15 * GlobeUnitsPerDegree));
  EXPECT_EQ(texture.PointToTexel(TGeoPoint(40 * GlobeUnitsPerDegree, 0)), (TTexel{7, -1}));
}

TEST(TextureData, LoadFromFileRecordsTheNameAndAssignCopies) {
  testing::TempDir dir;
  const std::string path = dir.Write("texture.bmp", MakeBitmap());
  TTextureData texture;
  EXPECT_TRUE(texture.LoadFromFile(path));
  EXPECT_EQ(texture.FileName(), path);
  TTextureData copy;
  copy.Assign(texture);
  EXPECT_EQ(copy.TexelIndex(2, 1), 12);
  EXPECT_EQ(copy.FileName(), path);
  // A missing file clears the texture.
  EXPECT_FALSE(texture.LoadFromFile(dir.File("missing.bmp")));
  EXPECT_FALSE(texture.HasTexture());
  EXPECT_EQ(texture.FileName(), "");
}

TEST(TextureData, LoadFromFileThroughThePlatformFiles) {
  platform::testing::MemoryFileSystem files;
  files.AddFile("/Data/Earth.bmp", MakeBitmap());
  BitmapLayout rgb;
  rgb.BitCount = 24;
  files.AddFile("/Data/Photo.bmp", MakeBitmap(rgb));
  TTextureData texture;
  EXPECT_TRUE(texture.LoadFromFile(files, "/data/earth.BMP"));
  EXPECT_EQ(texture.TexelIndex(1, 1), 11);
  EXPECT_EQ(texture.FileName(), "/data/earth.BMP");
  EXPECT_FALSE(texture.LoadFromFile(files, "/Data/none.bmp"));
  EXPECT_FALSE(texture.HasTexture());
  EXPECT_THROW(texture.LoadFromFile(files, "/Data/Photo.bmp"), EGlobeException);
  EXPECT_FALSE(texture.HasTexture());
}

}  // namespace
}  // namespace globe
