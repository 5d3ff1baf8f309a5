// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/closeonstopsignal.h"

#include "platform/stopsignals.h"
#include "ui/formmain.h"

#include <QSocketNotifier>
#include <array>
#include <unistd.h>

namespace quillon::ui {

CloseOnStopSignal::CloseOnStopSignal(const platform::StopSignals& stopSignals, FormMain& window)
    : window_(window) {
    if (stopSignals.wakeDescriptor() < 0) {
        return;
    }
    // The signal handler writes to the pipe; the event loop wakes for it even when idle.
    notifier_ = new QSocketNotifier(stopSignals.wakeDescriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CloseOnStopSignal::signalled);
}

void CloseOnStopSignal::signalled() {
    std::array<char, 64> drained{};
    while (::read(static_cast<int>(notifier_->socket()), drained.data(), drained.size()) > 0) {
    }
    window_.closeOnRequest();
}

} // namespace quillon::ui
