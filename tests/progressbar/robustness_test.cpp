// SPDX-License-Identifier: GPL-3.0-or-later
// Any 32-bit setting on any size paints without crashing; run under the sanitizer preset to catch
// undefined behaviour as well.
#include "barfixture.h"

#include <QLine>
#include <QPaintEvent>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace quillon::controls::test {
namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

class ExtremeSettings
    : public ::testing::TestWithParam<std::tuple<int /*scrolling*/, int /*percent*/, QSize>> {};

TEST_P(ExtremeSettings, PaintWithoutCrashing) {
    const auto [scrolling, percent, size] = GetParam();
    auto bar = makeBar(size.width(), size.height(), scrolling);
    bar->setShowText(true);
    bar->setImage(QImage(3, 3, QImage::Format_RGB32));
    for (const int orientation : {0, 1, kMin}) {
        for (const int brushStyle : {kMin, -1, 2, 70000, kMax}) {
            bar->setOrientation(orientation);
            bar->setBrushStyle(brushStyle);
            ASSERT_TRUE(bar->setValue(percent));
            EXPECT_LE(bar->percent(), 100);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grid, ExtremeSettings,
    ::testing::Combine(::testing::Values(kMin, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kMax),
                       ::testing::Values(-21474836, -101, -1, 0, 1, 97, 98, 99, 100, 21474836),
                       ::testing::Values(QSize(0, 0), QSize(1, 1), QSize(2, 30), QSize(30, 2),
                                         QSize(13, 13), QSize(691, 24))));

TEST(ExtremeRanges, MinAndMaxAtTheLimits) {
    auto bar = makeBar(100, 20);
    for (const int min : {kMin, -1, 0, 1, kMax}) {
        for (const int max : {kMin, -1, 1, kMax}) {
            bar->setMin(min);
            bar->setMax(max);
            for (const int value : {kMin, -21474836, 0, 21474836, kMax}) {
                const int before = bar->percent();
                if (bar->setValue(value)) {
                    EXPECT_LE(bar->percent(), 100);
                } else {
                    EXPECT_EQ(bar->percent(), before);
                }
                (void)bar->Value();
            }
        }
    }
}

TEST(OversizedControl, PaintsWithoutAnImage) {
    XP_ProgressBar hidden; // as no screen could show it
    XP_ProgressBar* bar = &hidden;
    bar->setColor(kMainBarColor);
    bar->resize(1 << 20, 1 << 20); // far beyond what an off-screen image may take
    ASSERT_TRUE(bar->setValue(50));
    // Painting straight onto the widget covers only the exposed part.
    QImage target(64, 16, QImage::Format_RGB32);
    bar->render(&target, QPoint(), QRegion(0, 0, 64, 16));
    EXPECT_EQ(bar->hdc(), bar);
    EXPECT_EQ(bar->bufferSize(), QSize(0, 0));
    EXPECT_EQ(fromQRgb(target.pixel(0, 5)), 0x686868u);
    EXPECT_EQ(fromQRgb(target.pixel(20, 10)), bar->Color());
}

TEST(DrawingOperations, GradientSpanZeroAndNegative) {
    auto bar = makeBar(50, 20);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    ColorRef first = 0x8000000D;
    ColorRef second = 0x0000FF;
    bar->DrawGradient(first, second, 2, 3, 12, 0, &image, false);
    // Both colours come back resolved.
    EXPECT_EQ(first, fromQRgb(bar->palette().color(QPalette::Highlight).rgb()));
    EXPECT_EQ(second, 0x0000FFu);
    for (int x = 0; x < 20; ++x) {
        const ColorRef expected = x >= 2 && x < 12 ? first : kWhite;
        EXPECT_EQ(fromQRgb(image.pixel(x, 3)), expected) << x;
        EXPECT_EQ(fromQRgb(image.pixel(x, 4)), kWhite) << x;
    }
    const QImage before = image;
    bar->DrawGradient(first, second, 2, 3, -1, 9, &image, true);
    EXPECT_EQ(image, before);
}

TEST(DrawingOperations, LinesLeaveOutTheirEndPoint) {
    auto bar = makeBar(50, 20);
    QImage image(12, 12, QImage::Format_RGB32);
    image.fill(Qt::white);
    bar->DrawLine(10, 3, 2, 3, &image, 0x0000FF); // leftwards
    bar->DrawLine(5, 11, 5, 6, &image, 0x00FF00); // upwards
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(fromQRgb(image.pixel(x, 3)), x >= 3 && x <= 10 ? 0x0000FFu : kWhite) << x;
    }
    for (int y = 4; y < 12; ++y) {
        EXPECT_EQ(fromQRgb(image.pixel(5, y)), y >= 7 ? 0x00FF00u : kWhite) << y;
    }
}

class SlantedLine : public ::testing::TestWithParam<QLine> {
protected:
    static QImage draw(const QPoint& from, const QPoint& to) {
        XP_ProgressBar bar;
        QImage image(24, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        bar.DrawLine(from.x(), from.y(), to.x(), to.y(), &image, 0);
        return image;
    }
};

// The classic integer line: per step of the longer axis the pixel nearest the true line, a tie
// going to the smaller coordinate, the end point left out; so the same pixels from either end.
TEST_P(SlantedLine, IsTheSameRegularStaircaseFromEitherEnd) {
    const QLine l = GetParam();
    QImage forward = draw(l.p1(), l.p2());
    const bool xMajor = std::abs(l.dx()) >= std::abs(l.dy());
    int pixels = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 24; ++x) {
            if (fromQRgb(forward.pixel(x, y)) == kWhite) {
                continue;
            }
            const double exact = xMajor ? l.y1() + double(x - l.x1()) * l.dy() / l.dx()
                                        : l.x1() + double(y - l.y1()) * l.dx() / l.dy();
            const double off = (xMajor ? y : x) - exact;
            EXPECT_TRUE(off >= -0.5 && off < 0.5) << x << "," << y;
            ++pixels;
        }
    }
    EXPECT_EQ(pixels, std::max(std::abs(l.dx()), std::abs(l.dy()))); // one per step, end left out
    EXPECT_EQ(fromQRgb(forward.pixel(l.p2())), kWhite);
    QImage backward = draw(l.p2(), l.p1());
    forward.setPixel(l.p2(), 0);
    backward.setPixel(l.p1(), 0);
    EXPECT_EQ(forward, backward);
}

INSTANTIATE_TEST_SUITE_P(Lines, SlantedLine,
                         ::testing::Values(QLine(1, 1, 21, 6),  // a tie every four columns
                                           QLine(2, 14, 18, 6), // rising, a tie every other one
                                           QLine(3, 2, 8, 17), QLine(20, 1, 15, 18),
                                           QLine(0, 0, 13, 13)));

TEST(DrawingOperations, CopyDefaultsToTheWholeImage) {
    auto bar = makeBar(40, 10);
    ASSERT_TRUE(bar->setValue(100));
    QImage whole(bar->bufferSize(), QImage::Format_RGB32);
    bar->pDraw(&whole);
    EXPECT_EQ(whole, buffer(*bar));
    QImage part(8, 8, QImage::Format_RGB32);
    part.fill(Qt::black);
    bar->pDraw(&part, 30, 2, 4, 4, 1, 1);
    EXPECT_EQ(part.pixel(1, 1), buffer(*bar).pixel(30, 2));
    EXPECT_EQ(part.pixel(4, 4), buffer(*bar).pixel(33, 5));
    EXPECT_EQ(fromQRgb(part.pixel(5, 5)), kBlack);
}

} // namespace
} // namespace quillon::controls::test
