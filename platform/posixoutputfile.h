// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/bufferpool.h"
#include "platform/filedescriptor.h"
#include "platform/fileremover.h"
#include "platform/filesystem.h"

#include <functional>
#include <string>

namespace quillon::platform {

// An output written under a temporary name in its folder and renamed onto its final name when
// committed. Both names are used relative to the open folder, so neither the length of the full
// path nor a rename of a folder above it can send the file anywhere else.
class PosixOutputFile final : public OutputFile {
public:
    // The unique part of a temporary name: random, unless a test must know it beforehand.
    using UniqueTags = std::function<std::string()>;

    // Creates the temporary file exclusively, never through a link; null when the folder takes no
    // new file. An older file that the commit replaces is handed to `remover`, if given, instead
    // of being removed by the commit itself. The write buffer comes from `buffers`, if given.
    static std::unique_ptr<PosixOutputFile> create(const std::string& path,
                                                   std::shared_ptr<FileRemover> remover = {},
                                                   UniqueTags tags = {},
                                                   std::shared_ptr<BufferPool> buffers = {});
    ~PosixOutputFile() override;
    PosixOutputFile(const PosixOutputFile&) = delete;
    PosixOutputFile& operator=(const PosixOutputFile&) = delete;

    bool write(std::span<const std::byte> bytes) override;
    bool writeAt(std::uint64_t offset, std::span<const std::byte> bytes) override;
    bool readAt(std::uint64_t offset, std::span<std::byte> into) override;
    bool dropFront(std::uint64_t count) override;
    bool commit() override;
    bool failed() const override { return failed_; }

private:
    PosixOutputFile(FileDescriptor folder, std::string finalName,
                    std::shared_ptr<FileRemover> remover, UniqueTags tags,
                    std::shared_ptr<BufferPool> buffers);
    std::string uniqueTag() const;
    std::string keepOlderFile();
    bool flush();
    bool startWriteback();
    // Writes at the end of what the file holds.
    bool append(const std::byte* data, std::size_t count);
    bool writeAllAt(const std::byte* data, std::size_t count, std::uint64_t offset);
    void discard();

    FileDescriptor folder_;
    FileDescriptor fd_;
    // Empty until the temporary file exists, and again once it is gone.
    std::string temporaryName_;
    std::string finalName_;
    std::shared_ptr<FileRemover> remover_;
    UniqueTags tags_;
    PooledBuffer buffer_;
    std::size_t buffered_ = 0;
    // What the file holds, buffer_ not counted.
    std::uint64_t size_ = 0;
    bool failed_ = false;
    bool committed_ = false;
};

} // namespace quillon::platform
