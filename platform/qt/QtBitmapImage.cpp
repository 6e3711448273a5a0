#include "platform/qt/QtBitmapImage.h"

#include <QImageWriter>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

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

std::vector<std::string> WritablePictureFormats() {
  std::vector<std::string> formats;
  for (const QByteArray& format : QImageWriter::supportedImageFormats())
    formats.push_back(format.toLower().toStdString());
  std::sort(formats.begin(), formats.end());
  return formats;
}

std::string PictureFormatOf(const std::string& fileName) {
  std::string extension = std::filesystem::path(fileName).extension().string();
  if (extension.empty()) return {};
  extension.erase(0, 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const std::vector<std::string> formats = WritablePictureFormats();
  return std::find(formats.begin(), formats.end(), extension) != formats.end() ? extension : std::string();
}

bool WritePicture(const Bitmap24& bitmap, const std::string& fileName) {
  const std::string format = PictureFormatOf(fileName);
  if (bitmap.Empty() || format.empty()) return false;
  QImageWriter writer(QString::fromStdString(fileName), QByteArray::fromStdString(format));
  return writer.write(BitmapImageView(bitmap));
}

}  // namespace platform
