#pragma once
// Picture files for point symbols, decoded into 24-bit bitmaps. The format follows the file's
// extension (without regard to case): "bmp" and "dib" Windows bitmaps (uncompressed, 1, 4, 8, 24
// or 32 bits per pixel, bottom-up or top-down), "jpg" and "jpeg" JPEG images. Other extensions,
// missing files and malformed data give null: a symbol without a picture draws nothing.

#include <memory>
#include <string>
#include <string_view>

#include "platform/Bitmap24.h"

namespace globe {

std::unique_ptr<platform::Bitmap24> LoadPictureFile(const std::string& fileName);

// The decoders behind it, on the file's bytes.
std::unique_ptr<platform::Bitmap24> DecodeBitmapPicture(std::string_view bytes);
std::unique_ptr<platform::Bitmap24> DecodeJpegPicture(std::string_view bytes);

}  // namespace globe
