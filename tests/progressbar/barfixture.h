#pragma once

#include "colors.h"
#include "xp_progressbar.h"

#include <QImage>
#include <memory>

namespace quillon::controls::test {

inline constexpr ColorRef kMainBarColor = 0xD5774E; // (78, 119, 213)
inline constexpr ColorRef kWhite = 0xFFFFFF;
inline constexpr ColorRef kBlack = 0x000000;

// A control of the given size and look whose painting lands in its off-screen image.
inline std::unique_ptr<XP_ProgressBar> makeBar(int w, int h, int scrolling = 0,
                                               ColorRef color = kMainBarColor) {
    auto bar = std::make_unique<XP_ProgressBar>();
    bar->resize(w, h);
    bar->setColor(color);
    bar->setScrolling(scrolling);
    return bar;
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
