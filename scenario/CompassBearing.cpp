#include "scenario/CompassBearing.h"

#include "platform/IntegerText.h"

namespace scenario {

std::int32_t BearingToAngle(std::int32_t bearing) {
    return platform::WrapToInt32((360 - static_cast<std::int64_t>(bearing)) * 5'400'000);
}

std::int32_t AddBearing(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(a) + b + 360) % 360);
}

}  // namespace scenario
