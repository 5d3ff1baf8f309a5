// SPDX-License-Identifier: GPL-3.0-or-later
#include "rounding.h"
#include "valuemapping.h"
#include "xpgeometry.h"

#include <gtest/gtest.h>
#include <limits>

namespace quillon::controls {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(-3.5), -4.0);
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
    EXPECT_EQ(roundSaturated(1e300), kIntMax);
    EXPECT_EQ(roundSaturated(-1e300), kIntMin);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value()); // rounds to 2^31
    EXPECT_EQ(roundToInt32(2147483646.5), 2147483646);
}

struct BarEdgeCase {
    int size;
    int percent;
    int scrolling;
    int expected;
};

class HorizontalBarEnd : public ::testing::TestWithParam<BarEdgeCase> {};

TEST_P(HorizontalBarEnd, IsAWholeNumberOfPeriods) {
    const BarEdgeCase c = GetParam();
    EXPECT_EQ(xpBarRight(c.size, c.percent, barStyle(c.scrolling)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HorizontalBarEnd,
    ::testing::Values(BarEdgeCase{691, 0, 0, 3},     // PaintXPBar then widens it to 12
                      BarEdgeCase{691, 50, 0, 347},  // e = 354, (354 - 3) rem 8 = 7
                      BarEdgeCase{691, 100, 0, 699}, // e = 705, past the client area
                      BarEdgeCase{691, 98, 0, 691},  // the track is full at 98 %
                      BarEdgeCase{691, 50, 1, 353},  // smooth: 2-pixel steps
                      BarEdgeCase{691, -5, 0, 3},    // negative draws as 0 %
                      BarEdgeCase{691, kIntMin, 0, 3}, BarEdgeCase{1, 100, 0, 3},
                      BarEdgeCase{0, 50, 1, 3}, BarEdgeCase{16777215, 100, 0, 17119603}));

class VerticalBarTop : public ::testing::TestWithParam<BarEdgeCase> {};

TEST_P(VerticalBarTop, CountsPeriodsUpFromTheBottom) {
    const BarEdgeCase c = GetParam();
    EXPECT_EQ(xpBarTop(c.size, c.percent, barStyle(c.scrolling)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, VerticalBarTop,
                         ::testing::Values(BarEdgeCase{24, 0, 0, 24},   // no bar at all
                                           BarEdgeCase{100, 50, 0, 52}, // t = 49, rem -3
                                           BarEdgeCase{100, 100, 0, 4}, // t = -2, rem -6
                                           BarEdgeCase{100, 50, 1, 50},
                                           BarEdgeCase{100, -7, 0, 100},
                                           BarEdgeCase{0, 100, 0, 0}));

TEST(SearchingBlocks, StartTwelvePixelsApartAndSlideWithTheValue) {
    // At 0 % all three lie left of the visible area.
    EXPECT_EQ(searchingBlockLeft(12, 0, 0), -33);
    EXPECT_EQ(searchingBlockLeft(12, 0, 2), -9);
    // rnd(347 + 12 - 22.5) = rnd(336.5) = 336, halves to even.
    EXPECT_EQ(searchingBlockLeft(347, 50, 1), 336);
    EXPECT_EQ(searchingBlockLeft(100, 100, 2), 124);
}

struct GradientStep {
    int step;
    ColorRef expected;
};

class MainBarGradient : public ::testing::TestWithParam<GradientStep> {};

// The light-to-colour gradient at the top of the main window's bar: 6 steps, (182, 199, 237) to
// (78, 119, 213).
TEST_P(MainBarGradient, MatchesTheRowColours) {
    const GradientStep c = GetParam();
    EXPECT_EQ(GradientSteps(rgbColor(182, 199, 237), rgbColor(78, 119, 213), 6).colorAt(c.step),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, MainBarGradient,
                         ::testing::Values(GradientStep{0, rgbColor(182, 199, 237)},
                                           GradientStep{1, rgbColor(165, 186, 233)},
                                           GradientStep{2, rgbColor(147, 172, 229)},
                                           GradientStep{3, rgbColor(130, 159, 225)},
                                           GradientStep{4, rgbColor(113, 146, 221)},
                                           GradientStep{5, rgbColor(95, 132, 217)},
                                           GradientStep{6, rgbColor(78, 119, 213)}));

TEST(Gradient, SpanZeroGivesTheFirstColourAndStepsAreSinglePrecision) {
    EXPECT_EQ(GradientSteps(0x102030, 0xFFFFFF, 0).colorAt(0), 0x102030u);
    // (255 - 0) / 3 = 85 exactly, and the far end lands on the second colour.
    EXPECT_EQ(GradientSteps(0, 0xFFFFFF, 3).colorAt(3), 0xFFFFFFu);
    // 1 / 10 as a float is 0.100000001490116; five steps give 0.50000000745 and round up to 1,
    // where exact arithmetic would give 0.5 and round to 0.
    EXPECT_EQ(redOf(GradientSteps(0, 1, 10).colorAt(5)), 1);
}

struct ValueCase {
    int value;
    int min;
    int max;
    std::optional<int> percent;
};

class ValueToPercent : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueToPercent, Maps) {
    const ValueCase c = GetParam();
    EXPECT_EQ(percentFromValue(c.value, c.min, c.max), c.percent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueToPercent,
    ::testing::Values(ValueCase{37, 0, 100, 37}, ValueCase{200, 0, 100, 200},
                      ValueCase{50, 10, 100, 60}, ValueCase{50, 0, 200, 25},
                      ValueCase{1, 0, 8, 12}, // 12.5 -> 12
                      ValueCase{3, 0, 8, 38}, // 37.5 -> 38
                      ValueCase{-5, 0, 100, -5}, ValueCase{5, 0, 0, std::nullopt},
                      ValueCase{0, 0, 0, std::nullopt},           // 0 / 0
                      ValueCase{21474837, 0, 100, std::nullopt},  // hundredfold overflows
                      ValueCase{-21474837, 0, 100, std::nullopt}, // -2147483700
                      ValueCase{21474836, 0, 100, 21474836},
                      ValueCase{-21474836, 0, 100, -21474836},
                      ValueCase{21474836, kIntMax, 1, std::nullopt}, // the sum leaves 32 bits
                      ValueCase{1, kIntMin, -1, std::nullopt}));

struct PercentCase {
    int percent;
    int min;
    int max;
    int value;
};

class PercentToValue : public ::testing::TestWithParam<PercentCase> {};

TEST_P(PercentToValue, Maps) {
    const PercentCase c = GetParam();
    EXPECT_EQ(valueFromPercent(c.percent, c.min, c.max), c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, PercentToValue,
                         ::testing::Values(PercentCase{37, 0, 100, 37}, PercentCase{60, 10, 100, 6},
                                           PercentCase{25, 0, 200, 50},
                                           PercentCase{50, -3, 5, 2}, // 2.5 -> 2
                                           PercentCase{100, 0, kIntMax, kIntMax},
                                           PercentCase{kIntMin, 0, kIntMax, kIntMin}));

} // namespace
} // namespace quillon::controls
