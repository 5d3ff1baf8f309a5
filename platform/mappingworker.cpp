#include "platform/mappingworker.h"

#include <sys/mman.h>

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
    enqueue({const_cast<void*>(address), length, false});
}

void MappingWorker::unmap(const void* address, std::size_t length) {
    enqueue({const_cast<void*>(address), length, true});
}

void MappingWorker::enqueue(Task task) {
    {
        std::unique_lock lock(mutex_);
        // A reader that outruns the worker waits rather than letting mapped windows pile up:
        // each one still counts against the process's memory until it is unmapped.
        changed_.wait(lock, [this] { return tasks_.size() < kMaxPending; });
        tasks_.push_back(task);
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { work(); });
        }
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
