// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

namespace quillon::platform {

// Does the page-table work of a file mapping on a second thread: makes the pages of a range that
// the reader will come to present ahead of it, and unmaps ranges it has left behind. Both cost
// time in proportion to the pages involved, and on a second core that time is free. Purely a
// speed measure: a range that cannot be made present reads the same, only slower. The thread
// starts only when there is a range to make present, so a file that fits in one window never
// starts one; where no thread can be had, ranges are unmapped at once and nothing is made present
// ahead.
class MappingWorker {
public:
    MappingWorker() = default;
    ~MappingWorker();
    MappingWorker(const MappingWorker&) = delete;
    MappingWorker& operator=(const MappingWorker&) = delete;

    void populate(const void* address, std::size_t length);
    // The range is no longer used by the caller; it is unmapped after any work queued before it.
    void unmap(const void* address, std::size_t length);

private:
    struct Task {
        void* address;
        std::size_t length;
        bool unmap;
    };

    static constexpr std::size_t kMaxPending = 2;

    void enqueue(Task task);
    bool startThread();
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    bool threadRefused_ = false;
    std::thread thread_;
};

} // namespace quillon::platform
