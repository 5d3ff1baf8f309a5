// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posixinputfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace quillon::platform {

namespace {
constexpr std::size_t kReadBufferSize = PooledBuffer::size();
// A stream keeps its first buffer's worth at hand for a seek back into the start of the input.
constexpr std::size_t kStreamBufferSize = 1 << 20;
// How long a read waits for a silent pipe before it looks whether the user wants to stop: short
// enough for a window that handles its events in that look to stay responsive.
constexpr int kWaitSliceMs = 10;

// read(2), or pread(2) at `at`, taken up again when a signal merely interrupted it.
ssize_t readOnce(int fd, std::byte* to, std::size_t count, std::optional<std::uint64_t> at = {}) {
    for (;;) {
        const ssize_t got =
            at ? ::pread(fd, to, count, static_cast<off_t>(*at)) : ::read(fd, to, count);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}
} // namespace

BufferedInputFile::BufferedInputFile(FileDescriptor fd, std::uint64_t size,
                                     std::shared_ptr<BufferPool> buffers)
    : fd_(std::move(fd)), size_(size), buffer_(std::move(buffers)) {}

std::size_t BufferedInputFile::read(std::span<std::byte> destination) {
    std::size_t done = 0;
    while (done < destination.size()) {
        if (begin_ == end_) {
            const std::size_t want = destination.size() - done;
            // A big request goes straight into the destination: copying it through the buffer
            // would only cost time.
            if (want >= kReadBufferSize) {
                const long got = readSome(destination.data() + done, want);
                if (got <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(got);
                continue;
            }
            if (!refill()) {
                break;
            }
        }
        const std::size_t n = std::min(end_ - begin_, destination.size() - done);
        std::memcpy(destination.data() + done, buffer_.data() + begin_, n);
        begin_ += n;
        done += n;
    }
    return done;
}

std::span<const std::byte> BufferedInputFile::readInPlace(std::size_t count) {
    // Only an empty buffer is filled again: one that holds a part would have to keep it.
    if (begin_ == end_ && count <= kReadBufferSize) {
        refill();
    }
    if (end_ - begin_ < count) {
        return {};
    }
    const std::span<const std::byte> bytes(buffer_.data() + begin_, count);
    begin_ += count;
    return bytes;
}

std::uint64_t BufferedInputFile::skip(std::uint64_t count) {
    const std::uint64_t inBuffer = std::min<std::uint64_t>(count, end_ - begin_);
    begin_ += static_cast<std::size_t>(inBuffer);
    // Past the buffer the next read simply starts further on, but never beyond the end of the
    // file, so the count passed over is the one a read would have returned.
    const std::uint64_t step = std::min(count - inBuffer, size_ > offset_ ? size_ - offset_ : 0);
    offset_ += step;
    return inBuffer + step;
}

bool BufferedInputFile::seek(std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    offset_ = offset;
    begin_ = end_ = 0;
    return true;
}

long BufferedInputFile::readSome(std::byte* to, std::size_t count) {
    const ssize_t got = readOnce(fd_.get(), to, count, offset_);
    if (got < 0) {
        failed_ = true;
        return got;
    }
    // An end before the size taken at open: the file was cut short while being read, and what
    // is missing must not pass for the end of the data.
    failed_ = failed_ || (got == 0 && offset_ < size_);
    offset_ += static_cast<std::uint64_t>(got);
    return got;
}

bool BufferedInputFile::refill() {
    const long got = readSome(buffer_.data(), kReadBufferSize);
    begin_ = 0;
    end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    return end_ > 0;
}

StreamInputFile::StreamInputFile(FileDescriptor fd, std::optional<std::uint64_t> size,
                                 InterruptCheck interrupted, bool waitForWriter)
    : fd_(std::move(fd)), size_(size), interrupted_(std::move(interrupted)),
      waitForWriter_(waitForWriter),
      buffer_(std::make_unique_for_overwrite<std::byte[]>(kStreamBufferSize)) {}

std::size_t StreamInputFile::read(std::span<std::byte> destination) {
    std::size_t done = 0;
    while (done < destination.size() && (begin_ < end_ || refill())) {
        const std::size_t n = std::min(end_ - begin_, destination.size() - done);
        std::memcpy(destination.data() + done, buffer_.get() + begin_, n);
        begin_ += n;
        done += n;
    }
    return done;
}

std::uint64_t StreamInputFile::skip(std::uint64_t count) {
    std::uint64_t done = 0;
    while (done < count && (begin_ < end_ || refill())) {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(end_ - begin_, count - done));
        begin_ += n;
        done += n;
    }
    return done;
}

bool StreamInputFile::seek(std::uint64_t offset) {
    if (offset >= bufferStart_ && offset - bufferStart_ <= end_) {
        begin_ = static_cast<std::size_t>(offset - bufferStart_);
        return true;
    }
    // Forward by reading what lies between; what has left the buffer cannot be had again.
    if (offset < position()) {
        return false;
    }
    const std::uint64_t distance = offset - position();
    return skip(distance) == distance;
}

bool StreamInputFile::refill() {
    if (ended_ || failed_) {
        return false;
    }
    // The buffer fills up before it starts over, so the start of the input stays at hand.
    if (end_ == kStreamBufferSize) {
        bufferStart_ += end_;
        begin_ = end_ = 0;
    }
    const long got = readSome(buffer_.get() + end_, kStreamBufferSize - end_);
    if (got <= 0) {
        ended_ = true;
        if (got == 0 && size_ && position() < *size_) {
            failed_ = true; // a device that ends before the size it claimed
        }
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

long StreamInputFile::readSome(std::byte* to, std::size_t count) {
    for (;;) {
        const ssize_t got = readOnce(fd_.get(), to, count);
        if (got > 0 || (got == 0 && endIsReal())) {
            return got;
        }
        if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            failed_ = true;
            return -1;
        }
        if (interrupted_ && interrupted_()) {
            failed_ = true;
            return -1;
        }
        // Opened without blocking, so that a pipe without a writer cannot hang the open: wait
        // here instead, a slice at a time, for data, a writer or the writer's leaving.
        pollfd wait{fd_.get(), POLLIN, 0};
        ::poll(&wait, 1, kWaitSliceMs);
    }
}

// A named pipe reads as ended whenever no writer has it open, also before the first one came.
// Only a writer that has come and gone (a hang-up, with nothing left to read) ends it.
bool StreamInputFile::endIsReal() const {
    if (!waitForWriter_) {
        return true;
    }
    pollfd look{fd_.get(), POLLIN, 0};
    return ::poll(&look, 1, 0) == 1 && (look.revents & (POLLIN | POLLHUP)) == POLLHUP;
}

} // namespace quillon::platform
