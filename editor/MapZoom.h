#pragma once
// The toolbar's zoom steps: in by a fifth of the altitude, out by a fifth more, never past the
// largest 32-bit altitude.

#include <cmath>
#include <cstdint>
#include <optional>

namespace editor {

inline int32_t ZoomedInAltitude(int32_t altitude)
{
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(altitude) * 0.8));
}

// The next altitude out, or nothing when it would reach 2,147,483,647.
inline std::optional<int32_t> ZoomedOutAltitude(int32_t altitude)
{
    const auto next = static_cast<int64_t>(std::nearbyint(static_cast<double>(altitude) * 1.2));
    if (next >= INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(next);
}

}  // namespace editor
