// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "barstyle.h"
#include "colors.h"

#include <cstdint>

namespace quillon::controls {

// Pure geometry and colour arithmetic of the bar, shared by the painters and kept free of any
// surface so that it can be checked on its own.

inline constexpr int kXPTrackLeft = 3; // the XP track starts right of the rounded frame
inline constexpr int kGapWidth = 2;

// Width of one block of the segmented look (0 when the bar is smooth).
constexpr int xpBlockWidth(BarStyle style) {
    return style == BarStyle::XPSegmented ? 6 : 0;
}

// The share of the XP track to fill; the track is full at 98 %, not 100 %.
double xpFillFraction(int percent);

// Right edge (exclusive) of the horizontal XP bar on a client width of `width`: a whole number of
// block periods from the track's left edge, never left of it.
std::int32_t xpBarRight(int width, int percent, BarStyle style);

// Top edge of the vertical XP bar on a client height of `height`: a whole number of periods up from
// the bottom, never below it.
std::int32_t xpBarTop(int height, int percent, BarStyle style);

// Left column of searching block `index` (0..2) for a bar whose right edge is barRight.
std::int32_t searchingBlockLeft(std::int32_t barRight, int percent, int index);

// A gradient of `span` steps from `first` to `last` (plain RGB). The per-step increments are
// single-precision, as the gradients have always been drawn, and worked out once for all steps; a
// span of 0 yields `first`.
class GradientSteps {
public:
    GradientSteps(ColorRef first, ColorRef last, std::int64_t span);
    ColorRef colorAt(std::int64_t step) const;

private:
    float start_[3] = {};
    float increment_[3] = {};
};

} // namespace quillon::controls
