#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>

class QStyle;
class QWidget;

namespace quillon::ui {

// The application's own look: one widget style and one palette, handed to each window when it
// loads so the main window and its dialogs match whatever desktop theme is around them.
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

} // namespace quillon::ui
