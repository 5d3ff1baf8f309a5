// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filedescriptor.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillon::platform {

// Removes files on helper threads, so that what a removal costs overlaps the work that follows.
// Freeing a file's blocks can be slow: ext4 without a journal, mounted with `discard`, waits for
// the disk to discard them, about 3 ms for a small file; several removals at once take barely
// longer than one, hence a few threads. Purely a speed measure: where no thread can be had a file
// is removed at once, and everything handed over is removed before the remover is gone.
class FileRemover {
public:
    FileRemover() = default;
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

    static constexpr std::size_t kMaxThreads = 8;
    // Each waiting removal holds a descriptor: a caller far ahead waits rather than running out.
    static constexpr std::size_t kMaxPending = 64;

    bool startThread();
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Removal> pending_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

} // namespace quillon::platform
