// Pictures: 256-colour textures laid between two corners, the bitmap objects that carry one
// south-east of their centre, and symbol pictures decoded from bitmaps of several depths and JPEG
// images, malformed data refused.

#include "globe/data/TextureData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <jpeglib.h>
#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "Points.h"
#include "TempFile.h"
#include "globe/data/BitmapObject.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/PictureFile.h"
#include "platform/testing/MemoryFileSystem.h"
#include "tests/support/BitmapFiles.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::BitmapFile;
using corvalis::testing::ThrownMessage;
using testing::Deg;

struct BitmapLayout {
  int32_t Width = 3, Height = 2;
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
    palette += corvalis::testing::PaletteEntry(uint8_t(i == 7 ? 255 : i), uint8_t(i == 7 ? 0 : 2 * i),
                                               uint8_t(i == 7 ? 0 : 255 - i));
  for (int32_t r = 0; r < layout.Height; ++r)
    for (int32_t x = 0; x < stride; ++x) pixels += static_cast<char>(x < layout.Width ? 10 * r + x : 0xEE);
  return corvalis::testing::BitmapFile(layout.Width, layout.Height, layout.BitCount, palette, pixels,
                                       layout.Compression, layout.WriteImageSize ? -1 : 0);
}

TEST(TextureData, LoadsAnEightBitBitmapWithPaddedRowsAndLooksUpItsPalette) {
  TTextureData texture;
  std::istringstream stream(MakeBitmap());
  texture.LoadFromStream(stream);
  ASSERT_TRUE(texture.HasTexture());
  EXPECT_EQ(std::tuple(texture.Width(), texture.Rows(), texture.RowStride()), std::tuple(3, 2, 4));
  EXPECT_EQ(std::tuple(texture.TexelIndex(2, 1), texture.TexelIndex(4, 0), texture.TexelIndex(0, 2)),
            std::tuple(12, -1, -1));
  EXPECT_EQ(texture.TexelColour(2, 1), 0x00F3180Cu);  // 0x00BBGGRR of entry 12: red 12, green 24, blue 243
  // Red and blue swapped is not there; indexes outside the palette give black.
  EXPECT_EQ(std::tuple(texture.PaletteColour(1), texture.PaletteIndexOf(0x00FE0201u),
                       texture.PaletteIndexOf(0x000102FEu), texture.PaletteColour(256), texture.PaletteColour(-1)),
            std::tuple(0x00FE0201u, 1, -1, 0u, 0u));
  texture.LoadFromBytes(MakeBitmap({3, 2, 8, 0, false}));  // an image size of 0 means padded rows
  EXPECT_EQ(std::tuple(texture.RowStride(), texture.TexelIndex(1, 1)), std::tuple(4, 11));
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
    EXPECT_EQ(std::tuple(texture.HasTexture(), texture.TexelIndex(0, 0)), std::tuple(false, -1));
  }
}

