// Objects without a presenter draw themselves: a bitmap object's picture lands on its bounds.

#include <gtest/gtest.h>

#include <string>

#include "globe/data/BitmapObject.h"
#include "globe/view/GlobeCanvas.h"
#include "tests/globe_data/TempFile.h"
#include "tests/support/BitmapFiles.h"
#include "tests/support/RecordingMapFixture.h"

namespace globe {
namespace {

// A 4 x 4 picture of palette index 1, red.
std::string RedBitmap() {
  using namespace corvalis::testing;
  return BitmapFile(4, 4, 8, PaletteEntry(0, 0, 0) + PaletteEntry(255, 0, 0), std::string(16, '\1'));
}

using ObjectDrawingTest = corvalis::testing::RecordingMapFixture;

TEST_F(ObjectDrawingTest, BitmapObjectIsStretchedOverItsBounds) {
  testing::TempDir dir;
  const std::string file = dir.Write("red.bmp", RedBitmap());
  TGeoPoint middle;
  ASSERT_TRUE(view.DeviceXYToLL(300, 200, middle));
  TGlobeLayer* layer = view.LayerStore().NewLayer();
  auto* picture = layer->ObjectSource()->NewObject<TBitmapObject>();
  picture->SetCentroid(middle);  // the top-left corner
  const int32_t perPixel = static_cast<int32_t>(10 / view.Projection().ScaleFactor());  // 40 screen pixels
  picture->SetGlobeUnitsPerPixel(0, perPixel);
  picture->SetGlobeUnitsPerPixel(1, perPixel);
  picture->SetBMPFilename(file);
  ASSERT_TRUE(picture->TextureData().HasTexture());
  picture->Changed();

  PaintNow();
  const platform::Bitmap24& drawn = view.Canvas().Bitmap();
  EXPECT_EQ(drawn.Pixel(320, 220), platform::clRed);  // inside, below right of the corner
  // The recording surface paints nothing itself: only the texture fill reaches the bitmap.
  EXPECT_NE(drawn.Pixel(280, 180), platform::clRed);  // above left of the corner
  EXPECT_NE(drawn.Pixel(360, 260), platform::clRed);  // beyond the far corner
}

}  // namespace
}  // namespace globe
