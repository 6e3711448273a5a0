// Textures: 256-colour bitmaps laid between two corners, loaded from bytes or files, and the
// bitmap objects that carry one south-east of their centre.

#include "globe/data/TextureData.h"

#include <gtest/gtest.h>

#include <sstream>

#include "Points.h"
#include "TempFile.h"
#include "globe/data/BitmapObject.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "platform/testing/MemoryFileSystem.h"
#include "tests/support/BitmapFiles.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::Deg;

struct BitmapLayout {
  int32_t Width = 3;
  int32_t Height = 2;
  uint16_t BitCount = 8;
  uint32_t Compression = 0;
  bool WriteImageSize = true;
};

// An 8-bit bottom-up bitmap: palette entry i is (red i, green 2i, blue 255 - i), entry 7 pure
// red; the pixel at column x of storage row r holds 10 r + x. Rows are padded to 4 bytes.
std::string MakeBitmap(const BitmapLayout& layout = {}) {
  const int32_t stride = (layout.Width + 3) / 4 * 4;
  std::string palette, pixels;
  for (int i = 0; i < 256; ++i)
    palette += corvalis::testing::PaletteEntry(uint8_t(i == 7 ? 255 : i), uint8_t(i == 7 ? 0 : 2 * i), uint8_t(i == 7 ? 0 : 255 - i));
  for (int32_t r = 0; r < layout.Height; ++r)
    for (int32_t x = 0; x < stride; ++x) pixels += static_cast<char>(x < layout.Width ? 10 * r + x : 0xEE);
  return corvalis::testing::BitmapFile(layout.Width, layout.Height, layout.BitCount, palette, pixels, layout.Compression,
                                       layout.WriteImageSize ? -1 : 0);
}

TEST(TextureData, LoadsAnEightBitBitmapWithPaddedRowsAndLooksUpItsPalette) {
  TTextureData texture;
  EXPECT_EQ(texture.PaletteIndexOf(0), -1);  // no texture
  std::istringstream stream(MakeBitmap());
  texture.LoadFromStream(stream);
  ASSERT_TRUE(texture.HasTexture());
  EXPECT_EQ(texture.Width(), 3);
  EXPECT_EQ(texture.Rows(), 2);
  EXPECT_EQ(texture.RowStride(), 4);
  EXPECT_EQ(texture.TexelIndex(2, 1), 12);
  EXPECT_EQ(texture.TexelIndex(4, 0), -1);
  EXPECT_EQ(texture.TexelIndex(0, 2), -1);
  EXPECT_EQ(texture.TexelColour(2, 1), 0x00F3180Cu);  // 0x00BBGGRR of entry 12: red 12, green 24, blue 243
  EXPECT_EQ(texture.PaletteColour(1), 0x00FE0201u);
  EXPECT_EQ(texture.PaletteIndexOf(0x00FE0201u), 1);
  EXPECT_EQ(texture.PaletteIndexOf(0x000102FEu), -1);  // red and blue swapped: not there
  EXPECT_EQ(texture.PaletteColour(256), 0u);
  EXPECT_EQ(texture.PaletteColour(-1), 0u);
  BitmapLayout noSize;  // an image size of 0 means padded rows
  noSize.WriteImageSize = false;
  texture.LoadFromBytes(MakeBitmap(noSize));
  EXPECT_EQ(texture.RowStride(), 4);
  EXPECT_EQ(texture.TexelIndex(1, 1), 11);
}

TEST(TextureData, OtherBitmapsAreRejectedAndLeaveNoTexture) {
  const std::string whole = MakeBitmap();
  std::string notBm = whole;
  notBm[0] = 'X';
  std::vector<std::string> rejected = {notBm};
  for (BitmapLayout layout : {BitmapLayout{3, 2, 24}, BitmapLayout{3, 2, 8, 1}, BitmapLayout{0}, BitmapLayout{3, -2}})
    rejected.push_back(MakeBitmap(layout));  // 24 bits, RLE, no width, top-down
  // Truncated in the headers, in the palette and in the pixels.
  for (std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{30}, std::size_t{500}, whole.size() - 1})
    rejected.push_back(whole.substr(0, size));
  TTextureData texture;
  for (std::string& bytes : rejected) {
    texture.LoadFromBytes(MakeBitmap());
    EXPECT_EQ(ThrownMessage<EGlobeException>([&] { texture.LoadFromBytes(std::move(bytes)); }),
              "Globe texture must be a 256 color RGB encoded bitmap");
    EXPECT_FALSE(texture.HasTexture());
    EXPECT_EQ(texture.TexelIndex(0, 0), -1);
  }
}

