// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillon::platform {
class StopSignals;
}

namespace quillon::ui {

class FormMain;

// Closes the main window when a stop signal arrives (the session ends, `kill`, Ctrl-C in the
// terminal that started it), as its close box would: its dialogs are cancelled, a run stops at its
// next tag and leaves no partial output, and the program ends.
class CloseOnStopSignal final : public QObject {
public:
    CloseOnStopSignal(const platform::StopSignals& stopSignals, FormMain& window);

private:
    void signalled();

    FormMain& window_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quillon::ui
