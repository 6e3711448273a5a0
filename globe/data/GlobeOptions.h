#pragma once
// The globe view's option set.

#include <cstdint>
#include <initializer_list>

namespace globe {

enum TGlobeOption : uint8_t {
  goCache3DPoints,          // keep computed 3-D points with the point stores
  goDoubleBuffered,         // render into an off-screen bitmap
  goInterruptable,          // mouse movement during a drag abandons a render in progress
  goMultiSelect,            // Ctrl-click toggles selection
  goTransparentGlobe,       // far hemisphere first, in the transparent pen and brush
  goTransparentBackground,  // window created with the transparent style
  goConstantScaleOnResize,  // keep ScaleFactor when the window is resized
  goFixedCenterXYOnResize,  // keep the origin when the window is resized
};

// A set of TGlobeOption, one bit per value.
class TGlobeOptions {
 public:
  constexpr TGlobeOptions() = default;
  constexpr TGlobeOptions(std::initializer_list<TGlobeOption> options) {
    for (TGlobeOption o : options) Bits_ |= Bit(o);
  }
  constexpr bool Contains(TGlobeOption o) const { return (Bits_ & Bit(o)) != 0; }
  constexpr void Include(TGlobeOption o) { Bits_ |= Bit(o); }
  constexpr void Exclude(TGlobeOption o) { Bits_ &= static_cast<uint16_t>(~Bit(o)); }
  constexpr uint16_t Bits() const { return Bits_; }
  friend constexpr bool operator==(const TGlobeOptions&, const TGlobeOptions&) = default;

 private:
  static constexpr uint16_t Bit(TGlobeOption o) { return static_cast<uint16_t>(1u << o); }
  uint16_t Bits_ = 0;
};

}  // namespace globe
