// SPDX-License-Identifier: GPL-3.0-or-later
#include "stopsignals.h"

#include <csignal>

namespace quillon::cli {

namespace {

constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};

} // namespace

void StopSignals::onStopSignal(int signal) {
    if (firstSignal_ == 0) {
        firstSignal_ = signal;
    }
}

StopSignals::StopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting on a silent pipe returns, and the run looks at the request.
    action.sa_flags = 0;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &action, &previous_[i]);
        // A signal ignored by whoever started us (nohup, a background job) stays ignored.
        if (previous_[i].sa_handler == SIG_IGN) {
            sigaction(kStopSignals[i], &previous_[i], nullptr);
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &previousPipe_);
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &previous_[i], nullptr);
    }
    sigaction(SIGPIPE, &previousPipe_, nullptr);
}

} // namespace quillon::cli
