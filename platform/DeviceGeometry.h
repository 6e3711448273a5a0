#pragma once
// Integer device coordinates: pixels, y growing downwards.
#include <cstdint>

namespace platform {

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive, as for window rectangles.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int64_t Width() const { return std::int64_t{Right} - Left; }
  std::int64_t Height() const { return std::int64_t{Bottom} - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace platform
