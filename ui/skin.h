// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>

class QStyle;
class QWidget;

namespace quillon::ui {

// The application's own look: one widget style, one palette and the windows' font, made the
// application's when the skin is created and handed to each window when it loads, so the main
// window, its dialogs and every pop-up match whatever desktop theme is around them.
class Skin final : public QObject {
public:
    explicit Skin(QObject* parent = nullptr);
    // Gives `window` and every widget inside it the skin's style and palette. A missing style
    // leaves the toolkit's own, which is still a usable window.
    void applyTo(QWidget* window) const;
    const QPalette& palette() const { return palette_; }

private:
    QPointer<QStyle> style_;
    QPalette palette_;
};

// Gives a dialog the look of the window that owns it: that window's style, palette and font. The
// dialogs the system shows for a window (file chooser, folder picker, message boxes) thus carry
// the window's skin. A dialog without an owner keeps the toolkit's look.
void lookLikeOwner(QWidget* dialog, const QWidget* owner);

} // namespace quillon::ui
