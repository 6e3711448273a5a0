#include "globe/data/GlobeStream.h"

#include <algorithm>
#include <cstring>

#include "globe/data/GlobeException.h"

namespace globe {

namespace {

void CheckSeek(int64_t position) {
  if (position < 0)
    throw EGlobeException("Stream seek error: position " + std::to_string(position));
}

}  // namespace

void TGlobeStream::Read(void* buffer, size_t count) {
  if (count == 0) return;
  const int64_t start = Position();
  if (static_cast<uint64_t>(Remaining()) < count)
    throw EGlobeException("Stream read error: " + std::to_string(count) +
                          " bytes wanted at position " + std::to_string(start) + " of " +
                          std::to_string(Size()));
  if (ReadSome(buffer, count) != count) {
    Seek(start);
    throw EGlobeException("Stream read error at position " + std::to_string(start));
  }
}

void TGlobeMemoryStream::Seek(int64_t position) {
  CheckSeek(position);
  Position_ = position;
}

size_t TGlobeMemoryStream::ReadSome(void* buffer, size_t count) {
  if (Position_ >= Size()) return 0;
  const size_t n = std::min(count, static_cast<size_t>(Size() - Position_));
  std::memcpy(buffer, Bytes_.data() + Position_, n);
  Position_ += static_cast<int64_t>(n);
  return n;
}

void TGlobeMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  const size_t at = static_cast<size_t>(Position_);
  if (at + count > Bytes_.size()) Bytes_.resize(at + count);  // a gap after a far seek is zeroed
  std::memcpy(Bytes_.data() + at, buffer, count);
  Position_ += static_cast<int64_t>(count);
}

void TGlobeMemoryStream::Clear() {
  Bytes_.clear();
  Position_ = 0;
}

TGlobeMemoryViewStream::TGlobeMemoryViewStream(const void* data, size_t size,
                                               std::shared_ptr<const void> keepAlive)
    : Data_(static_cast<const uint8_t*>(data)),
      Size_(data ? size : 0),
      KeepAlive_(std::move(keepAlive)) {}

void TGlobeMemoryViewStream::Seek(int64_t position) {
  CheckSeek(position);
  Position_ = position;
}

size_t TGlobeMemoryViewStream::ReadSome(void* buffer, size_t count) {
  if (Position_ >= Size()) return 0;
  const size_t n = std::min(count, static_cast<size_t>(Size() - Position_));
  std::memcpy(buffer, Data_ + Position_, n);
  Position_ += static_cast<int64_t>(n);
  return n;
}

void TGlobeMemoryViewStream::Write(const void*, size_t) {
  throw EGlobeException("Stream write error: the stream is read-only");
}

}  // namespace globe
