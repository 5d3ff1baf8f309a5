// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/skin.h"

#include "ui/windowlook.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace quillon::ui {

namespace {

// Warm greys and a deep blue selection, in the spirit of the desktop the progress bar imitates.
QPalette skinPalette() {
    const QColor face(0xEC, 0xE9, 0xD8);
    const QColor selection(0x31, 0x6A, 0xC5);
    QPalette p(face);
    p.setColor(QPalette::Window, face);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xF6, 0xF5, 0xEE));
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Highlight, selection);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Midlight, QColor(0xF1, 0xEF, 0xE2));
    p.setColor(QPalette::Mid, QColor(0xAC, 0xA8, 0x99));
    p.setColor(QPalette::Dark, QColor(0x71, 0x6F, 0x64));
    p.setColor(QPalette::Shadow, QColor(0x40, 0x40, 0x40));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xAC, 0xA8, 0x99));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xAC, 0xA8, 0x99));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0xAC, 0xA8, 0x99));
    return p;
}

// A widget's own style does not pass to its children, so each one is given it.
void setStyleThroughout(QWidget* window, QStyle* style) {
    window->setStyle(style);
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        child->setStyle(style);
    }
}

} // namespace

Skin::Skin(QObject* parent) : QObject(parent), palette_(skinPalette()) {
    // The look is the application's, not only its windows': what Qt creates later on its own (a
    // dialog's drop-downs and completer, context menus, tooltips) takes it too. The style is made
    // once and owned by the application.
    constexpr auto kSkinStyle = "quillon-skin";
    if (QApplication::style()->objectName() != QLatin1String(kSkinStyle)) {
        if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
            style->setObjectName(QLatin1String(kSkinStyle));
            QApplication::setStyle(style);
        }
    }
    if (QApplication::style()->objectName() == QLatin1String(kSkinStyle)) {
        style_ = QApplication::style();
    }
    QApplication::setPalette(palette_);
    QApplication::setFont(windowFont());
}

void Skin::applyTo(QWidget* window) const {
    if (window == nullptr) {
        return;
    }
    window->setPalette(palette_);
    if (style_ != nullptr) {
        setStyleThroughout(window, style_);
    }
}

void lookLikeOwner(QWidget* dialog, const QWidget* owner) {
    if (dialog == nullptr || owner == nullptr) {
        return;
    }
    const QWidget* window = owner->window();
    dialog->setPalette(window->palette());
    dialog->setFont(window->font());
    if (window->testAttribute(Qt::WA_SetStyle)) {
        setStyleThroughout(dialog, window->style());
    }
}

} // namespace quillon::ui
