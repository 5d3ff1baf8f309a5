// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace quillon::ui {

// The windows' font: Tahoma 9 pt where it is installed, otherwise the closest sans-serif found.
QFont windowFont();

// A rectangle laid out in pixels at 96 dpi, scaled to the logical dpi `widget` is shown at.
// Qt already scales whole device pixel ratios; this covers screens that report a larger dpi
// instead.
QRect scaledRect(const QWidget* widget, int left, int top, int width, int height);
QSize scaledSize(const QWidget* widget, int width, int height);
int scaledLength(const QWidget* widget, int pixels);

// Places a window in the middle of the screen it is on.
void centerOnScreen(QWidget* window);

} // namespace quillon::ui
