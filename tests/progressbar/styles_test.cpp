// SPDX-License-Identifier: GPL-3.0-or-later
// Styles 3 to 9 on a 200 x 24 control in the main window's colour.
#include "barfixture.h"
#include "colors.h"

#include <QPalette>
#include <gtest/gtest.h>

namespace quillon::controls::test {
namespace {

constexpr ColorRef C = kMainBarColor;

ColorRef light(const XP_ProgressBar& bar) {
    return fromQRgb(bar.palette().color(QPalette::Light).rgb());
}
ColorRef dark(const XP_ProgressBar& bar) {
    return fromQRgb(bar.palette().color(QPalette::Dark).rgb());
}

struct StylePixel {
    const char* name;
    int style;
    int percent;
    int x;
    int y;
    ColorRef (*expected)(const XP_ProgressBar&);
};

void PrintTo(const StylePixel& p, std::ostream* os) {
    *os << p.name;
}

class StylePixels : public ::testing::TestWithParam<StylePixel> {};

TEST_P(StylePixels, Match) {
    const StylePixel p = GetParam();
    auto bar = makeBar(200, 24, p.style);
    ASSERT_TRUE(bar->setValue(p.percent));
    EXPECT_EQ(px(*bar, p.x, p.y), p.expected(*bar)) << p.name;
}

#define PIXEL(name, style, percent, x, y, expr)                                                    \
    StylePixel {                                                                                   \
        name, style, percent, x, y, [](const XP_ProgressBar& bar) -> ColorRef {                    \
            (void)bar;                                                                             \
            return expr;                                                                           \
        }                                                                                          \
    }

INSTANTIATE_TEST_SUITE_P(
    Styles, StylePixels,
    ::testing::Values(
        // Flat: a light frame, the bar (1, 1, rnd(p / 100 * W), H - 1) in a pale tint.
        PIXEL("flat frame", 3, 50, 0, 0, LightenColor(C, 100)),
        PIXEL("flat bar start", 3, 50, 1, 1, LightenColor(C, 180)),
        PIXEL("flat bar end", 3, 50, 99, 22, LightenColor(C, 180)),
        PIXEL("flat track", 3, 50, 100, 10, kWhite),
        // Etched: f = rnd(0.5 * 196) = 98; columns 2 to 100 from the 140 tint to the 200 tint.
        PIXEL("etched outer", 4, 50, 5, 0, dark(bar)),
        PIXEL("etched inner", 4, 50, 5, 1, light(bar)),
        PIXEL("etched bottom", 4, 50, 5, 23, light(bar)),
        PIXEL("etched bar start", 4, 50, 2, 2, LightenColor(C, 140)),
        PIXEL("etched bar end", 4, 50, 100, 20, LightenColor(C, 200)),
        PIXEL("etched past end", 4, 50, 101, 10, kWhite),
        PIXEL("etched below bar", 4, 50, 50, 21, kWhite),
        PIXEL("etched zero is one column", 4, 0, 2, 10, LightenColor(C, 140)),
        PIXEL("etched zero", 4, 0, 3, 10, kWhite),
        // Glass: the track from the colour at row 2 to the 100 tint at row H - 3; at 100 % the
        // bar ends at rnd(100 / 101 * 200) = 198 with a line in the 25 tint.
        PIXEL("glass frame", 5, 100, 199, 10, LightenColor(C, 10)),
        PIXEL("glass end line", 5, 100, 198, 10, LightenColor(C, 25)),
        PIXEL("glass bar top", 5, 100, 3, 3, LightenColor(C, 250)),
        PIXEL("glass track top", 5, 0, 100, 2, C),
        PIXEL("glass track bottom", 5, 0, 100, 21, LightenColor(C, 100)),
        // A negative fill end: the bar's lines run from column 3 leftwards over the frame.
        PIXEL("glass negative", 5, -5, 0, 3, LightenColor(C, 250)),
        // Dark: black track, darkened frame, f = rnd(0.5 * 195) = 98 (halves to even).
        PIXEL("dark frame", 6, 50, 0, 5, BlendColors(C, 0, 200, QPalette())),
        PIXEL("dark track", 6, 50, 150, 10, kBlack),
        PIXEL("dark bar end", 6, 50, 100, 10, LightenColor(BlendColors(C, 0, 100, QPalette()), 10)),
        PIXEL("dark past end", 6, 50, 101, 10, kBlack),
        PIXEL("dark last row", 6, 50, 100, 21,
              LightenColor(BlendColors(C, 0, 100, QPalette()), 10)),
        PIXEL("dark below", 6, 50, 100, 22, kBlack),
        // Hatch: bump edge, the bar (2, 2, rnd(p / 101 * W), H - 2); style 0 is horizontal lines.
        PIXEL("hatch outer", 7, 50, 5, 0, light(bar)), PIXEL("hatch inner", 7, 50, 5, 1, dark(bar)),
        PIXEL("hatch past end", 7, 50, 99, 10, kWhite),
        // Picture without an image: only the sunken edge.
        PIXEL("picture edge top", 8, 50, 10, 0, dark(bar)),
        PIXEL("picture edge bottom", 8, 50, 10, 23, light(bar)),
        PIXEL("picture no image", 8, 50, 10, 10, kWhite),
        // XP glass: h2 = rnd(10.5) = 10; the bar ends at rnd(0.5 * 196) = 98.
        // Row 2 belongs to the frame; row 3 is one step from (182, 199, 237) toward
        // (55, 84, 150): 187.5 rounds to 188.
        PIXEL("xp glass bar top", 9, 50, 50, 3, rgbColor(169, 188, 228)),
        PIXEL("xp glass bar bottom", 9, 50, 50, 20, C),
        PIXEL("xp glass bar middle", 9, 50, 50, 10, BlendColors(C, 0, 190, QPalette())),
        PIXEL("xp glass track top", 9, 50, 150, 3, 0xF9F9F9),
        PIXEL("xp glass track bottom", 9, 50, 150, 15, 0xC0C0C0),
        PIXEL("xp glass past bar", 9, 50, 98, 15, 0xC0C0C0),
        PIXEL("xp glass frame", 9, 50, 0, 10, 0x686868)));

#undef PIXEL

TEST(HatchStyle, LinesInTheColourOnTheLightTint) {
    for (int brushStyle = 0; brushStyle < 6; ++brushStyle) {
        auto bar = makeBar(200, 24, 7);
        bar->setBrushStyle(brushStyle);
        ASSERT_TRUE(bar->setValue(50));
        int lines = 0, spaces = 0, other = 0;
        for (int y = 2; y < 22; ++y) {
            for (int x = 2; x < 99; ++x) {
                const ColorRef c = px(*bar, x, y);
                lines += c == C;
                spaces += c == LightenColor(C, 140);
                other += c != C && c != LightenColor(C, 140);
            }
        }
        EXPECT_GT(lines, 0) << brushStyle;
        EXPECT_GT(spaces, lines) << brushStyle;
        EXPECT_EQ(other, 0) << brushStyle;
    }
}

TEST(HatchStyle, UnknownStylesLeaveTheBarUnfilled) {
    for (const int brushStyle : {-1, 6, 65536, std::numeric_limits<int>::max()}) {
        auto bar = makeBar(200, 24, 7);
        bar->setBrushStyle(brushStyle);
        ASSERT_TRUE(bar->setValue(50));
        for (int x = 2; x < 99; ++x) {
            ASSERT_EQ(px(*bar, x, 10), kWhite) << brushStyle << " column " << x;
        }
    }
}

TEST(PictureStyle, CopiesTheImageFromTheSurfaceOrigin) {
    // Translucent, down to fully transparent: the colours are copied, never blended.
    QImage tile(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            tile.setPixel(x, y, qRgba(40 * x, 80 * y, 7, 255 - 60 * x));
        }
    }
    auto bar = makeBar(200, 24, 8);
    bar->setImage(tile);
    ASSERT_TRUE(bar->setValue(50));
    // The rectangle at (2, 2) is rnd(50 / 101 * 200) = 99 wide and H - 4 high.
    for (const auto& [x, y] : {std::pair{2, 2}, {3, 7}, {57, 13}, {100, 21}}) {
        EXPECT_EQ(buffer(*bar).pixel(x, y), tile.pixel(x % 5, y % 3) | 0xFF000000) << x << "," << y;
    }
    EXPECT_EQ(px(*bar, 101, 10), kWhite);
    EXPECT_EQ(px(*bar, 50, 22), kWhite);
}

TEST(StylesThreeToNine, IgnoreOrientation) {
    for (int style = 3; style <= 9; ++style) {
        auto horizontal = makeBar(120, 40, style);
        ASSERT_TRUE(horizontal->setValue(60));
        auto vertical = makeBar(120, 40, style);
        vertical->setOrientation(1);
        ASSERT_TRUE(vertical->setValue(60));
        EXPECT_EQ(client(*vertical), client(*horizontal)) << "style " << style;
    }
}

} // namespace
} // namespace quillon::controls::test
