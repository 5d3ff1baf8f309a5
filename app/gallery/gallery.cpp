// SPDX-License-Identifier: GPL-3.0-or-later
#include "gallery.h"

#include "xp_progressbar.h"

#include <QFont>
#include <QPainter>

namespace quillon::gallery {

using controls::XP_ProgressBar;

QImage renderBar(const BarSpec& spec, bool* valueAccepted) {
    XP_ProgressBar bar;
    bar.resize(spec.width, spec.height);
    if (spec.fontFamily) {
        QFont font(*spec.fontFamily);
        font.setPointSizeF(spec.fontPoints);
        bar.setFont(font);
    }
    bar.setColor(spec.color);
    bar.setScrolling(spec.style);
    bar.setOrientation(spec.orientation);
    bar.setShowText(spec.showText);
    bar.setImage(spec.image);
    bar.setMax(spec.max);
    bar.setMin(spec.min);
    const bool accepted = bar.setValue(spec.value);
    if (valueAccepted != nullptr) {
        *valueAccepted = accepted;
    }
    QImage out(spec.width, spec.height, QImage::Format_RGB32);
    if (out.isNull()) {
        return {};
    }
    // The bar is never shown, so its setters did not paint it; rendering runs its paint event.
    bar.render(&out, QPoint(), QRegion(), QWidget::RenderFlags());
    return out;
}

QImage sampleTile() {
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(QColor(250, 214, 120));
    QPainter p(&tile);
    p.fillRect(0, 0, 4, 4, QColor(196, 96, 40));
    p.fillRect(4, 4, 4, 4, QColor(196, 96, 40));
    return tile;
}

namespace {

constexpr const char* kStyleNames[] = {
    "0 XP segmented", "1 XP smooth", "2 searching", "3 flat",    "4 etched",
    "5 glass",        "6 dark",      "7 hatch",     "8 picture", "9 XP glass",
};

} // namespace

QImage renderSheet() {
    constexpr int kMargin = 12;
    constexpr int kLabelWidth = 120;
    constexpr int kBarWidth = 210;
    constexpr int kBarHeight = 24;
    constexpr int kRowStep = 34;
    constexpr int kValues[] = {0, 35, 70, 100};
    constexpr int kVerticalWidth = 24;
    constexpr int kVerticalHeight = 120;
    constexpr int kVerticalStep = 80;

    const int horizontalWidth = kLabelWidth + 4 * (kBarWidth + kMargin);
    const int top = kMargin + 22;
    const int verticalTop = top + 10 * kRowStep + 36;
    const int width = kMargin + horizontalWidth;
    const int height = verticalTop + kVerticalHeight + 40;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(236, 233, 216));
    QPainter p(&sheet);
    QFont labelFont = p.font();
    labelFont.setPixelSize(12);
    p.setFont(labelFont);
    p.setPen(Qt::black);

    const QImage tile = sampleTile();
    for (int i = 0; i < 4; ++i) {
        const int x = kMargin + kLabelWidth + i * (kBarWidth + kMargin);
        p.drawText(x, kMargin + 12,
                   QStringLiteral("Value %1%2").arg(kValues[i]).arg(i == 2 ? ", caption" : ""));
    }
    for (int style = 0; style < 10; ++style) {
        const int y = top + style * kRowStep;
        p.drawText(kMargin, y + 16, QString::fromLatin1(kStyleNames[style]));
        for (int i = 0; i < 4; ++i) {
            BarSpec spec;
            spec.style = style;
            spec.value = kValues[i];
            spec.width = kBarWidth;
            spec.height = kBarHeight;
            spec.showText = i == 2 || (style == 9 && i == 1);
            spec.image = tile;
            p.drawImage(kMargin + kLabelWidth + i * (kBarWidth + kMargin), y, renderBar(spec));
        }
    }
    p.drawText(kMargin, verticalTop - 12, QStringLiteral("Orientation 1, Value 60"));
    for (int style = 0; style < 10; ++style) {
        const int x = kMargin + style * kVerticalStep;
        BarSpec spec;
        spec.style = style;
        spec.value = 60;
        spec.orientation = 1;
        spec.width = kVerticalWidth;
        spec.height = kVerticalHeight;
        spec.image = tile;
        p.drawImage(x, verticalTop, renderBar(spec));
        p.drawText(x, verticalTop + kVerticalHeight + 16,
                   QString::fromLatin1(kStyleNames[style]).section(' ', 0, 0));
    }
    return sheet;
}

} // namespace quillon::gallery
