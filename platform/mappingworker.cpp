// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mappingworker.h"

#include <sys/mman.h>
#include <system_error>

namespace quillon::platform {

MappingWorker::~MappingWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void MappingWorker::populate(const void* address, std::size_t length) {
    if (thread_.joinable() || startThread()) {
        enqueue({const_cast<void*>(address), length, false});
    }
}

void MappingWorker::unmap(const void* address, std::size_t length) {
    if (thread_.joinable()) {
        enqueue({const_cast<void*>(address), length, true});
    } else {
        ::munmap(const_cast<void*>(address), length);
    }
}

bool MappingWorker::startThread() {
    if (threadRefused_) {
        return false;
    }
    try {
        thread_ = std::thread([this] { work(); });
        return true;
    } catch (const std::system_error&) {
        // Out of threads or of memory for a stack: the reader goes on alone.
        threadRefused_ = true;
        return false;
    }
}

void MappingWorker::enqueue(Task task) {
    {
        std::unique_lock lock(mutex_);
        // A reader that outruns the worker waits rather than letting mapped windows pile up:
        // each one still counts against the process's memory until it is unmapped.
        changed_.wait(lock, [this] { return tasks_.size() < kMaxPending; });
        tasks_.push_back(task);
    }
    changed_.notify_all();
}

void MappingWorker::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !tasks_.empty() || stopping_; });
        if (tasks_.empty()) {
            return; // stopping, and everything queued is done
        }
        const Task task = tasks_.front();
        tasks_.pop_front();
        lock.unlock();
        changed_.notify_all();
        if (task.unmap) {
            ::munmap(task.address, task.length);
        } else {
            // Fails without a signal for pages past a shrunken end; the reader then meets them
            // itself and its guarded copy reports the failure.
            ::madvise(task.address, task.length, MADV_POPULATE_READ);
        }
        lock.lock();
    }
}

} // namespace quillon::platform
