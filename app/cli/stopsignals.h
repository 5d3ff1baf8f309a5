// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <csignal>

namespace quillon::cli {

// Turns Ctrl-C, SIGTERM and SIGHUP into a request to stop at the next tag, so the file being read
// leaves no partial output and the terminal is left clean, instead of the process dying mid-file.
// A closed standard output makes writes fail rather than end the process, for the same reason.
// One instance, for the life of main().
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first stop signal received, or 0.
    static int received() { return firstSignal_; }

private:
    static void onStopSignal(int signal);

    // A signal handler can reach nothing else: the one piece of process-wide state in the
    // program.
    static inline volatile std::sig_atomic_t firstSignal_ = 0;
    std::array<struct sigaction, 3> previous_{};
    struct sigaction previousPipe_ {};
};

} // namespace quillon::cli