TEST(TextureData, PointsAndTexelsBetweenTheCorners) {
  TTextureData texture;
  texture.LoadFromBytes(MakeBitmap({8, 4}));
  // Whole world by default: the north-west corner is column 0 of the top (last stored) row.
  const TGeoPoint northWest(-GU_180_DEGREES, GU_90_DEGREES);
  EXPECT_EQ(std::tuple(texture.Corner(0), texture.TexelToPoint(0, 0), texture.TexelToPoint(4, 2)),
            std::tuple(northWest, northWest, TGeoPoint(0, 0)));
  EXPECT_EQ(std::tuple(texture.PointToTexel(northWest), texture.PointToTexel(TGeoPoint(0, 0))),
            std::tuple(TTexel{0, 3}, TTexel{4, 1}));  // 7 × 1/2 = 3.5 rounds up
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
  EXPECT_EQ(std::tuple(copy.TexelIndex(2, 1), copy.FileName()), std::tuple(12, path));
  platform::testing::MemoryFileSystem files;
  files.AddFile("/Data/Earth.bmp", MakeBitmap());
  files.AddFile("/Data/Photo.bmp", MakeBitmap({3, 2, 24}));
  EXPECT_TRUE(texture.LoadFromFile(files, "/data/earth.BMP"));
  EXPECT_EQ(std::tuple(texture.TexelIndex(1, 1), texture.FileName()), std::tuple(11, "/data/earth.BMP"));
  EXPECT_FALSE(texture.LoadFromFile(files, "/Data/none.bmp"));  // a missing file clears the texture
  EXPECT_EQ(std::tuple(texture.HasTexture(), texture.FileName()), std::tuple(false, ""));
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
  EXPECT_EQ(std::tuple(bitmap->BMPFilename(), bitmap->Title()),
            std::tuple(dir.Path.string() + "/chart.bmp", "chart.bmp"));
  // The row stride, not the width, counts: 8 × 90,000 wide, 3 × 90,000 high, south of the centre.
  EXPECT_EQ(bitmap->GetBounds(), TGeoRect(1'000'000, 2'000'000 - 270'000, 720'000, 270'000));
  EXPECT_EQ(bitmap->TextureData().Corner(1), TGeoPoint(1'720'000, 1'730'000));
  bitmap->SetGlobeUnitsPerPixel(2, 30'000);
  EXPECT_EQ(bitmap->GetBounds(), TGeoRect(1'000'000, 1'910'000, 720'000, 90'000));
  bitmap->SetTransparentColor(0x0000FF);  // red, as 0x00BBGGRR
  EXPECT_EQ(std::tuple(bitmap->TransparentIndex(), bitmap->TransparentColor()), std::tuple(7, 0x0000FF));
  EXPECT_EQ(std::tuple(bitmap->PointOnObject(TGeoPoint(1'100'000, 1'950'000), 0),
                       bitmap->PointOnObject(TGeoPoint(1'100'000, 2'050'000), 0)),
            std::tuple(true, false));
  TBitmapObject* unknown = source->NewObject<TBitmapObject>();
  unknown->SetBMPFilename("nowhere.bmp");
  EXPECT_EQ(std::tuple(unknown->BMPFilename(), unknown->TextureData().HasTexture(), unknown->Title(),
                       unknown->TransparentColor()),
            std::tuple("", false, "", -1));
}

std::vector<platform::TColor> Pixels(const platform::Bitmap24& picture) {
  std::vector<platform::TColor> pixels;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) pixels.push_back(picture.Pixel(x, y));
  return pixels;
}

TEST(PictureFileTest, PalettedBitmapsTopDownBottomUpAndOneBitDeep) {
  using P = std::vector<platform::TColor>;
  // Palette: 0 black, 1 red, 2 green (blue, green, red, 0 per entry); 3 pixels of 8 bits pad
  // each row to 4 bytes. Height -2: rows stored top row first.
  const std::string palette = std::string("\0\0\0\0\0\0\xFF\0\0\xFF\0\0", 12);
  const std::string rows = std::string("\x01\x02\x00\x00\x02\x02\x01\x00", 8);
  // 1 bit per pixel, most significant bit first: 0b10100000 -> red, black, red.
  for (const auto& [bytes, pixels] :
       {std::pair{BitmapFile(3, -2, 8, palette, rows), P{0x0000FF, 0x00FF00, 0, 0x00FF00, 0x00FF00, 0x0000FF}},
        {BitmapFile(3, 2, 8, palette, rows), P{0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, 0x00FF00, 0}},
        {BitmapFile(3, 1, 1, palette.substr(0, 8), std::string("\xA0\0\0\0", 4)), P{0x0000FF, 0, 0x0000FF}}}) {
    auto picture = DecodeBitmapPicture(bytes);
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(Pixels(*picture), pixels);
  }
}

TEST(PictureFileTest, MalformedBitmapsGiveNoPicture) {
  const std::string pixels(16, '\x10');  // two rows of 6 bytes padded to 8
  const std::string good = BitmapFile(2, 2, 24, "", pixels);
  ASSERT_NE(nullptr, DecodeBitmapPicture(good));
  for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_EQ(nullptr, DecodeBitmapPicture(good.substr(0, cut))) << cut;
  for (const std::string& bad : {BitmapFile(2, 2, 24, "", pixels, 1), BitmapFile(2, 2, 16, "", pixels),  // RLE, 16 bits
                                 BitmapFile(0, 2, 24, "", pixels), BitmapFile(2000000000, 2000000000, 24, "", pixels)})
    EXPECT_EQ(nullptr, DecodeBitmapPicture(bad));
  // An 8-bit pixel pointing past a short palette draws black.
  auto shortPalette =
      DecodeBitmapPicture(BitmapFile(1, 1, 8, std::string("\0\0\xFF\0", 4), std::string("\x07\0\0\0", 4)));
  ASSERT_NE(nullptr, shortPalette);
  EXPECT_EQ(0u, shortPalette->Pixel(0, 0));
  EXPECT_EQ(nullptr, LoadPictureFile("/nonexistent/picture.bmp"));
}

// A solid-colour JPEG made with the library itself (baseline, or progressive).
std::string SolidJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), {r, g, b});
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

