// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filedescriptor.h"

#include <array>
#include <atomic>
#include <csignal>

namespace quillon::platform {

// Turns SIGINT, SIGTERM and SIGHUP into a request to stop at the next tag, so the file being read
// leaves no partial output and the program ends in order, instead of dying mid-file. A signal
// that whoever started the program ignores (nohup, a background job) stays ignored. A closed
// standard output and a file-size limit make the write fail (EPIPE, EFBIG) rather than end the
// process, so the row reports it and the run goes on. Both front ends hold one instance for the
// life of main().
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first stop signal received while an instance lives, or 0. Cheap enough to ask after
    // every tag.
    static int received() { return firstSignal_; }

    // Becomes readable when a stop signal arrives, so an event loop that sleeps can wake for it;
    // -1 when no pipe could be had.
    int wakeDescriptor() const { return wakeRead_.get(); }

private:
    static void onStopSignal(int signal);

    struct Saved {
        int signal = 0;
        bool changed = false;
        struct sigaction previous {};
    };

    // A signal handler can reach nothing else: the one piece of process-wide state in the
    // program, with the pipe's end it writes to.
    static inline volatile std::sig_atomic_t firstSignal_ = 0;
    static inline std::atomic<int> wakeWrite_{-1};

    FileDescriptor wakeRead_;
    FileDescriptor wakeWriteEnd_;
    std::array<Saved, 5> saved_{};
};

} // namespace quillon::platform
