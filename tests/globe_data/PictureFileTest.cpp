// Decoding of symbol pictures: Windows bitmaps of several depths and JPEG images, and refusal of
// malformed data.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "globe/data/PictureFile.h"
#include "tests/support/BitmapFiles.h"

namespace globe {
namespace {

using corvalis::testing::BitmapFile;

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
  auto topDown = DecodeBitmapPicture(BitmapFile(3, -2, 8, palette, rows));
  ASSERT_NE(nullptr, topDown);
  EXPECT_EQ(Pixels(*topDown), (P{0x0000FF, 0x00FF00, 0, 0x00FF00, 0x00FF00, 0x0000FF}));
  auto bottomUp = DecodeBitmapPicture(BitmapFile(3, 2, 8, palette, rows));
  ASSERT_NE(nullptr, bottomUp);
  EXPECT_EQ(Pixels(*bottomUp), (P{0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, 0x00FF00, 0}));
  // 1 bit per pixel, most significant bit first: 0b10100000 -> red, black, red.
  auto bits = DecodeBitmapPicture(BitmapFile(3, 1, 1, palette.substr(0, 8), std::string("\xA0\0\0\0", 4)));
  ASSERT_NE(nullptr, bits);
  EXPECT_EQ(Pixels(*bits), (P{0x0000FF, 0, 0x0000FF}));
}

TEST(PictureFileTest, MalformedBitmapsGiveNoPicture) {
  const std::string pixels(16, '\x10');  // two rows of 6 bytes padded to 8
  const std::string good = BitmapFile(2, 2, 24, "", pixels);
  ASSERT_NE(nullptr, DecodeBitmapPicture(good));
  for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_EQ(nullptr, DecodeBitmapPicture(good.substr(0, cut))) << cut;
  EXPECT_EQ(nullptr, DecodeBitmapPicture(BitmapFile(2, 2, 24, "", pixels, 1)));  // RLE
  EXPECT_EQ(nullptr, DecodeBitmapPicture(BitmapFile(2, 2, 16, "", pixels)));
  EXPECT_EQ(nullptr, DecodeBitmapPicture(BitmapFile(0, 2, 24, "", pixels)));
  EXPECT_EQ(nullptr, DecodeBitmapPicture(BitmapFile(2000000000, 2000000000, 24, "", pixels)));
  // An 8-bit pixel pointing past a short palette draws black.
  auto shortPalette = DecodeBitmapPicture(BitmapFile(1, 1, 8, std::string("\0\0\xFF\0", 4), std::string("\x07\0\0\0", 4)));
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
  jpeg[at + 5] = static_cast<char>(height >> 8);
  jpeg[at + 6] = static_cast<char>(height & 0xFF);
  jpeg[at + 7] = static_cast<char>(width >> 8);
  jpeg[at + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

TEST(PictureFileTest, JpegImagesAreDecodedAndBrokenOnesRefused) {
  const std::string jpeg = SolidJpeg(16, 8, 200, 40, 10);
  auto picture = DecodeJpegPicture(jpeg);
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(16, picture->Width());
  EXPECT_EQ(8, picture->Height());
  const platform::TColor c = picture->Pixel(5, 5);
  EXPECT_NEAR(200, static_cast<int>(c & 0xFF), 6);  // red in the low byte
  EXPECT_NEAR(40, static_cast<int>((c >> 8) & 0xFF), 6);
  EXPECT_NEAR(10, static_cast<int>((c >> 16) & 0xFF), 6);
  EXPECT_EQ(nullptr, DecodeJpegPicture(""));
  EXPECT_EQ(nullptr, DecodeJpegPicture(jpeg.substr(0, 20)));
  EXPECT_EQ(nullptr, DecodeJpegPicture("not a jpeg at all"));
}

TEST(PictureFileTest, JpegWhoseDataEndsBeforeTheImageIsRefused) {
  // Cut halfway through the image data: libjpeg would fill the missing rows itself.
  const std::string jpeg = SolidJpeg(256, 256, 10, 200, 30);
  const size_t scan = MarkerAt(jpeg, 0xDA);
  ASSERT_NE(nullptr, DecodeJpegPicture(jpeg));
  EXPECT_EQ(nullptr, DecodeJpegPicture(jpeg.substr(0, scan + (jpeg.size() - scan) / 2)));
  // A few hundred bytes claiming 4000 x 4000 pixels, baseline or progressive: refused instead of
  // filled in (the same file claiming 16000 x 16000 would cost seconds).
  EXPECT_EQ(nullptr, DecodeJpegPicture(ClaimingSize(SolidJpeg(16, 8, 1, 2, 3), 0xC0, 4000, 4000)));
  EXPECT_EQ(nullptr, DecodeJpegPicture(ClaimingSize(SolidJpeg(16, 8, 1, 2, 3, true), 0xC2, 4000, 4000)));
  // A fuzzed file of 368 bytes claiming 65498 x 2560 pixels took seconds filling its bitmap.
  EXPECT_EQ(nullptr, LoadPictureFile(CORVALIS_TEST_DATA_DIR "/fuzz/jpeg-claims-65498x2560.jpg"));
  // Over the picture limit (65000 x 65000 pixels): refused from the header alone.
  EXPECT_EQ(nullptr, DecodeJpegPicture(ClaimingSize(SolidJpeg(16, 8, 1, 2, 3), 0xC0, 65000, 65000)));
}

}  // namespace
}  // namespace globe
