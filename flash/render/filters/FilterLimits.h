// Bounds on filter settings, which come from files and scripts alike: the
// ranges the filters define, and caps that keep hostile values from costing
// unbounded time or memory.
#pragma once

#include <algorithm>
#include <cmath>

namespace flash::limits {

inline constexpr int kMaxPasses = 15;
inline constexpr double kMaxBlur = 255;      // in the object's pixels
inline constexpr double kMaxDeviceBlur = 2048;
inline constexpr double kMaxStrength = 255;
inline constexpr double kMaxDeviceOffset = 4096;
inline constexpr int kMaxConvolutionSide = 15;
// A filtered picture never grows beyond this many pixels (256 MB).
inline constexpr long long kMaxCanvasPixels = 64ll * 1024 * 1024;

[[nodiscard]] inline double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

[[nodiscard]] inline double clampedFinite(double value, double low, double high)
{
    return std::clamp(finiteOr(value, low), low, high);
}

} // namespace flash::limits
