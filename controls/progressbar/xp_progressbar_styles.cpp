// SPDX-License-Identifier: GPL-3.0-or-later
// The painters of styles 3 to 9. They always draw horizontally, with the track spanning the whole
// client width.
#include "drawsurface.h"
#include "rounding.h"
#include "xp_progressbar.h"

#include <cstdint>
#include <optional>

namespace quillon::controls {

namespace {

// The six classic hatch styles: 0 horizontal, 1 vertical, 2 forward diagonal (\), 3 backward
// diagonal (/), 4 cross, 5 diagonal cross. Any other value makes no brush.
std::optional<Qt::BrushStyle> hatchStyle(int brushStyle) {
    switch (brushStyle) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::FDiagPattern;
    case 3:
        return Qt::BDiagPattern;
    case 4:
        return Qt::CrossPattern;
    case 5:
        return Qt::DiagCrossPattern;
    default:
        return std::nullopt;
    }
}

std::int32_t fillEnd(int percent, double divisor, std::int64_t track) {
    return roundSaturated(percent / divisor * static_cast<double>(track));
}

} // namespace

void XP_ProgressBar::PaintFlat(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    FrameSolid(s, clientRect(), LightenColor(color_, 100));
    barRect_ = {1, 1, fillEnd(percent_, 100.0, w), h - 1};
    FillSolid(s, barRect_, LightenColor(color_, 180));
}

void XP_ProgressBar::PaintEtched(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    s.edge(clientRect(), EdgeKind::Etched, ResolveColor(kSysColorButtonHighlight, palette()),
           ResolveColor(kSysColorButtonShadow, palette()));
    const std::int32_t f = fillEnd(percent_, 100.0, std::int64_t{w} - 4);
    // The gradient always spans the current bar, so its end is always the lighter tint.
    ColorRef from = LightenColor(color_, 140);
    ColorRef to = LightenColor(color_, 200);
    drawGradient(s, from, to, 2, 2, f, h - 3, true);
}

void XP_ProgressBar::PaintGlass(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    FrameSolid(s, clientRect(), LightenColor(color_, 10));
    barRect_.right = fillEnd(percent_, 101.0, w);
    ColorRef from = color_;
    ColorRef to = LightenColor(color_, 100);
    drawGradient(s, from, to, 2, 2, w - 2, h - 5, false);
    from = LightenColor(color_, 250);
    to = color_;
    drawGradient(s, from, to, 3, 3, barRect_.right, h - 6, false);
    drawLine(s, barRect_.right, 2, barRect_.right, h - 2, LightenColor(color_, 25));
}

void XP_ProgressBar::PaintDark(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    FrameSolid(s, clientRect(), BlendColors(color_, kBlack, 200, palette()));
    ColorRef from = kBlack;
    ColorRef to = LightenColor(BlendColors(color_, kBlack, 100, palette()), 10);
    const std::int32_t f = fillEnd(percent_, 100.0, std::int64_t{w} - 5);
    drawGradient(s, from, to, 2, 2, f, h - 2, true);
}

void XP_ProgressBar::PaintHatch(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    s.edge(clientRect(), EdgeKind::Bump, ResolveColor(kSysColorButtonHighlight, palette()),
           ResolveColor(kSysColorButtonShadow, palette()));
    barRect_ = {2, 2, fillEnd(percent_, 101.0, w), h - 2};
    if (const auto hatch = hatchStyle(brushStyle_)) {
        s.fillHatch(barRect_, *hatch, color_, LightenColor(color_, 140));
    }
}

void XP_ProgressBar::PaintPicture(DrawSurface& s) {
    const int h = clientRect().bottom;
    s.edge(clientRect(), EdgeKind::SunkenOuter, ResolveColor(kSysColorButtonHighlight, palette()),
           ResolveColor(kSysColorButtonShadow, palette()));
    if (image_.isNull()) {
        return;
    }
    barRect_.right = fillEnd(percent_, 101.0, clientRect().right);
    // A rectangle of barRect.right x (H - 4) at (2, 2); a negative extent covers nothing.
    s.fillPattern({2, 2, clampToInt32(std::int64_t{2} + barRect_.right), h - 2}, pattern_);
}

void XP_ProgressBar::PaintXPGlass(DrawSurface& s) {
    const int w = clientRect().right;
    const int h = clientRect().bottom;
    barRect_.right = fillEnd(percent_, 100.0, std::int64_t{w} - 4);
    const std::int32_t h2 = roundSaturated((h - 3) / 2.0);

    ColorRef from = kWhite;
    ColorRef to = kSilver;
    drawGradient(s, from, to, 2, 2, w - 3, h2, false);
    from = BlendColors(kSilver, kBlack, 255, palette());
    to = kSilver;
    drawGradient(s, from, to, 2, h2, w - 3, h2, false);
    from = LightenColor(color_, 150);
    to = BlendColors(color_, kBlack, 180, palette());
    drawGradient(s, from, to, 2, 2, barRect_.right, h2, false);
    from = BlendColors(color_, kBlack, 190, palette());
    to = color_;
    drawGradient(s, from, to, 2, h2, barRect_.right, h2, false);
    PaintXPFrame(s);
}

} // namespace quillon::controls
