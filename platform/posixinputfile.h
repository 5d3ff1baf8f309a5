// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/bufferpool.h"
#include "platform/filedescriptor.h"
#include "platform/filesystem.h"

#include <functional>
#include <memory>

namespace quillon::platform {

// Tells a read that waits for a slow source (a pipe, or a named pipe's writer) that the user wants
// to stop. Asked every few milliseconds while nothing arrives, so a window may handle its events
// in it.
using InterruptCheck = std::function<bool()>;

// A regular file read through a buffer in user space, for where mapping is not wanted or dear.
// Skips past the buffer cost no system call: each read says where it starts. Big reads go straight
// into the destination.
class BufferedInputFile final : public InputFile {
public:
    // The buffer comes from `buffers`, if given, and goes back there.
    BufferedInputFile(FileDescriptor fd, std::uint64_t size,
                      std::shared_ptr<BufferPool> buffers = {});

    std::size_t read(std::span<std::byte> destination) override;
    std::span<const std::byte> readInPlace(std::size_t count) override;
    std::uint64_t skip(std::uint64_t count) override;
    bool seek(std::uint64_t offset) override;
    std::optional<std::uint64_t> size() const override { return size_; }
    bool failed() const override { return failed_; }

private:
    long readSome(std::byte* to, std::size_t count);
    bool refill();

    FileDescriptor fd_;
    std::uint64_t size_;
    PooledBuffer buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    // The file offset just past what the buffer holds: where the next read starts.
    std::uint64_t offset_ = 0;
    bool failed_ = false;
};

// Anything read strictly in order, to its end: a pipe, a character or block device. Passing over
// data means reading it. The first buffer's worth stays at hand, so a seek back into the start of
// the input (a data offset pointing into the file header) works as on a file.
class StreamInputFile final : public InputFile {
public:
    // `size` is known for a block device only. A named pipe opened before anyone writes to it
    // shows an end that is not one: with `waitForWriter` the reader waits for a writer to come,
    // as a blocking open would, and ends only when the writers have gone.
    StreamInputFile(FileDescriptor fd, std::optional<std::uint64_t> size,
                    InterruptCheck interrupted, bool waitForWriter = false);

    std::size_t read(std::span<std::byte> destination) override;
    std::uint64_t skip(std::uint64_t count) override;
    bool seek(std::uint64_t offset) override;
    std::optional<std::uint64_t> size() const override { return size_; }
    bool failed() const override { return failed_; }

private:
    std::uint64_t position() const { return bufferStart_ + begin_; }
    bool refill();
    long readSome(std::byte* to, std::size_t count);
    bool endIsReal() const;

    FileDescriptor fd_;
    std::optional<std::uint64_t> size_;
    InterruptCheck interrupted_;
    bool waitForWriter_;
    std::unique_ptr<std::byte[]> buffer_;
    // The input offset of buffer_[0]; buffer_[0, end_) holds data, buffer_[begin_] is next.
    std::uint64_t bufferStart_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

} // namespace quillon::platform
