// SPDX-License-Identifier: GPL-3.0-or-later
// The XP look, checked pixel by pixel in the control's own off-screen image.
#include "barfixture.h"
#include "colors.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace quillon::controls::test {
namespace {

constexpr ColorRef kFrameOuter = 0x686868;
constexpr ColorRef kFrameShade = 0xBEBEBE;
constexpr ColorRef kFrameLight = 0xEFEFEF;

struct RowColour {
    int row;
    ColorRef colour;
};

// The main window's bar: 691 x 24, colour (78, 119, 213), segmented, at 50 %. Column 100 lies
// inside a block (blocks are columns 4-9, 12-17, ... 340-345).
class MainWindowBarRows : public ::testing::TestWithParam<RowColour> {};

TEST_P(MainWindowBarRows, HaveTheShadedColours) {
    auto bar = makeBar(691, 24);
    ASSERT_TRUE(bar->setValue(50));
    const RowColour c = GetParam();
    EXPECT_EQ(px(*bar, 100, c.row), c.colour) << "row " << c.row;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MainWindowBarRows,
    ::testing::Values(
        RowColour{0, kFrameOuter}, RowColour{1, kFrameShade}, RowColour{2, kFrameLight},
        RowColour{3, rgbColor(182, 199, 237)}, RowColour{4, rgbColor(165, 186, 233)},
        RowColour{5, rgbColor(147, 172, 229)}, RowColour{6, rgbColor(130, 159, 225)},
        RowColour{7, rgbColor(113, 146, 221)}, RowColour{8, kMainBarColor},
        RowColour{13, kMainBarColor}, RowColour{14, kMainBarColor},
        RowColour{15, rgbColor(95, 132, 217)}, RowColour{16, rgbColor(113, 146, 221)},
        RowColour{17, rgbColor(130, 159, 225)}, RowColour{18, rgbColor(147, 172, 229)},
        RowColour{19, rgbColor(165, 186, 233)}, RowColour{20, rgbColor(182, 199, 237)},
        RowColour{21, kWhite}, RowColour{22, kFrameLight}, RowColour{23, kFrameOuter}));

struct ColumnColour {
    int percent;
    int column;
    ColorRef colour; // in row 10, the middle of the bar
};

class SegmentColumns : public ::testing::TestWithParam<ColumnColour> {};

TEST_P(SegmentColumns, AlternateBlocksAndGaps) {
    auto bar = makeBar(691, 24);
    const ColumnColour c = GetParam();
    ASSERT_TRUE(bar->setValue(c.percent));
    EXPECT_EQ(px(*bar, c.column, 10), c.colour) << c.percent << " % column " << c.column;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, SegmentColumns,
    ::testing::Values(
        // 0 %: one block at columns 4 to 9, white at 10 and 11 and beyond.
        ColumnColour{0, 3, kWhite}, ColumnColour{0, 4, kMainBarColor},
        ColumnColour{0, 9, kMainBarColor}, ColumnColour{0, 10, kWhite}, ColumnColour{0, 11, kWhite},
        ColumnColour{0, 12, kWhite},
        // 50 %: the bar ends at 347 and the last gap is columns 346 and 347.
        ColumnColour{50, 338, kWhite}, ColumnColour{50, 339, kWhite},
        ColumnColour{50, 340, kMainBarColor}, ColumnColour{50, 345, kMainBarColor},
        ColumnColour{50, 346, kWhite}, ColumnColour{50, 347, kWhite}, ColumnColour{50, 348, kWhite},
        // 100 %: the fill runs past the frame, which is drawn over the last columns.
        ColumnColour{100, 688, kMainBarColor}, ColumnColour{100, 689, kFrameLight},
        ColumnColour{100, 690, kFrameOuter}));

TEST(XPBar, FullBarEndsPastTheClientArea) {
    auto bar = makeBar(691, 24);
    ASSERT_TRUE(bar->setValue(100));
    EXPECT_EQ(bar->barRect().right, 699);
    ASSERT_TRUE(bar->setValue(50));
    EXPECT_EQ(bar->barRect().right, 347);
}

TEST(XPBar, OverHundredDrawsAsHundredAndIsCut) {
    auto full = makeBar(691, 24);
    ASSERT_TRUE(full->setValue(100));
    auto over = makeBar(691, 24);
    ASSERT_TRUE(over->setValue(150));
    EXPECT_EQ(over->percent(), 100);
    EXPECT_EQ(over->Value(), 100);
    EXPECT_EQ(client(*over), client(*full));
}

TEST(XPBar, NegativeDrawsAsZero) {
    auto zero = makeBar(691, 24);
    ASSERT_TRUE(zero->setValue(0));
    auto negative = makeBar(691, 24);
    ASSERT_TRUE(negative->setValue(-5));
    EXPECT_EQ(negative->percent(), -5);
    EXPECT_EQ(client(*negative), client(*zero));
}

TEST(XPBar, SmoothHasNoGaps) {
    auto bar = makeBar(691, 24, 1);
    ASSERT_TRUE(bar->setValue(50));
    EXPECT_EQ(bar->barRect().right, 353);
    for (int x = 4; x < 353; ++x) {
        ASSERT_EQ(px(*bar, x, 10), kMainBarColor) << "column " << x;
    }
    EXPECT_EQ(px(*bar, 353, 10), kWhite);
}

TEST(XPBar, FrameCorners) {
    auto bar = makeBar(100, 24);
    // Top-left, drawn last over the frame lines.
    EXPECT_EQ(px(*bar, 0, 0), kWhite);
    EXPECT_EQ(px(*bar, 0, 1), 0xA6ABACu);
    EXPECT_EQ(px(*bar, 1, 0), 0xA7ABACu);
    EXPECT_EQ(px(*bar, 1, 1), 0x777777u);
    EXPECT_EQ(px(*bar, 2, 2), kFrameShade);
    // Top-right: (W - 2, 1) is the outer grey, (W - 2, 2) the shade.
    EXPECT_EQ(px(*bar, 98, 1), kFrameOuter);
    EXPECT_EQ(px(*bar, 98, 2), kFrameShade);
    EXPECT_EQ(px(*bar, 99, 2), 0x7D7E7Fu);
    // Bottom corners.
    EXPECT_EQ(px(*bar, 0, 21), 0x7D7E7Fu);
    EXPECT_EQ(px(*bar, 1, 22), 0x777777u);
    EXPECT_EQ(px(*bar, 98, 22), 0x777777u);
    EXPECT_EQ(px(*bar, 97, 23), 0x7D7E7Fu);
    EXPECT_EQ(px(*bar, 99, 23), kWhite);
    // Left side: outer border, shade line, light line, then the white track at column 3.
    EXPECT_EQ(px(*bar, 0, 12), kFrameOuter);
    EXPECT_EQ(px(*bar, 1, 12), kFrameShade);
    EXPECT_EQ(px(*bar, 2, 12), kFrameLight);
    EXPECT_EQ(px(*bar, 3, 12), kWhite);
}

TEST(XPBar, VerticalAtZeroDrawsNoBar) {
    auto bar = makeBar(24, 100);
    bar->setOrientation(1);
    ASSERT_TRUE(bar->setValue(0));
    EXPECT_EQ(bar->barRect().top, 100);
    for (int y = 3; y < 97; ++y) {
        for (int x = 3; x < 21; ++x) {
            ASSERT_EQ(px(*bar, x, y), kWhite) << x << "," << y;
        }
    }
}

TEST(XPBar, VerticalHalfCountsBlocksFromTheBottom) {
    auto bar = makeBar(24, 100);
    bar->setOrientation(7); // any value other than 0 is vertical
    ASSERT_TRUE(bar->setValue(50));
    EXPECT_EQ(bar->barRect().top, 52);
    // Column 12 is in the solid middle; gaps are rows 98-99, 90-91, ..., 58-59.
    EXPECT_EQ(px(*bar, 12, 51), kWhite);
    EXPECT_EQ(px(*bar, 12, 52), kMainBarColor);
    EXPECT_EQ(px(*bar, 12, 57), kMainBarColor);
    EXPECT_EQ(px(*bar, 12, 58), kWhite);
    EXPECT_EQ(px(*bar, 12, 59), kWhite);
    EXPECT_EQ(px(*bar, 12, 60), kMainBarColor);
    EXPECT_EQ(px(*bar, 12, 96), kMainBarColor);
    // The side gradients: light at column 4 to the colour at column 8, and back on the right.
    EXPECT_EQ(px(*bar, 4, 60), rgbColor(182, 199, 237));
    EXPECT_EQ(px(*bar, 8, 60), kMainBarColor);
    EXPECT_EQ(px(*bar, 16, 60), kMainBarColor);
    EXPECT_EQ(px(*bar, 20, 60), rgbColor(182, 199, 237));
    EXPECT_EQ(px(*bar, 21, 60), kWhite);
}

TEST(XPBar, SearchingBlocksFollowTheValue) {
    auto bar = makeBar(200, 24, 2);
    ASSERT_TRUE(bar->setValue(0));
    // At 0 % the three blocks lie left of the visible area (the last ends at column 0).
    for (int x = 3; x < 197; ++x) {
        ASSERT_EQ(px(*bar, x, 10), kWhite) << x;
    }
    ASSERT_TRUE(bar->setValue(50));
    // Smooth steps: e = rnd(197 * 50 / 98 + 3) = 104, so barRect.right = 103; block i starts at
    // rnd(103 + 12 i - 22.5): 80, 92 and 104 (halves to even).
    EXPECT_EQ(bar->barRect().right, 103);
    const ColorRef palest = LightenColor(kMainBarColor, 220);
    EXPECT_EQ(px(*bar, 79, 10), kWhite);
    EXPECT_EQ(px(*bar, 80, 10), palest);
    EXPECT_EQ(px(*bar, 89, 10), LightenColor(kMainBarColor, 200)); // tenth column of block 0
    EXPECT_EQ(px(*bar, 90, 10), kWhite);
    EXPECT_EQ(px(*bar, 92, 10), LightenColor(kMainBarColor, 180));
    EXPECT_EQ(px(*bar, 104, 10), LightenColor(kMainBarColor, 140));
    EXPECT_EQ(px(*bar, 114, 10), kWhite);
    EXPECT_EQ(px(*bar, 80, 2), kFrameLight);
    EXPECT_EQ(px(*bar, 80, 21), palest); // rows 3 to H - 3
    EXPECT_EQ(px(*bar, 80, 22), kFrameLight);
}

TEST(XPBar, CaptionOverTheGlassBarSplitsItsColour) {
    auto bar = makeBar(300, 24, 9);
    bar->setShowText(true);
    ASSERT_TRUE(bar->setValue(50));
    // After the overlay the caption rectangle ends where the bar's horizontal fill ends.
    const GdiRect caption = bar->captionRect();
    ASSERT_EQ(caption.right, 150);
    ASSERT_LT(caption.left, 150);
    int whiteLeft = 0, blackLeft = 0, whiteRight = 0, blackRight = 0;
    const int width = QFontMetrics(bar->Font()).horizontalAdvance(QStringLiteral("50 %"));
    for (int y = caption.top; y < caption.bottom; ++y) {
        for (int x = caption.left; x < caption.left + width; ++x) {
            const ColorRef c = px(*bar, x, y);
            (x < 150 ? whiteLeft : whiteRight) += c == kWhite;
            (x < 150 ? blackLeft : blackRight) += c == kBlack;
        }
    }
    EXPECT_GT(whiteLeft, 0);
    EXPECT_EQ(blackLeft, 0);
    EXPECT_GT(blackRight, 0);
    EXPECT_EQ(whiteRight, 0);

    ASSERT_TRUE(bar->setValue(100));
    int black = 0, white = 0;
    const GdiRect full = bar->captionRect();
    for (int y = full.top; y < full.bottom; ++y) {
        for (int x = full.left; x < full.right; ++x) {
            black += px(*bar, x, y) == kBlack;
            white += px(*bar, x, y) == kWhite;
        }
    }
    EXPECT_EQ(black, 0);
    EXPECT_GT(white, 0);
}

TEST(XPBar, SearchingCaptionNeverShowsAPercentage) {
    auto bar = makeBar(300, 24, 2);
    bar->setShowText(true);
    ASSERT_TRUE(bar->setValue(45));
    QFont font = bar->Font();
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font, bar->hdc());
    const GdiRect caption = bar->captionRect();
    EXPECT_EQ(caption.right - caption.left,
              metrics.horizontalAdvance(QStringLiteral("Searching..")));
    int black = 0;
    for (int y = caption.top; y < caption.bottom; ++y) {
        for (int x = caption.left; x < caption.right; ++x) {
            black += px(*bar, x, y) == kBlack;
        }
    }
    EXPECT_GT(black, 0);
}

} // namespace
} // namespace quillon::controls::test
