#include "globe/data/PictureFile.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/FileError.h"
#include "platform/RegularFile.h"

namespace globe {

namespace {

// Pictures larger than this many pixels are refused (the bitmap would exceed its memory limit).
constexpr int64_t MaxPicturePixels = platform::Bitmap24::MaxBytes / 4;

std::string LowerExtension(const std::string& fileName) {
  std::string ext = std::filesystem::path(fileName).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

uint32_t U16(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | (uint32_t{static_cast<uint8_t>(b[at + 1])} << 8);
}
uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }

platform::TColor Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return platform::TColor{r} | (platform::TColor{g} << 8) | (platform::TColor{b} << 16);
}

bool PictureSizeOk(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width * height <= MaxPicturePixels;
}

}  // namespace

std::unique_ptr<platform::Bitmap24> DecodeBitmapPicture(std::string_view b) {
  if (b.size() < 14 + 40 || b[0] != 'B' || b[1] != 'M') return nullptr;
  const uint64_t pixelOffset = U32(b, 10);
  const uint64_t infoSize = U32(b, 14);
  if (infoSize < 40 || 14 + infoSize > b.size()) return nullptr;
  const int64_t width = static_cast<int32_t>(U32(b, 18));
  const int64_t rawHeight = static_cast<int32_t>(U32(b, 22));
  const uint32_t bits = U16(b, 28);
  const uint32_t compression = U32(b, 30);
  const uint64_t colorsUsed = U32(b, 46);
  const bool topDown = rawHeight < 0;
  const int64_t height = topDown ? -rawHeight : rawHeight;
  if (compression != 0 || !PictureSizeOk(width, height)) return nullptr;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;

  std::vector<platform::TColor> palette;
  if (bits <= 8) {
    const uint64_t entries = colorsUsed == 0 ? (uint64_t{1} << bits) : colorsUsed;
    if (entries > 256) return nullptr;
    const uint64_t paletteAt = 14 + infoSize;
    if (paletteAt + entries * 4 > b.size()) return nullptr;
    for (uint64_t i = 0; i < entries; ++i) {
      const size_t at = static_cast<size_t>(paletteAt + i * 4);
      palette.push_back(Rgb(static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]),
                            static_cast<uint8_t>(b[at])));
    }
  }
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  if (pixelOffset > b.size() || stride * static_cast<uint64_t>(height) > b.size() - pixelOffset)
    return nullptr;

  auto picture = std::make_unique<platform::Bitmap24>(static_cast<int>(width),
                                                      static_cast<int>(height));
  for (int64_t row = 0; row < height; ++row) {
    const size_t rowAt = static_cast<size_t>(pixelOffset + static_cast<uint64_t>(row) * stride);
    const int y = static_cast<int>(topDown ? row : height - 1 - row);
    for (int64_t x = 0; x < width; ++x) {
      platform::TColor color = 0;
      if (bits >= 24) {
        const size_t at = rowAt + static_cast<size_t>(x * (bits / 8));
        color = Rgb(static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]),
                    static_cast<uint8_t>(b[at]));
      } else {
        const uint64_t bit = static_cast<uint64_t>(x) * bits;
        const uint8_t byte = static_cast<uint8_t>(b[rowAt + static_cast<size_t>(bit / 8)]);
        const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
        const size_t index = (byte >> shift) & ((1u << bits) - 1);
        color = index < palette.size() ? palette[index] : 0;
      }
      picture->SetPixel(static_cast<int>(x), y, color);
    }
  }
  return picture;
}

namespace {

struct JpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->Jump, 1);
}
// Warnings are passed over, except the ones saying the image data ends before the image does:
// libjpeg would fill the missing rows itself, so a few hundred bytes claiming a huge picture
// would cost seconds and a large bitmap. Such a picture is refused like any other broken one.
void JpegEmitMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) JpegErrorExit(info);
}

// Working memory libjpeg may take besides the bitmap (a progressive image keeps all its
// coefficients); beyond it the decoding fails.
constexpr long MaxJpegWorkingMemory = 64L << 20;

// The decoded image: rows of `Components` bytes per pixel (grey, or red, green, blue).
struct JpegSamples {
  int64_t Width = 0;
  int64_t Height = 0;
  int Components = 0;
  std::vector<uint8_t> Bytes;
};

// Decodes into `samples`; false on any libjpeg error. The rows are gathered as they are decoded,
// so memory grows with the image data actually present, not with the size the header claims.
// Kept free of objects with destructors between setjmp and the decoding calls, as longjmp skips
// them.
bool DecodeJpegInto(std::string_view bytes, JpegSamples& samples) {
  jpeg_decompress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = JpegErrorExit;
  error.Manager.emit_message = JpegEmitMessage;
  if (setjmp(error.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = MaxJpegWorkingMemory;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ||
      !PictureSizeOk(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  samples.Width = info.output_width;
  samples.Height = info.output_height;
  samples.Components = info.output_components;
  if (!PictureSizeOk(samples.Width, samples.Height) || (samples.Components != 1 && samples.Components != 3)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(samples.Width * samples.Components);
  while (info.output_scanline < info.output_height) {
    const size_t at = samples.Bytes.size();
    samples.Bytes.resize(at + rowBytes);
    JSAMPROW rows[1] = {samples.Bytes.data() + at};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::unique_ptr<platform::Bitmap24> DecodeJpegPicture(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  JpegSamples samples;
  if (!DecodeJpegInto(bytes, samples)) return nullptr;
  auto picture = std::make_unique<platform::Bitmap24>(static_cast<int>(samples.Width), static_cast<int>(samples.Height));
  const uint8_t* p = samples.Bytes.data();
  for (int y = 0; y < picture->Height(); ++y) {
    for (int x = 0; x < picture->Width(); ++x, p += samples.Components) {
      picture->SetPixel(x, y, samples.Components == 3 ? Rgb(p[0], p[1], p[2]) : Rgb(p[0], p[0], p[0]));
    }
  }
  return picture;
}

std::unique_ptr<platform::Bitmap24> LoadPictureFile(const std::string& fileName) {
  std::string bytes;
  try {
    bytes = platform::ReadRegularFile(fileName);
  } catch (const platform::EFileError&) {
    return nullptr;
  }
  const std::string ext = LowerExtension(fileName);
  if (ext == ".bmp" || ext == ".dib") return DecodeBitmapPicture(bytes);
  if (ext == ".jpg" || ext == ".jpeg") return DecodeJpegPicture(bytes);
  return nullptr;
}

}  // namespace globe
