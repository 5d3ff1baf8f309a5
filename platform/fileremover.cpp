// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileremover.h"

#include <fcntl.h>
#include <new>
#include <system_error>
#include <unistd.h>

namespace quillon::platform {

FileRemover::~FileRemover() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void FileRemover::remove(FileDescriptor folder, std::string name) noexcept {
    Removal removal{std::move(folder), std::move(name)};
    if (slowRemovals_.load(std::memory_order_relaxed) < slowRemovalsBeforeThreads_) {
        if (removeHere(removal)) {
            slowRemovals_.fetch_add(1, std::memory_order_relaxed);
        }
        return;
    }
    try {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return pending_.size() < kMaxPending; });
        if (idle_ > 0 || startThread()) {
            pending_.push_back(std::move(removal));
            lock.unlock();
            changed_.notify_all();
            return;
        }
    } catch (const std::bad_alloc&) {
        // No room to hand it over (a failed push leaves it as it was): removed here instead.
    } catch (const std::system_error&) {
    }
    removeHere(removal);
}

// Removes the file at once. True when that was slow.
bool FileRemover::removeHere(const Removal& removal) noexcept {
    const auto start = std::chrono::steady_clock::now();
    ::unlinkat(removal.folder.get(), removal.name.c_str(), 0);
    return std::chrono::steady_clock::now() - start >= kSlowRemoval;
}

// Called with the lock held. True when a thread is there to take the removal.
bool FileRemover::startThread() {
    if (threads_.size() >= kMaxThreads) {
        return !threads_.empty();
    }
    try {
        threads_.emplace_back([this] { work(); });
        ++idle_;
        return true;
    } catch (const std::system_error&) {
        // Out of threads or of memory for a stack: the ones there are, if any, do the work.
        return !threads_.empty();
    }
}

void FileRemover::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !pending_.empty() || stopping_; });
        if (pending_.empty()) {
            return; // stopping, and everything handed over is removed
        }
        Removal removal = std::move(pending_.front());
        pending_.pop_front();
        --idle_;
        lock.unlock();
        changed_.notify_all();
        ::unlinkat(removal.folder.get(), removal.name.c_str(), 0);
        removal.folder.close();
        lock.lock();
        ++idle_;
    }
}

} // namespace quillon::platform
