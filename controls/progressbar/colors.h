// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>
#include <cstdint>

class QPalette;

namespace quillon::controls {

// A colour packed as red + green * 256 + blue * 65536. With bit 31 set the low bits are instead a
// system colour index (0x8000000D is the selection highlight), resolved against a palette.
using ColorRef = std::uint32_t;

inline constexpr ColorRef kSystemColorFlag = 0x80000000u;
inline constexpr ColorRef kSysColorHighlight = kSystemColorFlag | 13u;
inline constexpr ColorRef kSysColorButtonShadow = kSystemColorFlag | 16u;
inline constexpr ColorRef kSysColorButtonHighlight = kSystemColorFlag | 20u;

inline constexpr ColorRef kWhite = 0xFFFFFF;
inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kSilver = 0xC0C0C0;

constexpr ColorRef rgbColor(int r, int g, int b) {
    return static_cast<ColorRef>(r & 0xFF) | static_cast<ColorRef>(g & 0xFF) << 8 |
           static_cast<ColorRef>(b & 0xFF) << 16;
}
constexpr int redOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr QRgb toQRgb(ColorRef c) {
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}
constexpr ColorRef fromQRgb(QRgb c) {
    return rgbColor(qRed(c), qGreen(c), qBlue(c));
}

// The palette's stand-in for a system colour index; unknown indexes are black.
ColorRef systemColor(std::uint32_t index, const QPalette& palette);

// c itself, or the palette colour it refers to when bit 31 is set.
ColorRef ResolveColor(ColorRef c, const QPalette& palette);

// c moved toward white by amount (0 keeps c, 255 gives white). c must already be plain RGB.
ColorRef LightenColor(ColorRef c, int amount);

// weight / 255 of c1 plus the rest of c2, per channel, rounded halves to even.
ColorRef BlendColors(ColorRef c1, ColorRef c2, int weight, const QPalette& palette);

} // namespace quillon::controls
