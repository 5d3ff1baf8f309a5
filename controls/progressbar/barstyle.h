// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::controls {

// The ten looks chosen by `Scrolling`. The stored property stays a plain int, since any 32-bit
// value may be stored; every value outside 0..9 draws as XPSmooth.
enum class BarStyle {
    XPSegmented = 0,
    XPSmooth = 1,
    Searching = 2,
    Flat = 3,
    Etched = 4,
    Glass = 5,
    Dark = 6,
    Hatch = 7,
    Picture = 8,
    XPGlass = 9,
};

constexpr BarStyle barStyle(int scrolling) {
    return scrolling >= 0 && scrolling <= 9 ? static_cast<BarStyle>(scrolling) : BarStyle::XPSmooth;
}

} // namespace quillon::controls
