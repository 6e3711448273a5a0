// The globe's surface texture: an 8-bit bitmap file's bytes are loaded, then texels looked up
// across the bitmap and just outside it, and points mapped to texels and back.

#include <cstdint>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/GlobeException.h"
#include "globe/data/TextureData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  globe::TTextureData texture;
  try {
    texture.LoadFromBytes(std::string(fuzz::AsText(data, size)));
  } catch (const globe::EGlobeException&) {
    if (texture.HasTexture()) __builtin_trap();  // a refused bitmap leaves the texture empty
    return 0;
  }
  const int32_t width = texture.Width();
  const int32_t rows = texture.Rows();
  for (int32_t step = 0; step <= 8; ++step) {
    const int32_t x = static_cast<int32_t>(int64_t{width} * step / 8);
    const int32_t row = static_cast<int32_t>(int64_t{rows} * step / 8);
    for (const int32_t dx : {-1, 0, 1}) {
      texture.TexelIndex(x + dx, row);
      texture.TexelColour(x, row + dx);
      texture.TexelColour(x - 1 - dx, rows - 1 - row);
    }
  }
  texture.PaletteIndexOf(texture.PaletteColour(0));
  texture.SetCorner(0, globe::TGeoPoint{-globe::GU_180_DEGREES, globe::GU_90_DEGREES, 0});
  texture.SetCorner(1, globe::TGeoPoint{globe::GU_180_DEGREES, -globe::GU_90_DEGREES, 0});
  for (int32_t y = 0; y < 4; ++y) {
    const globe::TGeoPoint point = texture.TexelToPoint(width / 3, rows * y / 4);
    const globe::TTexel texel = texture.PointToTexel(point);
    texture.TexelColour(texel.X, texel.Y);
  }
  return 0;
}
