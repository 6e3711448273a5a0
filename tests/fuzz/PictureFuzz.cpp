// Symbol pictures: the input is decoded as a JPEG image and as a Windows bitmap, and a decoded
// picture is read whole.

#include <cstdint>
#include <memory>

#include "FuzzScratch.h"
#include "globe/data/PictureFile.h"

namespace {

void ReadWhole(const platform::Bitmap24* picture) {
  if (picture == nullptr) return;
  uint32_t sum = 0;
  for (int y = 0; y < picture->Height(); ++y)
    for (int x = 0; x < picture->Width(); ++x) sum += picture->Pixel(x, y);
  (void)sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::AsText(data, size);
  ReadWhole(globe::DecodeJpegPicture(bytes).get());
  ReadWhole(globe::DecodeBitmapPicture(bytes).get());
  return 0;
}
