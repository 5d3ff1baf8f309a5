// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/readpathprobe.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace quillon::platform {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kProbeBytes = kReadPathProbeBytes;
// The better of two rounds: the first may find the file on the disk, the buffer untouched, or be
// preempted.
constexpr int kRounds = 2;

// Maps the start of the file, reads a byte of each page as the reader's copies would, and unmaps
// it again.
Clock::duration timeMappedRead(int fd, std::size_t pageSize) {
    const auto start = Clock::now();
    void* data = ::mmap(nullptr, kProbeBytes, PROT_READ, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        return Clock::duration::max();
    }
    const auto* bytes = static_cast<const volatile unsigned char*>(data);
    for (std::size_t at = 0; at < kProbeBytes; at += pageSize) {
        static_cast<void>(bytes[at]);
    }
    ::munmap(data, kProbeBytes);
    return Clock::now() - start;
}

Clock::duration timePlainRead(int fd, std::byte* buffer) {
    const auto start = Clock::now();
    if (::pread(fd, buffer, kProbeBytes, 0) != static_cast<ssize_t>(kProbeBytes)) {
        return Clock::duration::max();
    }
    return Clock::now() - start;
}

} // namespace

bool mappedReadsAreFaster(int fd) {
    const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const auto buffer = std::make_unique_for_overwrite<std::byte[]>(kProbeBytes);
    auto mapped = Clock::duration::max();
    auto plain = Clock::duration::max();
    for (int round = 0; round < kRounds; ++round) {
        // Plain reads first: if the file is not in memory yet, they bring it in for both.
        plain = std::min(plain, timePlainRead(fd, buffer.get()));
        mapped = std::min(mapped, timeMappedRead(fd, pageSize));
    }
    return plain != Clock::duration::max() && mapped < plain;
}

} // namespace quillon::platform
