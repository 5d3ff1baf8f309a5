// SPDX-License-Identifier: GPL-3.0-or-later
#include "colors.h"

#include <QPalette>
#include <gtest/gtest.h>

namespace quillon::controls {
namespace {

TEST(LightenColor, MovesEachChannelTowardWhite) {
    // The main window's bar colour lightened by 150: (182, 199, 237).
    EXPECT_EQ(LightenColor(rgbColor(78, 119, 213), 150), rgbColor(182, 199, 237));
    EXPECT_EQ(LightenColor(0x123456, 0), 0x123456u);
    EXPECT_EQ(LightenColor(0x123456, 255), 0xFFFFFFu);
    // Integer division truncates: 10 + (245 * 1) \ 255 = 10.
    EXPECT_EQ(LightenColor(rgbColor(1, 0, 255), 10), rgbColor(10, 10, 255));
}

TEST(BlendColors, WeighsTheFirstColour) {
    const QPalette palette;
    EXPECT_EQ(BlendColors(0xC0C0C0, 0, 255, palette), 0xC0C0C0u);
    EXPECT_EQ(BlendColors(0xC0C0C0, 0xFFFFFF, 0, palette), 0xFFFFFFu);
    // 200 * 78 / 255 = 61.18, 200 * 119 / 255 = 93.33, 200 * 213 / 255 = 167.06.
    EXPECT_EQ(BlendColors(rgbColor(78, 119, 213), 0, 200, palette), rgbColor(61, 93, 167));
    // Both colours are resolved first.
    const ColorRef highlight = fromQRgb(palette.color(QPalette::Highlight).rgb());
    EXPECT_EQ(BlendColors(kSysColorHighlight, 0, 255, palette), highlight);
}

TEST(ResolveColor, MapsSystemColourReferencesOntoThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    palette.setColor(QPalette::Light, QColor(7, 8, 9));
    EXPECT_EQ(ResolveColor(0x8000000D, palette), rgbColor(1, 2, 3));
    EXPECT_EQ(ResolveColor(0x8000000F, palette), rgbColor(4, 5, 6));
    EXPECT_EQ(ResolveColor(0x80000014, palette), rgbColor(7, 8, 9));
    EXPECT_EQ(ResolveColor(0x800000FF, palette), 0u); // no such system colour
    EXPECT_EQ(ResolveColor(0x00D5774E, palette), 0xD5774Eu);
}

} // namespace
} // namespace quillon::controls
