// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <utility>

namespace quillon::ui {

// What the user can ask of the main window, by button, key or drop.
enum class Command { Add, Remove, Extract, DropFiles, OpenOutput, CheckUpdate, StopRun };

// The one place that decides which of the main window's commands may run in its current state,
// and shows it. While an extraction run is in progress the run reads the list by row number and
// a second run must not start inside it, so adding, removing, extracting and drops are refused
// and their controls disabled; so is opening a row's output, which the run may be replacing.
// Stopping is possible only then.
class CommandGate {
public:
    static bool allowed(Command command, bool runInProgress);

    bool allows(Command command) const { return allowed(command, running_); }
    // Runs `action` as `command` if the command may run now; returns whether it ran.
    bool run(Command command, const std::function<void()>& action) const;
    // `control` is enabled exactly while `command` may run.
    void bind(Command command, QWidget* control);
    bool runInProgress() const { return running_; }

    // Marks a run in progress for as long as it lives, so every way out of a run ends it.
    class RunScope {
    public:
        explicit RunScope(CommandGate& gate) : gate_(gate) { gate_.setRunning(true); }
        ~RunScope() { gate_.setRunning(false); }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        CommandGate& gate_;
    };

private:
    void setRunning(bool running);

    bool running_ = false;
    QList<std::pair<Command, QPointer<QWidget>>> controls_;
};

} // namespace quillon::ui
