// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qteventpump.h"

#include <QCoreApplication>
#include <QGuiApplication>

#if QUILLON_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace quillon::ui {

bool x11ConnectionBroken() {
#if QUILLON_HAVE_XCB
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return false;
    }
    if (const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>()) {
        // Set by Qt's reader thread as soon as a read from the server fails; reading it costs
        // no request.
        return x11->connection() != nullptr && xcb_connection_has_error(x11->connection()) != 0;
    }
#endif
    return false;
}

QtEventPump::QtEventPump(std::chrono::microseconds interval, std::function<bool()> displayBroken)
    : interval_(interval), displayBroken_(std::move(displayBroken)) {}

void QtEventPump::PumpMessages() {
    const auto now = std::chrono::steady_clock::now();
    if (gone_ || now - last_ < interval_) {
        return;
    }
    if (displayBroken_ && displayBroken_()) {
        gone_ = true;
        return;
    }
    QCoreApplication::processEvents();
    // Measured after the events were handled, so a slow repaint does not eat into the next
    // stretch of work.
    last_ = std::chrono::steady_clock::now();
}

} // namespace quillon::ui
