#pragma once

#include "platform/filesystem.h"

namespace quillon::platform {

// The real file layer over POSIX descriptors. Reads and writes go through a buffer in user space,
// so the reader's small per-tag reads cost no system call each.
class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> openForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> createNew(const std::string& path) override;
    std::unique_ptr<OutputFile> createAlways(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool regularFileExists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    bool changeCurrentDirectory(const std::string& path) override;
};

} // namespace quillon::platform
