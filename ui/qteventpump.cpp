// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qteventpump.h"

#include <QCoreApplication>

namespace quillon::ui {

QtEventPump::QtEventPump(std::chrono::microseconds interval) : interval_(interval) {}

void QtEventPump::PumpMessages() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < interval_) {
        return;
    }
    QCoreApplication::processEvents();
    // Measured after the events were handled, so a slow repaint does not eat into the next
    // stretch of work.
    last_ = std::chrono::steady_clock::now();
}

} // namespace quillon::ui
