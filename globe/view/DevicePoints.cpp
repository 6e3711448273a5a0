#include "globe/view/DevicePoints.h"

#include <vector>

namespace globe {

platform::TPoint* DevicePoints() {
  static std::vector<platform::TPoint> buffer(DevicePointCapacity);
  return buffer.data();
}

}  // namespace globe
