#pragma once
// The process-wide device point buffer. Every projection writes its output here, indexed by the
// slot the caller names, and the drawing canvas reads it right after the call; nothing else may
// be projected in between.

#include <cstdint>

#include "platform/DeviceGeometry.h"

namespace globe {

// Number of slots (a chain longer than this is cut at the end of the buffer).
inline constexpr int32_t DevicePointCapacity = 131'073;

// The buffer: DevicePointCapacity points, allocated on first use and kept for the process.
platform::TPoint* DevicePoints();

// Whether `index` names a slot of the buffer.
constexpr bool IsDevicePointIndex(int64_t index) {
  return index >= 0 && index < DevicePointCapacity;
}

}  // namespace globe
