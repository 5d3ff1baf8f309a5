#pragma once

#include "platform/filesystem.h"

namespace quillon::platform {

// The real file layer over POSIX descriptors. Inputs are mapped into memory where the system
// allows it, so data that is only passed over is never copied; otherwise they are read through a
// buffer in user space. Outputs are buffered. Either way the reader's small per-tag reads cost no
// system call each.
class PosixFileSystem final : public FileSystem {
public:
    enum class ReadMode { Mapped, Buffered };

    explicit PosixFileSystem(ReadMode mode = ReadMode::Mapped) : mode_(mode) {}

    std::unique_ptr<InputFile> openForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> createNew(const std::string& path) override;
    std::unique_ptr<OutputFile> createAlways(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool regularFileExists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    bool changeCurrentDirectory(const std::string& path) override;

private:
    ReadMode mode_;
};

} // namespace quillon::platform
