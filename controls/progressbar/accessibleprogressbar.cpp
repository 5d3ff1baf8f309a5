// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibleprogressbar.h"

#include "xp_progressbar.h"

namespace quillon::controls {

AccessibleProgressBar::AccessibleProgressBar(XP_ProgressBar* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

const XP_ProgressBar& AccessibleProgressBar::bar() const {
    return *static_cast<const XP_ProgressBar*>(widget());
}

QString AccessibleProgressBar::text(QAccessible::Text t) const {
    // AT-SPI carries no value text, so the text the bar shows is its description as well.
    const bool shownText = t == QAccessible::Value || (t == QAccessible::Description &&
                                                       widget()->accessibleDescription().isEmpty());
    if (shownText) {
        return percentText(bar().percent());
    }
    return QAccessibleWidget::text(t);
}

void* AccessibleProgressBar::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

QVariant AccessibleProgressBar::currentValue() const {
    return bar().Value();
}

void AccessibleProgressBar::setCurrentValue(const QVariant& /*value*/) {
    // Progress is the program's to report; a screen reader only follows it.
}

QVariant AccessibleProgressBar::maximumValue() const {
    return bar().Max();
}

QVariant AccessibleProgressBar::minimumValue() const {
    return bar().Min();
}

QVariant AccessibleProgressBar::minimumStepSize() const {
    return 0;
}

namespace {

QAccessibleInterface* progressBarFactory(const QString& className, QObject* object) {
    if (object != nullptr && object->isWidgetType() &&
        className == QLatin1String(XP_ProgressBar::staticMetaObject.className())) {
        return new AccessibleProgressBar(static_cast<XP_ProgressBar*>(object));
    }
    return nullptr;
}

} // namespace

void installProgressBarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&progressBarFactory);
        return true;
    }();
    (void)installed;
}

} // namespace quillon::controls
