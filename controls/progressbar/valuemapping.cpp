// SPDX-License-Identifier: GPL-3.0-or-later
#include "valuemapping.h"

#include "rounding.h"

#include <cstdint>

namespace quillon::controls {

std::optional<int> percentFromValue(int value, int min, int max) {
    if (max == 0) {
        return std::nullopt;
    }
    const std::int64_t hundredfold = std::int64_t{value} * 100;
    if (hundredfold != static_cast<std::int32_t>(hundredfold)) {
        return std::nullopt;
    }
    return roundToInt32(static_cast<double>(hundredfold) / max + min);
}

int valueFromPercent(int percent, int min, int max) {
    const double divisor = min > 0 ? min : 1;
    return roundSaturated(percent / 100.0 * max / divisor);
}

} // namespace quillon::controls
