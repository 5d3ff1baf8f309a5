// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filesystem.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace quillon::platform {

// A file system held in memory: the fuzzer and the tests feed the engine bytes through it without
// touching the disk. Paths are plain keys; folders exist only when added (and need not be added
// to hold files). An output in progress is listed under its temporary name, as on disk.
class MemoryFileSystem final : public FileSystem {
public:
    using Bytes = std::vector<std::byte>;

    void addFile(const std::string& path, Bytes content);
    void addFolder(const std::string& path);
    // The content of a file, or nullptr when there is none of that name.
    const Bytes* file(const std::string& path) const;
    Bytes* file(const std::string& path);
    std::size_t fileCount() const { return files_.size(); }

    std::unique_ptr<InputFile> openForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> createOutput(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool regularFileExists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    std::error_code checkOutputFolder(const std::string& path) override;

    // Gives a file a new name, replacing whatever had that name; false when `from` is missing.
    bool renameFile(const std::string& from, const std::string& to);

private:
    std::map<std::string, std::shared_ptr<Bytes>> files_;
    std::set<std::string> folders_;
    int outputsStarted_ = 0;
};

} // namespace quillon::platform
