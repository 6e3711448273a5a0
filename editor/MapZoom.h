#pragma once
// The toolbar's zoom steps: in by a fifth of the altitude, out by a fifth more, never past the
// largest 32-bit altitude; the wheel's finer steps with Ctrl.

#include <cmath>
#include <cstdint>
#include <optional>

namespace editor {

// The buttons' steps, and the finer steps of the wheel with Ctrl.
constexpr double kZoomInStep = 0.8, kZoomOutStep = 1.2;
constexpr double kFineZoomInStep = 0.95, kFineZoomOutStep = 1.05;

inline int32_t ZoomedInAltitude(int32_t altitude, double step = kZoomInStep)
{
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(altitude) * step));
}

// The next altitude out, or nothing when it would reach 2,147,483,647.
inline std::optional<int32_t> ZoomedOutAltitude(int32_t altitude, double step = kZoomOutStep)
{
    const auto next = static_cast<int64_t>(std::nearbyint(static_cast<double>(altitude) * step));
    if (next >= INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(next);
}

}  // namespace editor
