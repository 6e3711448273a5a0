#include <gtest/gtest.h>

#include <string>

#include "FakeGlobeView.h"
#include "globe/data/TextureData.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "tests/support/BitmapFiles.h"

namespace globe {
namespace {

using platform::testing::DrawOp;
using testing::FakeGlobeView;

constexpr int32_t Deg = 5'400'000;

// A 4 x 2 texture of the whole world: the western half palette index 1 (red), the eastern
// half index 2 (blue).
TTextureData HalfRedHalfBlue() {
  using namespace corvalis::testing;
  TTextureData texture;
  texture.LoadFromBytes(BitmapFile(4, 2, 8, PaletteEntry(0, 0, 0) + PaletteEntry(255, 0, 0) + PaletteEntry(0, 0, 255),
                                   std::string("\1\1\2\2\1\1\2\2", 8)));
  return texture;
}

struct TextureFixture : testing::RecordingCanvasFixture {
  TTextureData texture = HalfRedHalfBlue();

  TextureFixture() {
    view.P().SetXRotation(0);
    view.P().SetYRotation(0);
  }
};

TEST_F(TextureFixture, TriangleTakesTheNearestTexels) {
  canvas.BeginBuffered();
  canvas.RenderTextureTriangle(TGeoPoint(-20 * Deg, -20 * Deg), TGeoPoint(20 * Deg, -20 * Deg),
                               TGeoPoint(0, 20 * Deg), texture);
  canvas.EndBuffered();
  const platform::Bitmap24& bitmap = canvas.Bitmap();
  EXPECT_EQ(bitmap.Pixel(290, 200), clRed);   // west of the centre
  EXPECT_EQ(bitmap.Pixel(310, 200), clBlue);  // east of it
  EXPECT_EQ(bitmap.Pixel(300, 300), clBlack); // outside the triangle: untouched
  EXPECT_EQ(bitmap.Pixel(300, 100), clBlack);
}

TEST_F(TextureFixture, TransparentIndexIsSkipped) {
  texture.ColourIndex = 2;
  canvas.BeginBuffered();
  canvas.RenderTextureTriangle(TGeoPoint(-20 * Deg, -20 * Deg), TGeoPoint(20 * Deg, -20 * Deg),
                               TGeoPoint(0, 20 * Deg), texture);
  canvas.EndBuffered();
  EXPECT_EQ(canvas.Bitmap().Pixel(290, 200), clRed);
  EXPECT_EQ(canvas.Bitmap().Pixel(310, 200), clBlack);
}

TEST_F(TextureFixture, WithoutBufferTexelsGoToTheWindow) {
  canvas.RenderTextureTriangle(TGeoPoint(-1 * Deg, -1 * Deg), TGeoPoint(1 * Deg, -1 * Deg),
                               TGeoPoint(0, 1 * Deg), texture);
  const auto pixels = window.Calls(DrawOp::SetPixel);
  ASSERT_FALSE(pixels.empty());
  for (const auto& p : pixels) {
    EXPECT_EQ(p.Color, p.Points[0].X < 300 ? clRed : clBlue) << p.Points[0].X;
  }
  // Nothing without a texture.
  window.ClearLog();
  canvas.RenderTextureTriangle(TGeoPoint(-1 * Deg, -1 * Deg), TGeoPoint(1 * Deg, -1 * Deg),
                               TGeoPoint(0, 1 * Deg), TTextureData());
  EXPECT_EQ(window.Count(DrawOp::SetPixel), 0u);
}

}  // namespace
}  // namespace globe
