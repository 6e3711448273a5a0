#pragma once
// Conversions between Bitmap24 and QImage, and PNG output.
#include <QImage>
#include <string>
#include <vector>

#include "platform/Bitmap24.h"

namespace platform {

// A read-only QImage over the bitmap's memory (no copy); valid while the bitmap is unchanged.
QImage BitmapImageView(const Bitmap24& bitmap);
// A copy of any QImage as a 24-bit bitmap.
Bitmap24 BitmapFromImage(const QImage& image);
// Writes the bitmap as a PNG file; false when the file cannot be written or the bitmap is empty.
bool WritePng(const Bitmap24& bitmap, const std::string& fileName);

// The picture formats that can be written, as lower-case file extensions ("bmp", "jpg", "png", ...).
std::vector<std::string> WritablePictureFormats();

// The lower-case extension of the file name when it is a writable picture format, else "".
std::string PictureFormatOf(const std::string& fileName);

// Writes the bitmap in the format its file name's extension names; false when the format is
// unknown, the file cannot be written or the bitmap is empty.
bool WritePicture(const Bitmap24& bitmap, const std::string& fileName);

}  // namespace platform
