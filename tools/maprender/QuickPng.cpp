#include "tools/maprender/QuickPng.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace maprender {

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports its errors by a long jump back to the writer (its default handler); the
// warnings go nowhere.
void IgnoreWarning(png_structp, png_const_charp) {}

bool WriteRows(std::FILE* file, const platform::Bitmap24& bitmap) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, Z_BEST_SPEED);
  png_write_info(png, info);
  png_set_bgr(png);  // the bitmap holds blue, green, red
  for (int y = 0; y < bitmap.Height(); ++y) png_write_row(png, bitmap.ScanLine(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WriteQuickPng(const platform::Bitmap24& bitmap, const std::string& fileName) {
  if (bitmap.Empty()) return false;
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(fileName.c_str(), "wb"));
  if (!file || !WriteRows(file.get(), bitmap)) return false;
  return std::fclose(file.release()) == 0;
}

}  // namespace maprender
