#pragma once
// Byte streams under the binary readers and writers: an abstract seekable stream and two
// in-memory forms. Reads are bounds-checked: asking for bytes past the end raises
// EGlobeException and reads nothing, so corrupt or truncated data can never be read beyond.
//
//   TGlobeMemoryStream      owns a growable buffer; read and write.
//   TGlobeMemoryViewStream  read-only view of bytes owned elsewhere (a memory-mapped file, a
//                           resource); an optional keep-alive handle holds the owner.
//   TGlobeFileStream        (GlobeFileStream.h) a file opened for reading or created for writing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace globe {

class TGlobeStream {
 public:
  virtual ~TGlobeStream() = default;

  virtual int64_t Size() const = 0;
  virtual int64_t Position() const = 0;
  // Moves to an absolute position; a negative position raises EGlobeException. Positions past
  // the end are allowed (a read there fails, a write extends writable streams).
  virtual void Seek(int64_t position) = 0;

  // Reads exactly `count` bytes or raises EGlobeException "Stream read error" (position
  // unchanged then).
  void Read(void* buffer, size_t count);
  // Writes `count` bytes at the position; raises EGlobeException when the stream is read-only
  // or the write fails.
  virtual void Write(const void* buffer, size_t count) = 0;

  int64_t Remaining() const { return Position() < Size() ? Size() - Position() : 0; }

 protected:
  // Reads up to `count` bytes (fewer only at the end) and returns how many were read.
  virtual size_t ReadSome(void* buffer, size_t count) = 0;
};

class TGlobeMemoryStream final : public TGlobeStream {
 public:
  TGlobeMemoryStream() = default;
  explicit TGlobeMemoryStream(std::string bytes) : Bytes_(std::move(bytes)) {}

  int64_t Size() const override { return static_cast<int64_t>(Bytes_.size()); }
  int64_t Position() const override { return Position_; }
  void Seek(int64_t position) override;
  void Write(const void* buffer, size_t count) override;

  // The bytes held, unchanged.
  const std::string& Bytes() const { return Bytes_; }
  void Clear();

 protected:
  size_t ReadSome(void* buffer, size_t count) override;

 private:
  std::string Bytes_;
  int64_t Position_ = 0;
};

class TGlobeMemoryViewStream final : public TGlobeStream {
 public:
  // A view of `size` bytes at `data`; `keepAlive` (may be null) is held while the stream lives.
  TGlobeMemoryViewStream(const void* data, size_t size,
                         std::shared_ptr<const void> keepAlive = nullptr);

  int64_t Size() const override { return static_cast<int64_t>(Size_); }
  int64_t Position() const override { return Position_; }
  void Seek(int64_t position) override;
  // Always raises EGlobeException: the view is read-only.
  void Write(const void* buffer, size_t count) override;

  // Direct access to the viewed bytes (for callers that index the data themselves).
  const uint8_t* Data() const { return Data_; }

 protected:
  size_t ReadSome(void* buffer, size_t count) override;

 private:
  const uint8_t* Data_;
  size_t Size_;
  int64_t Position_ = 0;
  std::shared_ptr<const void> KeepAlive_;
};

}  // namespace globe
