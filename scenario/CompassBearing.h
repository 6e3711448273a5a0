#pragma once
// Compass bearings (whole degrees, clockwise from north) and the engine's angles.

#include <cstdint>

namespace scenario {

// The engine angle (GlobeUnit, growing toward the west) of a compass bearing:
// round((360 - bearing) * 5,400,000), wrapped to 32 bits like the original arithmetic.
std::int32_t BearingToAngle(std::int32_t bearing);

// (a + b + 360) mod 360, the remainder taking the sign of the dividend.
std::int32_t AddBearing(std::int32_t a, std::int32_t b);

}  // namespace scenario
