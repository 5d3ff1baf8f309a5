// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/commandgate.h"

namespace quillon::ui {

bool CommandGate::allowed(Command command, bool runInProgress) {
    switch (command) {
    case Command::Add:
    case Command::Remove:
    case Command::Extract:
    case Command::DropFiles:
    case Command::OpenOutput:
        return !runInProgress;
    case Command::StopRun:
        return runInProgress;
    case Command::CheckUpdate:
        return true;
    }
    return false;
}

bool CommandGate::run(Command command, const std::function<void()>& action) const {
    if (!allows(command)) {
        return false;
    }
    action();
    return true;
}

void CommandGate::bind(Command command, QWidget* control) {
    controls_.append({command, control});
    control->setEnabled(allows(command));
}

void CommandGate::setRunning(bool running) {
    running_ = running;
    for (const auto& [command, control] : controls_) {
        if (control != nullptr) {
            control->setEnabled(allows(command));
        }
    }
}

} // namespace quillon::ui
