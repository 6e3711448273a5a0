#include <gtest/gtest.h>

#include <string>

#include "FakeGlobeView.h"
#include "globe/data/TextureData.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "platform/testing/RecordingDrawingSurface.h"

namespace globe {
namespace {

using platform::testing::DrawOp;
using platform::testing::RecordingDrawingSurface;
using testing::FakeGlobeView;

constexpr int32_t Deg = 5'400'000;

void PutU16(std::string& b, uint16_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>(v >> 8);
}
void PutU32(std::string& b, uint32_t v) {
  PutU16(b, static_cast<uint16_t>(v & 0xFFFF));
  PutU16(b, static_cast<uint16_t>(v >> 16));
}

// A 4 x 2 texture of the whole world: the western half palette index 1 (red), the eastern
// half index 2 (blue).
TTextureData HalfRedHalfBlue() {
  std::string b = "BM";
  PutU32(b, 14 + 40 + 12 + 8);
  PutU32(b, 0);
  PutU32(b, 14 + 40 + 12);
  PutU32(b, 40);
  PutU32(b, 4);  // width
  PutU32(b, 2);  // height
  PutU16(b, 1);
  PutU16(b, 8);
  for (int i = 0; i < 6; ++i) PutU32(b, i == 4 ? 3 : 0);  // compression .. colours used = 3
  PutU32(b, 0x000000);                                    // 0: black
  PutU32(b, 0xFF0000);                                    // 1: red (blue, green, red, 0 bytes)
  PutU32(b, 0x0000FF);                                    // 2: blue
  b += std::string("\1\1\2\2\1\1\2\2", 8);
  TTextureData texture;
  texture.LoadFromBytes(b);
  return texture;
}

struct TextureFixture : ::testing::Test {
  FakeGlobeView view{600, 400};
  RecordingDrawingSurface window{600, 400};
  TGlobeCanvas& canvas = view.Canvas();
  TTextureData texture = HalfRedHalfBlue();

  TextureFixture() {
    canvas.SetWindowSurface(&window);
    view.P().SetXRotation(0);
    view.P().SetYRotation(0);
  }
  ~TextureFixture() override { canvas.SetWindowSurface(nullptr); }
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

TEST_F(TextureFixture, FlatMapIsCoveredByTheStretchedTexture) {
  view.P().SetProjectionClass("TCartesianPrj");
  view.P().SetScaleFactor(0);  // the world fits 600 pixels: rows 50..350
  canvas.BeginBuffered();
  canvas.RenderTextureStretched(texture);
  canvas.EndBuffered();
  EXPECT_EQ(canvas.Bitmap().Pixel(150, 200), clRed);
  EXPECT_EQ(canvas.Bitmap().Pixel(450, 200), clBlue);
  EXPECT_EQ(canvas.Bitmap().Pixel(450, 20), clBlack);  // above the map
}

// The models paint the map background through the canvas.
TEST_F(TextureFixture, GlobeSurfaceIsADiscOrTheTexture) {
  view.P().ProjectionModel().PaintSurface();
  const auto discs = window.Calls(DrawOp::Polygon);
  ASSERT_EQ(discs.size(), 1u);
  ASSERT_EQ(discs[0].Points.size(), 90u);
  // Radius 200 pixels (the globe fits the 400-pixel height) round (300, 200), from angle 0.
  EXPECT_EQ(discs[0].Points[0], (platform::TPoint{500, 200}));
  EXPECT_EQ(discs[0].Points[45], (platform::TPoint{100, 200}));

  window.ClearLog();
  view.TextureData = texture;
  canvas.BeginBuffered();
  view.P().ProjectionModel().PaintSurface();
  canvas.EndBuffered();
  EXPECT_EQ(window.Count(DrawOp::Polygon), 0u);
  EXPECT_EQ(canvas.Bitmap().Pixel(250, 200), clRed);
  EXPECT_EQ(canvas.Bitmap().Pixel(350, 250), clBlue);
  EXPECT_EQ(canvas.Bitmap().Pixel(5, 5), clBlack);  // off the globe
}

TEST_F(TextureFixture, FlatMapSurfaceIsTheWorldOutline) {
  view.P().SetProjectionClass("TCartesianPrj");
  view.P().SetScaleFactor(0);
  view.P().ProjectionModel().PaintSurface();
  const auto outlines = window.Calls(DrawOp::Polygon);
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].Points.size(), 108u);
  // It starts at the extents' left-top corner, (-180, -90) degrees.
  EXPECT_EQ(outlines[0].Points[0], (platform::TPoint{0, 350}));
}

}  // namespace
}  // namespace globe