// Offset of the first marker 0xFF `code` after the start-of-image marker.
size_t MarkerAt(const std::string& jpeg, uint8_t code) {
  const size_t at = jpeg.find(std::string{'\xFF', static_cast<char>(code)}, 2);
  EXPECT_NE(std::string::npos, at) << "no marker " << int{code};
  return at;
}

// The JPEG with its frame header (baseline 0xC0 or progressive 0xC2) claiming another size.
std::string ClaimingSize(std::string jpeg, uint8_t frameMarker, int width, int height) {
  const size_t at = MarkerAt(jpeg, frameMarker);  // marker, length (2), precision, height, width
  const int sizes[] = {height, width};
  for (int i = 0; i < 4; ++i) jpeg[at + 5 + i] = static_cast<char>(sizes[i / 2] >> (i % 2 ? 0 : 8));
  return jpeg;
}

TEST(PictureFileTest, JpegImagesAreDecodedAndBrokenOnesRefused) {
  const std::string jpeg = SolidJpeg(16, 8, 200, 40, 10);
  auto picture = DecodeJpegPicture(jpeg);
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(std::tuple(picture->Width(), picture->Height()), std::tuple(16, 8));
  for (auto [shift, value] : {std::pair{0, 200}, {8, 40}, {16, 10}})  // red in the low byte
    EXPECT_NEAR(value, static_cast<int>((picture->Pixel(5, 5) >> shift) & 0xFF), 6) << shift;
  for (const std::string& broken : {std::string(), jpeg.substr(0, 20), std::string("not a jpeg at all")})
    EXPECT_EQ(nullptr, DecodeJpegPicture(broken));
}

TEST(PictureFileTest, JpegWhoseDataEndsBeforeTheImageIsRefused) {
  // Cut halfway through the image data: libjpeg would fill the missing rows itself.
  const std::string jpeg = SolidJpeg(256, 256, 10, 200, 30);
  const size_t scan = MarkerAt(jpeg, 0xDA);
  ASSERT_NE(nullptr, DecodeJpegPicture(jpeg));
  EXPECT_EQ(nullptr, DecodeJpegPicture(jpeg.substr(0, scan + (jpeg.size() - scan) / 2)));
  // A few hundred bytes claiming 4000 x 4000 pixels, baseline or progressive: refused instead of
  // filled in (the same file claiming 16000 x 16000 would cost seconds).
  for (const bool progressive : {false, true})
    EXPECT_EQ(nullptr, DecodeJpegPicture(ClaimingSize(SolidJpeg(16, 8, 1, 2, 3, progressive),
                                                      progressive ? 0xC2 : 0xC0, 4000, 4000)));
  // A fuzzed file of 368 bytes claiming 65498 x 2560 pixels took seconds filling its bitmap.
  EXPECT_EQ(nullptr, LoadPictureFile(CORVALIS_TEST_DATA_DIR "/fuzz/jpeg-claims-65498x2560.jpg"));
  // Over the picture limit (65000 x 65000 pixels): refused from the header alone.
  EXPECT_EQ(nullptr, DecodeJpegPicture(ClaimingSize(SolidJpeg(16, 8, 1, 2, 3), 0xC0, 65000, 65000)));
}

}  // namespace
}  // namespace globe
