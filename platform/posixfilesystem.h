// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/fileremover.h"
#include "platform/filesystem.h"
#include "platform/posixinputfile.h"

namespace quillon::platform {

// The real file layer over POSIX descriptors. Regular files are mapped into memory, so data that
// is only passed over is never copied, or read into a buffer where that is faster (where page
// faults are dear) or mapping is refused; anything else (a pipe, a device) is read to its end with
// plain reads. Outputs are buffered, written under a temporary name and renamed when whole.
// Either way the reader's small per-tag reads cost no system call each.
class PosixFileSystem final : public FileSystem {
public:
    // Fastest chooses between Mapped and Buffered by measuring both on the first file large
    // enough to tell, and keeps that choice. Streamed reads regular files as the other kinds of
    // input are read; the tests and the fuzzer use the fixed modes to reach each reader.
    enum class ReadMode { Fastest, Mapped, Buffered, Streamed };

    explicit PosixFileSystem(ReadMode mode = ReadMode::Fastest, InterruptCheck interrupted = {})
        : mode_(mode), interrupted_(std::move(interrupted)) {}

    std::unique_ptr<InputFile> openForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> createOutput(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool regularFileExists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    std::error_code checkOutputFolder(const std::string& path) override;

private:
    ReadMode mode_;
    // Fastest's choice, once made.
    std::optional<bool> mappedIsFaster_;
    InterruptCheck interrupted_;
    // Takes the older files that outputs replace, for all outputs of this file system.
    std::shared_ptr<FileRemover> remover_ = std::make_shared<FileRemover>();
    // Buffers for the files this file system opens and creates, kept from one file to the next.
    std::shared_ptr<BufferPool> buffers_ = std::make_shared<BufferPool>();
};

} // namespace quillon::platform
