// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/stopsignals.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillon::platform {

namespace {

constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};
// Each makes a write fail instead of ending the process.
constexpr std::array<int, 2> kIgnoredSignals = {SIGPIPE, SIGXFSZ};

static_assert(std::atomic<int>::is_always_lock_free, "read inside a signal handler");

} // namespace

void StopSignals::onStopSignal(int signal) {
    if (firstSignal_ == 0) {
        firstSignal_ = signal;
    }
    const int savedErrno = errno;
    const int wake = wakeWrite_.load(std::memory_order_relaxed);
    if (wake >= 0) {
        // A full pipe already says the same.
        const char byte = 1;
        (void)!::write(wake, &byte, 1);
    }
    errno = savedErrno;
}

StopSignals::StopSignals() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = FileDescriptor(ends[0]);
        wakeWriteEnd_ = FileDescriptor(ends[1]);
        wakeWrite_.store(ends[1], std::memory_order_relaxed);
    }

    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    // One stop at a time: a second signal waits until the first has been noted.
    sigemptyset(&stop.sa_mask);
    for (const int signal : kStopSignals) {
        sigaddset(&stop.sa_mask, signal);
    }
    // No SA_RESTART: a read waiting on a silent pipe returns, and the run looks at the request.
    stop.sa_flags = 0;

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);

    std::size_t next = 0;
    for (const int signal : kStopSignals) {
        Saved& saved = saved_[next++];
        saved.signal = signal;
        // Asked first, so a signal ignored by whoever started us is never caught, not even for
        // the moment between installing and putting back.
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        saved.changed = sigaction(signal, &stop, &saved.previous) == 0;
    }
    for (const int signal : kIgnoredSignals) {
        Saved& saved = saved_[next++];
        saved.signal = signal;
        saved.changed = sigaction(signal, &ignore, &saved.previous) == 0;
    }
}

StopSignals::~StopSignals() {
    for (const Saved& saved : saved_) {
        if (saved.changed) {
            sigaction(saved.signal, &saved.previous, nullptr);
        }
    }
    wakeWrite_.store(-1, std::memory_order_relaxed);
    // A later instance (a test's) starts from no request.
    firstSignal_ = 0;
}

} // namespace quillon::platform
