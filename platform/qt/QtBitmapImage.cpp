#include "platform/qt/QtBitmapImage.h"

#include <cstring>

namespace platform {

QImage BitmapImageView(const Bitmap24& bitmap) {
  if (bitmap.Empty()) return {};
  return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                QImage::Format_BGR888);
}

Bitmap24 BitmapFromImage(const QImage& image) {
  Bitmap24 bitmap(image.width(), image.height());
  if (bitmap.Empty()) return bitmap;
  const QImage converted = image.convertToFormat(QImage::Format_BGR888);
  const auto rowBytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(bitmap.ScanLine(y), converted.constScanLine(y), rowBytes);
  }
  return bitmap;
}

bool WritePng(const Bitmap24& bitmap, const std::string& fileName) {
  if (bitmap.Empty()) return false;
  return BitmapImageView(bitmap).save(QString::fromStdString(fileName), "PNG");
}

}  // namespace platform
