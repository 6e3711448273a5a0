#pragma once
// Clipping of projected outlines against the window edges. Each enabled edge is cut in the
// order top, right, bottom, left; crossing points are placed `margin` pixels outside the window
// so that clipped outlines end just outside the visible area and thick pens show no edge.
#include <cstdint>

#include "platform/DeviceGeometry.h"

namespace globe {

// State-word bits read by the clipper.
inline constexpr uint16_t ClipClosedBit = 0x0002;
inline constexpr uint16_t ClipLeftBit = 0x0400;
inline constexpr uint16_t ClipTopBit = 0x0800;
inline constexpr uint16_t ClipRightBit = 0x1000;
inline constexpr uint16_t ClipBottomBit = 0x2000;
inline constexpr uint16_t ClipEdgeBits = 0x3C00;

struct TClipWindow {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Margin = 0;
};

// Clips points[0..count-1] against the edges enabled in `state`; a closed shape (bit 0x0002)
// gets its closing segment clipped too. `work` is a second buffer; both hold `capacity` points,
// and output beyond the capacity is dropped. The result ends in `points`; returns its count.
int32_t ClipDevicePoints(platform::TPoint* points, int32_t count, platform::TPoint* work,
                         int32_t capacity, uint16_t state, const TClipWindow& window);

}  // namespace globe
