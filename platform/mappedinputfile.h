// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filedescriptor.h"
#include "platform/filesystem.h"
#include "platform/mappingworker.h"

namespace quillon::platform {

// Reads straight out of a mapping of the file: passing over data costs nothing, and only what is
// read is copied. Only a window of the file is mapped at a time, so the process never holds more
// than a few windows of it, however large it is; the window after the current one is mapped
// ahead and made present on a second thread. A file that shrinks while mapped makes reads fail
// instead of crashing. Where the system refuses a mapping (some file systems do, and so does a
// process short of address space) the file is read with plain reads instead.
class MappedInputFile final : public InputFile {
public:
    // Without `mappable` every mapping fails, as on a file system that refuses them.
    MappedInputFile(FileDescriptor fd, std::uint64_t size, bool mappable = true)
        : fd_(std::move(fd)), size_(size), mappable_(mappable) {}
    ~MappedInputFile() override;
    MappedInputFile(const MappedInputFile&) = delete;
    MappedInputFile& operator=(const MappedInputFile&) = delete;

    std::size_t read(std::span<std::byte> destination) override;
    std::uint64_t skip(std::uint64_t count) override;
    bool seek(std::uint64_t offset) override;
    std::optional<std::uint64_t> size() const override { return size_; }
    bool failed() const override { return failed_; }

private:
    struct Window {
        const std::byte* data = nullptr;
        std::uint64_t offset = 0;
        std::uint64_t length = 0;

        bool holds(std::uint64_t at) const {
            return data != nullptr && at >= offset && at < offset + length;
        }
    };

    Window mapWindow(std::uint64_t start) const;
    void release(Window& window);
    bool moveTo(std::uint64_t offset);
    std::size_t readPlain(std::span<std::byte> destination);
    void confirmSizeAtTheEnd();

    FileDescriptor fd_;
    std::uint64_t size_;
    std::uint64_t offset_ = 0;
    Window current_;
    Window next_;
    bool mappable_;
    bool failed_ = false;
    bool sizeConfirmed_ = false;
    bool mappingRefused_ = false;
    // Declared last: destroyed first, so everything queued is done before the rest goes.
    MappingWorker worker_;
};

} // namespace quillon::platform
