// Objects without a presenter draw themselves: a bitmap object's picture lands on its bounds.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "globe/data/BitmapObject.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/testing/RecordingDrawingSurface.h"

namespace globe {
namespace {

void PutU16(std::string& b, uint16_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>(v >> 8);
}
void PutU32(std::string& b, uint32_t v) {
  PutU16(b, static_cast<uint16_t>(v & 0xFFFF));
  PutU16(b, static_cast<uint16_t>(v >> 16));
}

// A 4 x 4 picture of palette index 1, red.
std::string RedBitmap() {
  std::string b = "BM";
  PutU32(b, 14 + 40 + 8 + 16);
  PutU32(b, 0);
  PutU32(b, 14 + 40 + 8);
  PutU32(b, 40);
  PutU32(b, 4);
  PutU32(b, 4);
  PutU16(b, 1);
  PutU16(b, 8);
  for (int i = 0; i < 6; ++i) PutU32(b, i == 4 ? 2 : 0);
  PutU32(b, 0x000000);
  PutU32(b, 0xFF0000);  // red as blue, green, red, 0 bytes
  b += std::string(16, '\1');
  return b;
}

TEST(ObjectDrawingTest, BitmapObjectIsStretchedOverItsBounds) {
  const std::string file =
      (std::filesystem::temp_directory_path() / ("corvalis_red_" + std::to_string(getpid()) + ".bmp")).string();
  {
    std::ofstream out(file, std::ios::binary);
    out << RedBitmap();
  }
  TVoduz4 view;
  view.SetClientSize(600, 400);
  view.SetGraticuleDrawMode(gdNone);
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

  platform::testing::RecordingDrawingSurface window{600, 400};
  view.RedrawGlobe();
  view.Paint(window);
  const platform::Bitmap24& drawn = view.Canvas().Bitmap();
  EXPECT_EQ(drawn.Pixel(320, 220), platform::clRed);  // inside, below right of the corner
  // The recording surface paints nothing itself: only the texture fill reaches the bitmap.
  EXPECT_NE(drawn.Pixel(280, 180), platform::clRed);  // above left of the corner
  EXPECT_NE(drawn.Pixel(360, 260), platform::clRed);  // beyond the far corner
  std::remove(file.c_str());
}

}  // namespace
}  // namespace globe
