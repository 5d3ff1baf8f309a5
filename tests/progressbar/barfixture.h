// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colors.h"
#include "xp_progressbar.h"

#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace quillon::controls::test {

inline constexpr ColorRef kMainBarColor = 0xD5774E; // (78, 119, 213)

// A control of the given size and look, shown on the offscreen platform's screen like a window of
// its own, so that the paints its setters make reach its off-screen image and the screen.
inline std::unique_ptr<XP_ProgressBar> makeBar(int w, int h, int scrolling = 0,
                                               ColorRef color = kMainBarColor) {
    auto bar = std::make_unique<XP_ProgressBar>();
    bar->resize(w, h);
    bar->setColor(color);
    bar->setScrolling(scrolling);
    bar->show();
    // A window without an area is never exposed.
    if (w > 0 && h > 0) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    }
    return bar;
}

// What the screen shows of the control's window right now, without handling any events.
inline QImage onScreen(XP_ProgressBar& bar) {
    return bar.screen()->grabWindow(bar.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

inline const QImage& buffer(const XP_ProgressBar& bar) {
    return *dynamic_cast<const QImage*>(bar.hdc());
}

inline ColorRef px(const XP_ProgressBar& bar, int x, int y) {
    return fromQRgb(buffer(bar).pixel(x, y));
}

// The client area as painted, detached from the control's image.
inline QImage client(const XP_ProgressBar& bar) {
    return buffer(bar).copy(0, 0, bar.width(), bar.height());
}

} // namespace quillon::controls::test
