// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mappedinputfile.h"

#include "platform/guardedcopy.h"

#include <algorithm>
#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::platform {

namespace {

// Small enough that the few windows alive at once stay far inside the engine's memory budget,
// big enough that moving from one to the next costs nothing measurable.
constexpr std::uint64_t kWindowSize = 4 << 20;

std::uint64_t pageSize() {
    static const auto size = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

} // namespace

MappedInputFile::~MappedInputFile() {
    release(current_);
    release(next_);
}

std::size_t MappedInputFile::read(std::span<std::byte> destination) {
    std::size_t done = 0;
    while (!failed_ && done < destination.size() && offset_ < size_) {
        if (mappingRefused_ || (!current_.holds(offset_) && !moveTo(offset_))) {
            mappingRefused_ = true;
            done += readPlain(destination.subspan(done));
            break;
        }
        const std::uint64_t inWindow = current_.offset + current_.length - offset_;
        const auto n = static_cast<std::size_t>(
            std::min<std::uint64_t>({destination.size() - done, inWindow, size_ - offset_}));
        if (!guardedCopy(destination.data() + done, current_.data + (offset_ - current_.offset),
                         n)) {
            failed_ = true;
            break;
        }
        offset_ += n;
        done += n;
    }
    if (offset_ >= size_ && !sizeConfirmed_) {
        confirmSizeAtTheEnd();
    }
    return done;
}

std::uint64_t MappedInputFile::skip(std::uint64_t count) {
    const std::uint64_t n = failed_ || offset_ >= size_ ? 0 : std::min(count, size_ - offset_);
    offset_ += n;
    if (offset_ >= size_ && !sizeConfirmed_) {
        confirmSizeAtTheEnd();
    }
    return n;
}

bool MappedInputFile::seek(std::uint64_t offset) {
    offset_ = offset;
    return true;
}

std::size_t MappedInputFile::readPlain(std::span<std::byte> destination) {
    std::size_t done = 0;
    while (done < destination.size() && offset_ < size_) {
        const auto want = static_cast<std::size_t>(
            std::min<std::uint64_t>(destination.size() - done, size_ - offset_));
        const ssize_t got =
            ::pread(fd_.get(), destination.data() + done, want, static_cast<off_t>(offset_));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            // The end before the size taken at open: the file was cut short.
            failed_ = true;
            break;
        }
        offset_ += static_cast<std::uint64_t>(got);
        done += static_cast<std::size_t>(got);
    }
    return done;
}

MappedInputFile::Window MappedInputFile::mapWindow(std::uint64_t start) const {
    if (!mappable_) {
        return {};
    }
    const std::uint64_t length = std::min(kWindowSize, size_ - start);
    void* data = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_SHARED, fd_.get(),
                        static_cast<off_t>(start));
    if (data == MAP_FAILED) {
        return {};
    }
    return {static_cast<const std::byte*>(data), start, length};
}

void MappedInputFile::release(Window& window) {
    if (window.data != nullptr) {
        worker_.unmap(window.data, static_cast<std::size_t>(window.length));
        window = {};
    }
}

bool MappedInputFile::moveTo(std::uint64_t offset) {
    // Only a reader going straight on gains from the window after this one; one that jumps far
    // (past a huge tag, say) would have it made present for nothing.
    const bool firstWindow = current_.data == nullptr && next_.data == nullptr;
    const bool justPastCurrent = current_.data != nullptr &&
                                 offset >= current_.offset + current_.length &&
                                 offset < current_.offset + current_.length + kWindowSize;
    const bool streaming = firstWindow || justPastCurrent;
    release(current_);
    if (next_.holds(offset)) {
        current_ = std::exchange(next_, Window{});
    } else {
        release(next_);
        current_ = mapWindow(offset - offset % pageSize());
        if (current_.data == nullptr) {
            return false;
        }
    }
    const std::uint64_t nextStart = current_.offset + current_.length;
    if (streaming && nextStart < size_) {
        next_ = mapWindow(nextStart);
        if (next_.data != nullptr) {
            worker_.populate(next_.data, static_cast<std::size_t>(next_.length));
        }
    }
    return true;
}

// If the file shrank, the page holding its new end reads as zeros past that end instead of
// faulting, and any later page faults. Zeros can therefore only go unnoticed when nothing is read
// after them: once the reader has come to the end, the size is confirmed.
void MappedInputFile::confirmSizeAtTheEnd() {
    sizeConfirmed_ = true;
    if (failed_) {
        return;
    }
    struct stat info {};
    failed_ = ::fstat(fd_.get(), &info) != 0 || static_cast<std::uint64_t>(info.st_size) < size_;
}

} // namespace quillon::platform
