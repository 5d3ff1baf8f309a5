// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/guardedcopy.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace quillon::platform {

namespace {

// The copy in progress on this thread, if any. A bus error is a synchronous signal, delivered to
// the thread that touched the page, so a per-thread pointer is enough.
thread_local sigjmp_buf* volatile activeCopy = nullptr;
struct sigaction previousAction {};

void onBusError(int signal, siginfo_t* info, void* context) {
    if (activeCopy != nullptr) {
        siglongjmp(*activeCopy, 1);
    }
    // Not ours: behave as if this handler had never been installed.
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandlerOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        // SA_NODEFER: the jump out of the handler skips the usual unblocking on return.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &previousAction);
    });
}

} // namespace

bool guardedCopy(void* to, const void* from, std::size_t count) {
    installHandlerOnce();
    sigjmp_buf jump;
    if (sigsetjmp(jump, 0) != 0) {
        activeCopy = nullptr;
        return false;
    }
    activeCopy = &jump;
    // The handler must see the guard before the copy starts and until it has ended.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(to, from, count);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    activeCopy = nullptr;
    return true;
}

} // namespace quillon::platform
