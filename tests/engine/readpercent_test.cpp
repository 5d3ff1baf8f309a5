// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/readpercent.h"

#include <gtest/gtest.h>

using quillon::engine::readPercent;

TEST(ReadPercent, RoundsHalvesToEven) {
    EXPECT_EQ(readPercent(1, 8), 12);    // 12.5
    EXPECT_EQ(readPercent(27, 200), 14); // 13.5
    EXPECT_EQ(readPercent(1, 3), 33);
    EXPECT_EQ(readPercent(2, 3), 67);
}

TEST(ReadPercent, HandlesSizesBeyondThirtyTwoBits) {
    EXPECT_EQ(readPercent(1'234'567'890, 2'000'000'000), 62);
    EXPECT_EQ(readPercent(3'000'000'000ULL, 6'000'000'000ULL), 50);
    EXPECT_EQ(readPercent(0xFFFFFFFFFFFFULL, 0xFFFFFFFFFFFFULL), 100);
}

TEST(ReadPercent, NeverExceedsOneHundred) {
    EXPECT_EQ(readPercent(2'000'000'000, 2'000'000'000), 100);
    EXPECT_EQ(readPercent(2'000'000'015, 2'000'000'000), 100);
    EXPECT_EQ(readPercent(0, 10), 0);
}
