// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/windowlook.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace quillon::ui {

QFont windowFont() {
    // DejaVu Sans Condensed has about Tahoma's narrow widths; plain DejaVu Sans runs wider.
    static const char* const families[] = {"Tahoma", "DejaVu Sans Condensed", "DejaVu Sans"};
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive)) {
            return QFont(QLatin1String(family), 9);
        }
    }
    QFont fallback(QStringLiteral("Sans Serif"), 9);
    fallback.setStyleHint(QFont::SansSerif);
    return fallback;
}

int scaledLength(const QWidget* widget, int pixels) {
    const int dpi = widget != nullptr ? widget->logicalDpiX() : 96;
    if (dpi <= 96) {
        return pixels;
    }
    return int(std::lround(pixels * (dpi / 96.0)));
}

QSize scaledSize(const QWidget* widget, int width, int height) {
    return {scaledLength(widget, width), scaledLength(widget, height)};
}

QRect scaledRect(const QWidget* widget, int left, int top, int width, int height) {
    return {scaledLength(widget, left), scaledLength(widget, top), scaledLength(widget, width),
            scaledLength(widget, height)};
}

void centerOnScreen(QWidget* window) {
    QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace quillon::ui
