#include "globe/data/GlobeFileStream.h"

#include <algorithm>

#include "globe/data/GlobeException.h"

namespace globe {

TGlobeFileStream::TGlobeFileStream(const std::string& fileName, TMode mode)
    : FileName_(fileName), Mode_(mode) {
  File_ = std::fopen(fileName.c_str(), mode == TMode::fmCreate ? "w+b" : "rb");
  if (!File_)
    throw EGlobeException(std::string(mode == TMode::fmCreate ? "Cannot create file \""
                                                              : "Cannot open file \"") +
                          fileName + "\"");
  if (mode == TMode::fmOpenRead) {
    if (std::fseek(File_, 0, SEEK_END) == 0) Size_ = std::max<int64_t>(0, std::ftell(File_));
    std::fseek(File_, 0, SEEK_SET);
  }
}

TGlobeFileStream::~TGlobeFileStream() {
  if (File_) std::fclose(File_);
}

int64_t TGlobeFileStream::Size() const { return Size_; }

void TGlobeFileStream::Seek(int64_t position) {
  if (position < 0)
    throw EGlobeException("Stream seek error: position " + std::to_string(position));
  Position_ = position;
}

size_t TGlobeFileStream::ReadSome(void* buffer, size_t count) {
  if (Position_ >= Size_) return 0;
  if (std::fseek(File_, static_cast<long>(Position_), SEEK_SET) != 0) return 0;
  const size_t n =
      std::fread(buffer, 1, std::min(count, static_cast<size_t>(Size_ - Position_)), File_);
  Position_ += static_cast<int64_t>(n);
  return n;
}

void TGlobeFileStream::Write(const void* buffer, size_t count) {
  if (Mode_ != TMode::fmCreate)
    throw EGlobeException("Stream write error: \"" + FileName_ + "\" is open for reading");
  if (count == 0) return;
  if (Position_ > Size_) {  // fill the gap left by a seek past the end with zeros
    std::fseek(File_, static_cast<long>(Size_), SEEK_SET);
    for (int64_t i = Size_; i < Position_; ++i) std::fputc(0, File_);
  }
  if (std::fseek(File_, static_cast<long>(Position_), SEEK_SET) != 0 ||
      std::fwrite(buffer, 1, count, File_) != count)
    throw EGlobeException("Stream write error: \"" + FileName_ + "\"");
  Position_ += static_cast<int64_t>(count);
  Size_ = std::max(Size_, Position_);
}

}  // namespace globe
