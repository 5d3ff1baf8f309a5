// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posixinputfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace quillon::platform {

namespace {
// Large enough that a read of page-cached data is dominated by copying, small enough that the
// engine's peak memory stays far below its budget.
constexpr std::size_t kReadBufferSize = 1 << 20;
// How long a read waits for a silent pipe before it looks whether the user wants to stop: short
// enough for a window that handles its events in that look to stay responsive.
constexpr int kWaitSliceMs = 10;

// read(2), taken up again when a signal merely interrupted it.
ssize_t readOnce(int fd, std::byte* to, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(fd, to, count);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}
} // namespace

BufferedInputFile::BufferedInputFile(FileDescriptor fd, std::uint64_t size)
    : fd_(std::move(fd)), size_(size),
      buffer_(std::make_unique_for_overwrite<std::byte[]>(kReadBufferSize)) {}

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
        std::memcpy(destination.data() + done, buffer_.get() + begin_, n);
        begin_ += n;
        done += n;
    }
    return done;
}

std::uint64_t BufferedInputFile::skip(std::uint64_t count) {
    const std::uint64_t inBuffer = std::min<std::uint64_t>(count, end_ - begin_);
    begin_ += static_cast<std::size_t>(inBuffer);
    const std::uint64_t rest = count - inBuffer;
    if (rest == 0) {
        return count;
    }
    // Past the buffer: move the descriptor, but never beyond the end of the file, so the count
    // passed over is the one a read would have returned.
    const off_t here = ::lseek(fd_.get(), 0, SEEK_CUR);
    if (here < 0) {
        failed_ = true;
        return inBuffer;
    }
    const std::uint64_t available =
        static_cast<std::uint64_t>(here) >= size_ ? 0 : size_ - static_cast<std::uint64_t>(here);
    const std::uint64_t step = std::min(rest, available);
    if (::lseek(fd_.get(), static_cast<off_t>(here + step), SEEK_SET) < 0) {
        failed_ = true;
        return inBuffer;
    }
    return inBuffer + step;
}

bool BufferedInputFile::seek(std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    if (::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
        return false;
    }
    begin_ = end_ = 0;
    return true;
}

long BufferedInputFile::readSome(std::byte* to, std::size_t count) {
    const ssize_t got = readOnce(fd_.get(), to, count);
    if (got < 0) {
        failed_ = true;
    } else if (got == 0) {
        // The end came before the size taken at open: the file was cut short while being read,
        // and what is missing must not pass for the end of the data.
        const off_t here = ::lseek(fd_.get(), 0, SEEK_CUR);
        failed_ = failed_ || here < 0 || static_cast<std::uint64_t>(here) < size_;
    }
    return got;
}

bool BufferedInputFile::refill() {
    const long got = readSome(buffer_.get(), kReadBufferSize);
    begin_ = 0;
    end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    return end_ > 0;
}

StreamInputFile::StreamInputFile(FileDescriptor fd, std::optional<std::uint64_t> size,
                                 InterruptCheck interrupted, bool waitForWriter)
    : fd_(std::move(fd)), size_(size), interrupted_(std::move(interrupted)),
      waitForWriter_(waitForWriter),
      buffer_(std::make_unique_for_overwrite<std::byte[]>(kReadBufferSize)) {}

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
    if (end_ == kReadBufferSize) {
        bufferStart_ += end_;
        begin_ = end_ = 0;
    }
    const long got = readSome(buffer_.get() + end_, kReadBufferSize - end_);
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
