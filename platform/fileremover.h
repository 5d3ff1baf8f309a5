// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filedescriptor.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillon::platform {

// Removes files on helper threads where removing one is slow, so that what a removal costs
// overlaps the work that follows. Freeing a file's blocks can be slow: ext4 without a journal,
// mounted with `discard`, waits for the disk to discard them, 0.1 ms for a small file and 10 ms for
// 31 MB; several removals at once take barely longer than one, hence a few threads. Elsewhere a
// removal takes a few microseconds, less than handing it to a thread, so files are removed at once
// until a few removals have been slow. Purely a speed measure: where no thread can be had a file is
// removed at once, and everything handed over is removed before the remover is gone.
class FileRemover {
public:
    // `slowRemovalsBeforeThreads` slow removals in place come before the first hand-over.
    explicit FileRemover(int slowRemovalsBeforeThreads = 3)
        : slowRemovalsBeforeThreads_(slowRemovalsBeforeThreads) {}
    ~FileRemover();
    FileRemover(const FileRemover&) = delete;
    FileRemover& operator=(const FileRemover&) = delete;

    // Removes `name` in `folder`, now or soon.
    void remove(FileDescriptor folder, std::string name) noexcept;

private:
    struct Removal {
        FileDescriptor folder;
        std::string name;
    };

    // A removal slower than this costs more than handing it over (15 us a file here, on a machine
    // whose system calls are dear); on tmpfs or a journalled ext4 one takes 5 to 10 us. Several
    // must be slow, so that one that was merely preempted does not decide.
    static constexpr std::chrono::microseconds kSlowRemoval{50};
    static constexpr std::size_t kMaxThreads = 8;
    // Each waiting removal holds a descriptor: a caller far ahead waits rather than running out.
    static constexpr std::size_t kMaxPending = 64;

    bool removeHere(const Removal& removal) noexcept;
    bool startThread();
    void work();

    const int slowRemovalsBeforeThreads_;
    std::atomic<int> slowRemovals_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Removal> pending_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

} // namespace quillon::platform
