// Bitmap objects: a bitmap laid south-east of the object's centre, sized by its pixels.

#include <gtest/gtest.h>

#include "TempFile.h"
#include "globe/data/BitmapObject.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeObjectSource.h"
#include "tests/support/BitmapFiles.h"

namespace globe {
namespace {

using testing::TempDir;

// An 8-bit bitmap of `width` x `rows` pixels of index 0; palette entry i is the grey (i, i, i),
// entry 7 red.
std::string Bitmap8(int width, int rows) {
  std::string palette;
  for (int i = 0; i < 256; ++i)
    palette += i == 7 ? corvalis::testing::PaletteEntry(255, 0, 0) : corvalis::testing::PaletteEntry(i, i, i);
  return corvalis::testing::BitmapFile(width, rows, 8, palette, std::string((width + 3) / 4 * 4 * rows, '\0'));
}

TEST(BitmapObject, LoadsThroughTheDataDirectoryAndSizesItsBounds) {
  TempDir dir;
  dir.Write("chart.bmp", Bitmap8(6, 3));  // stride 8 bytes
  TCustomVoduz4 globe;
  globe.SetDataDirectory(dir.Path.string());
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  TBitmapObject* bitmap = source->NewObject<TBitmapObject>();
  bitmap->SetCentroid(TGeoPoint(1'000'000, 2'000'000));
  bitmap->SetBMPFilename("chart.bmp");
  EXPECT_EQ(bitmap->BMPFilename(), dir.Path.string() + "/chart.bmp");
  EXPECT_EQ(bitmap->Title(), "chart.bmp");
  ASSERT_TRUE(bitmap->TextureData().HasTexture());

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
}

TEST(BitmapObject, AnUnknownFileLeavesNoBitmap) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  TBitmapObject* bitmap = source->NewObject<TBitmapObject>();
  bitmap->SetBMPFilename("nowhere.bmp");
  EXPECT_EQ(bitmap->BMPFilename(), "");
  EXPECT_FALSE(bitmap->TextureData().HasTexture());
  EXPECT_EQ(bitmap->Title(), "");
  EXPECT_EQ(bitmap->TransparentColor(), -1);
}

}  // namespace
}  // namespace globe
