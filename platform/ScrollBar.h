#pragma once
// The scroll bars of a map window, as the view sets them and as the user moves them. Positions,
// ranges and page sizes are in whatever unit the view chooses; the window only shows them.
#include <cstdint>

namespace platform {

enum class ScrollBarKind : std::uint8_t { Horizontal, Vertical };

// A bar spans Min..Max; the window shows Page of it, starting at Position
// (Min <= Position <= Max - Page). A hidden bar takes no room in the window.
struct ScrollBarState {
  bool Visible = false;
  std::int32_t Min = 0;
  std::int32_t Max = 0;
  std::int32_t Page = 0;
  std::int32_t Position = 0;
  friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

}  // namespace platform
