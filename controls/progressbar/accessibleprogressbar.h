// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

namespace quillon::controls {

class XP_ProgressBar;

// What assistive technology sees of the bar: a progress bar whose value is `Value` between `Min`
// and `Max`, read out as the percentage it shows ("45 %"), which is also its description unless
// one was set. The value cannot be set from outside.
class AccessibleProgressBar : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleProgressBar(XP_ProgressBar* bar);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    const XP_ProgressBar& bar() const;
};

// Makes Qt's accessibility describe every XP_ProgressBar with AccessibleProgressBar. The control's
// constructor calls it, so no program needs to; calls after the first do nothing.
void installProgressBarAccessibility();

} // namespace quillon::controls
