// SPDX-License-Identifier: GPL-3.0-or-later
#include "xpgeometry.h"

#include "rounding.h"

#include <algorithm>

namespace quillon::controls {

double xpFillFraction(int percent) {
    const double f = percent / 98.0;
    return f < 0.0 ? 0.0 : f;
}

std::int32_t xpBarRight(int width, int percent, BarStyle style) {
    const std::int64_t period = xpBlockWidth(style) + kGapWidth;
    const std::int64_t e = roundSaturated(
        (std::int64_t{width} - kXPTrackLeft) * xpFillFraction(percent) + kXPTrackLeft);
    const std::int64_t right = e - (e - kXPTrackLeft) % period;
    return clampToInt32(std::max<std::int64_t>(right, kXPTrackLeft));
}

std::int32_t xpBarTop(int height, int percent, BarStyle style) {
    const std::int64_t period = xpBlockWidth(style) + kGapWidth;
    const double f = 1.0 - xpFillFraction(percent);
    const std::int64_t t = roundSaturated(height * f);
    const std::int64_t top = t - (t - height) % period;
    return clampToInt32(std::min<std::int64_t>(top, height));
}

std::int32_t searchingBlockLeft(std::int32_t barRight, int percent, int index) {
    return roundSaturated(barRight + (kGapWidth + 10.0) * index - (100.0 - percent) / 100.0 * 45.0);
}

GradientSteps::GradientSteps(ColorRef first, ColorRef last, std::int64_t span) {
    const int from[3] = {redOf(first), greenOf(first), blueOf(first)};
    const int to[3] = {redOf(last), greenOf(last), blueOf(last)};
    for (int i = 0; i < 3; ++i) {
        start_[i] = static_cast<float>(from[i]);
        if (span != 0) {
            increment_[i] = static_cast<float>(static_cast<double>(to[i] - from[i]) / span);
        }
    }
}

ColorRef GradientSteps::colorAt(std::int64_t step) const {
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const double v = static_cast<double>(start_[i]) + static_cast<double>(increment_[i]) * step;
        channels[i] = std::clamp(roundSaturated(v), 0, 255);
    }
    return rgbColor(channels[0], channels[1], channels[2]);
}

} // namespace quillon::controls