TEST(TextureData, PointsAndTexelsBetweenTheCorners) {
  TTextureData texture;
  texture.LoadFromBytes(MakeBitmap({8, 4}));
  // Whole world by default: the north-west corner is column 0 of the top (last stored) row.
  EXPECT_EQ(texture.Corner(0), TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES));
  EXPECT_EQ(texture.PointToTexel(TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES)), (TTexel{0, 3}));
  EXPECT_EQ(texture.PointToTexel(TGeoPoint(0, 0)), (TTexel{4, 1}));  // 7 × 1/2 = 3.5 rounds up
  EXPECT_EQ(texture.TexelToPoint(0, 0), TGeoPoint(-GU_180_DEGREES, GU_90_DEGREES));
  EXPECT_EQ(texture.TexelToPoint(4, 2), TGeoPoint(0, 0));
  texture.SetCorner(0, TGeoPoint(0, 20 * Deg));  // a 40 x 20 degree patch
  texture.SetCorner(1, TGeoPoint(40 * Deg, 0));
  texture.SetCorner(2, TGeoPoint(1, 1));  // ignored
  EXPECT_EQ(texture.TexelToPoint(2, 1), TGeoPoint(10 * Deg, 15 * Deg));
  EXPECT_EQ(texture.PointToTexel(TGeoPoint(40 * Deg, 0)), (TTexel{7, -1}));
}

TEST(TextureData, LoadFromFilesOnDiskOrThroughThePlatformFiles) {
  testing::TempDir dir;
  const std::string path = dir.Write("texture.bmp", MakeBitmap());
  TTextureData texture, copy;
  EXPECT_TRUE(texture.LoadFromFile(path));
  copy.Assign(texture);
  EXPECT_EQ(copy.TexelIndex(2, 1), 12);
  EXPECT_EQ(copy.FileName(), path);
  EXPECT_FALSE(texture.LoadFromFile(dir.File("missing.bmp")));  // a missing file clears the texture
  EXPECT_FALSE(texture.HasTexture());
  EXPECT_EQ(texture.FileName(), "");
  platform::testing::MemoryFileSystem files;
  files.AddFile("/Data/Earth.bmp", MakeBitmap());
  files.AddFile("/Data/Photo.bmp", MakeBitmap({3, 2, 24}));
  EXPECT_TRUE(texture.LoadFromFile(files, "/data/earth.BMP"));
  EXPECT_EQ(texture.TexelIndex(1, 1), 11);
  EXPECT_EQ(texture.FileName(), "/data/earth.BMP");
  EXPECT_FALSE(texture.LoadFromFile(files, "/Data/none.bmp"));
  EXPECT_FALSE(texture.HasTexture());
  EXPECT_THROW(texture.LoadFromFile(files, "/Data/Photo.bmp"), EGlobeException);
  EXPECT_FALSE(texture.HasTexture());
}

TEST(BitmapObject, LoadsThroughTheDataDirectoryAndSizesItsBoundsOrLeavesNone) {
  testing::TempDir dir;
  dir.Write("chart.bmp", MakeBitmap({6, 3}));  // stride 8 bytes
  TCustomVoduz4 globe;
  globe.SetDataDirectory(dir.Path.string());
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  TBitmapObject* bitmap = source->NewObject<TBitmapObject>();
  bitmap->SetCentroid(TGeoPoint(1'000'000, 2'000'000));
  bitmap->SetBMPFilename("chart.bmp");
  EXPECT_EQ(bitmap->BMPFilename(), dir.Path.string() + "/chart.bmp");
  EXPECT_EQ(bitmap->Title(), "chart.bmp");
  // The row stride, not the width, counts: 8 × 90,000 wide, 3 × 90,000 high, south of the centre.
  EXPECT_EQ(bitmap->GetBounds(), TGeoRect(1'000'000, 2'000'000 - 270'000, 720'000, 270'000));
  EXPECT_EQ(bitmap->TextureData().Corner(1), TGeoPoint(1'720'000, 1'730'000));
  bitmap->SetGlobeUnitsPerPixel(2, 30'000);
  EXPECT_EQ(bitmap->GetBounds(), TGeoRect(1'000'000, 1'910'000, 720'000, 90'000));
  bitmap->SetTransparentColor(0x0000FF);  // red, as 0x00BBGGRR
  EXPECT_EQ(bitmap->TransparentIndex(), 7);
  EXPECT_EQ(bitmap->TransparentColor(), 0x0000FF);
  EXPECT_TRUE(bitmap->PointOnObject(TGeoPoint(1'100'000, 1'950'000), 0));
  EXPECT_FALSE(bitmap->PointOnObject(TGeoPoint(1'100'000, 2'050'000), 0));
  TBitmapObject* unknown = source->NewObject<TBitmapObject>();
  unknown->SetBMPFilename("nowhere.bmp");
  EXPECT_EQ(unknown->BMPFilename(), "");
  EXPECT_FALSE(unknown->TextureData().HasTexture());
  EXPECT_EQ(unknown->Title(), "");
  EXPECT_EQ(unknown->TransparentColor(), -1);
}

}  // namespace
}  // namespace globe
