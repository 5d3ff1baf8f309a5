// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace quillon::controls {

// Nearest integer with halves to even (2.5 -> 2, 3.5 -> 4), independent of the FPU rounding mode.
inline double roundHalfEven(double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    const double away = std::round(x);
    if (std::fabs(x - std::trunc(x)) == 0.5) {
        return 2.0 * std::round(x / 2.0);
    }
    return away;
}

// roundHalfEven() as a 32-bit integer, or nothing when the result does not fit (or is NaN).
inline std::optional<std::int32_t> roundToInt32(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          r <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

// roundHalfEven() clamped into the 32-bit range. Geometry uses this so that absurd property values
// (huge widths, the most negative percentages) stay defined and simply land off the surface.
inline std::int32_t roundSaturated(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    const double r = roundHalfEven(x);
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(r);
}

inline std::int32_t clampToInt32(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (v > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(v);
}

} // namespace quillon::controls
