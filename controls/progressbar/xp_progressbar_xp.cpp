// SPDX-License-Identifier: GPL-3.0-or-later
// The XP look (styles 0, 1, 2 and every value outside 3..9) and the caption.
#include "drawsurface.h"
#include "rounding.h"
#include "xp_progressbar.h"
#include "xpgeometry.h"

#include <cstdint>

namespace quillon::controls {

void XP_ProgressBar::CalcBar(int trackLeft) {
    const GdiRect client = clientRect();
    barRect_ = client;
    barRect_.left = trackLeft;
    if (orientation_ == 0) {
        barRect_.right = xpBarRight(client.right, percent_, style());
    } else {
        barRect_.top = xpBarTop(client.bottom, percent_, style());
    }
}

void XP_ProgressBar::PaintXPBar(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    if (orientation_ == 0) {
        // Even at 0 % one block shows.
        if (barRect_.right <= 14) {
            barRect_.right = 12;
        }
        // Near the right end the bar stops short of the frame.
        const int e = std::int64_t{barRect_.right} + 4 > w ? barRect_.right - 4 : barRect_.right;
        if (style() == BarStyle::Searching) {
            paintSearchingBlocks(s);
            return;
        }
        const ColorRef light = LightenColor(color_, 150);
        ColorRef from = light;
        ColorRef to = color_;
        drawGradient(s, from, to, 4, 3, e, 6, false);
        FillSolid(s, {4, 8, e, h - 8}, color_);
        from = color_;
        to = light;
        drawGradient(s, from, to, 4, h - 10, e, 6, false);
        return;
    }
    if (style() == BarStyle::Searching) {
        paintSearchingBlocks(s);
        return;
    }
    const ColorRef light = LightenColor(color_, 150);
    ColorRef from = light;
    ColorRef to = color_;
    drawGradient(s, from, to, 4, barRect_.top, 4, h, true);
    FillSolid(s, {9, barRect_.top, w - 8, h}, color_);
    from = color_;
    to = light;
    drawGradient(s, from, to, w - 8, barRect_.top, 4, h, true);
}

void XP_ProgressBar::paintSearchingBlocks(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    for (int i = 0; i < 3; ++i) {
        // Block 0 is the palest.
        ColorRef tintA = LightenColor(color_, 220 - 40 * i);
        ColorRef tintB = LightenColor(color_, 200 - 40 * i);
        if (orientation_ == 0) {
            const std::int32_t left = searchingBlockLeft(barRect_.right, percent_, i);
            drawGradient(s, tintA, tintB, left, 3, 9, h - 2, true);
        } else {
            const std::int32_t top =
                clampToInt32(std::int64_t{barRect_.top} + std::int64_t{kGapWidth + 10} * i);
            drawGradient(s, tintA, tintB, w - 2, top, 2, 9, false);
        }
    }
}

void XP_ProgressBar::PaintSegments(DrawSurface& s, int trackLeft) {
    const int blockWidth = xpBlockWidth(style());
    const std::int64_t period = std::int64_t{blockWidth} + kGapWidth;
    GdiRect gap = clientRect();
    gap.left = trackLeft;
    if (orientation_ == 0) {
        // Gaps right of the surface cannot show; stop there rather than at a far-away bar end.
        const std::int64_t end = std::min<std::int64_t>(barRect_.right, s.bounds().right());
        for (std::int64_t x = std::int64_t{barRect_.left} + blockWidth; x <= end; x += period) {
            gap.left = static_cast<std::int32_t>(x + 1);
            gap.right = static_cast<std::int32_t>(x + 1 + kGapWidth);
            FillSolid(s, gap, kWhite);
        }
        return;
    }
    const std::int64_t stop =
        std::max<std::int64_t>(std::int64_t{barRect_.top} + blockWidth, s.bounds().top() + 1);
    for (std::int64_t y = barRect_.bottom; y >= stop; y -= period) {
        gap.top = static_cast<std::int32_t>(y - 2);
        gap.bottom = static_cast<std::int32_t>(y);
        FillSolid(s, gap, kWhite);
    }
}

void XP_ProgressBar::PaintXPFrame(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;

    constexpr ColorRef kOuter = 0x686868;
    constexpr ColorRef kShade = 0xBEBEBE;
    constexpr ColorRef kLight = 0xEFEFEF;
    constexpr ColorRef kCornerA = 0xA6ABAC;
    constexpr ColorRef kCornerB = 0xA7ABAC;
    constexpr ColorRef kCornerC = 0x7D7E7F;
    constexpr ColorRef kCornerD = 0x777777;

    drawLine(s, 2, 1, w - 2, 1, kShade);
    drawLine(s, 2, h - 2, w - 2, h - 2, kLight);
    drawLine(s, 1, 2, 1, h - 2, kShade);
    drawLine(s, 2, 2, 2, h - 2, kLight);
    drawLine(s, 2, 2, w - 2, 2, kLight);
    drawLine(s, w - 2, 2, w - 2, h - 2, kLight);
    FrameSolid(s, clientRect(), kOuter);

    // The rounded corners, pixel by pixel; later pixels win where a small control makes them meet.
    struct Pixel {
        int x;
        int y;
        ColorRef c;
    };
    const Pixel pixels[] = {
        {0, 0, kWhite},           {0, 1, kCornerA},       {0, 2, kCornerC},
        {1, 0, kCornerB},         {1, 1, kCornerD},       {2, 0, kCornerC},
        {2, 2, kShade},           {0, h - 1, kWhite},     {1, h - 1, kCornerA},
        {2, h - 1, kCornerC},     {0, h - 3, kCornerC},   {0, h - 2, kCornerB},
        {1, h - 2, kCornerD},     {w - 1, 0, kWhite},     {w - 1, 1, kShade},
        {w - 1, 2, kCornerC},     {w - 2, 2, kShade},     {w - 2, 1, kOuter},
        {w - 1, h - 1, kWhite},   {w - 1, h - 2, kShade}, {w - 1, h - 3, kCornerC},
        {w - 2, h - 2, kCornerD}, {w - 2, h - 1, kShade}, {w - 3, h - 1, kCornerC},
    };
    for (const Pixel& p : pixels) {
        s.setPixel(p.x, p.y, p.c);
    }
}

// ---------------------------------------------------------------------------------------------
// Caption

QString percentText(int percent) {
    return QString::number(percent) + QStringLiteral(" %");
}

namespace {

QFont captionFont(const QFont& font) {
    // Crisp pixels, as the caption has always looked; it also keeps the two-colour split exact.
    QFont f = font;
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

} // namespace

void XP_ProgressBar::PaintCaption(DrawSurface& s) {
    const BarStyle look = style();
    const bool overlay = look == BarStyle::Dark || look == BarStyle::XPGlass;
    const QString text =
        look == BarStyle::Searching ? QStringLiteral("Searching..") : percentText(percent_);
    if (!showText_) {
        return;
    }
    const QFont f = captionFont(font_);
    const ColorRef textColor = look == BarStyle::Dark ? kSilver : kBlack;
    CenterCaption(s, text);
    const double fillEnd = percent_ / 100.0 * clientRect().right;
    if (!(overlay && fillEnd > captionRect_.right)) {
        s.text(captionRect_.left, captionRect_.top, captionRect_, text, f, textColor);
    }
    if (overlay) {
        PaintCaptionOverlay(s, text, fillEnd);
    }
}

void XP_ProgressBar::CenterCaption(DrawSurface& s, const QString& text) {
    const QSize size = s.measure(text, captionFont(font_));
    const std::int32_t left = roundSaturated(clientRect().right / 2.0 - size.width() / 2.0);
    const std::int32_t top = roundSaturated(clientRect().bottom / 2.0 - size.height() / 2.0);
    captionRect_ = {left, top, clampToInt32(std::int64_t{left} + size.width()),
                    clampToInt32(std::int64_t{top} + size.height())};
}

void XP_ProgressBar::PaintCaptionOverlay(DrawSurface& s, const QString& text, double fillEnd) {
    if (fillEnd < captionRect_.left) {
        return;
    }
    const ColorRef textColor = style() == BarStyle::Dark ? LightenColor(color_, 80) : kWhite;
    const std::int64_t captionWidth = std::int64_t{captionRect_.right} - captionRect_.left;
    captionRect_.left = roundSaturated(clientRect().right / 2.0 - captionWidth / 2.0);
    captionRect_.right = roundSaturated(fillEnd);
    s.text(captionRect_.left, captionRect_.top, captionRect_, text, captionFont(font_), textColor);
}

} // namespace quillon::controls
