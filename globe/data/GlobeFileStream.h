#pragma once
// A file as a TGlobeStream: opened for reading, or created (truncated) for reading and writing.

#include <cstdio>
#include <string>

#include "globe/data/GlobeStream.h"

namespace globe {

class TGlobeFileStream final : public TGlobeStream {
 public:
  enum class TMode : uint8_t { fmOpenRead, fmCreate };

  // Raises EGlobeException "Cannot open file "%s"" / "Cannot create file "%s"".
  TGlobeFileStream(const std::string& fileName, TMode mode);
  ~TGlobeFileStream() override;
  TGlobeFileStream(const TGlobeFileStream&) = delete;
  TGlobeFileStream& operator=(const TGlobeFileStream&) = delete;

  int64_t Size() const override;
  int64_t Position() const override { return Position_; }
  void Seek(int64_t position) override;
  void Write(const void* buffer, size_t count) override;

  const std::string& FileName() const { return FileName_; }

 protected:
  size_t ReadSome(void* buffer, size_t count) override;

 private:
  std::FILE* File_ = nullptr;
  std::string FileName_;
  TMode Mode_;
  int64_t Position_ = 0;
  int64_t Size_ = 0;
};

}  // namespace globe
