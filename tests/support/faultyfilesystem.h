// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filesystem.h"

#include <cstdint>
#include <limits>
#include <string>

namespace quillon::testing {

// Passes every call to another file system but breaks on purpose: outputs refuse to be created,
// or stop taking bytes after a budget (a full disk), and inputs fail after a number of bytes.
class FaultyFileSystem final : public platform::FileSystem {
public:
    static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

    explicit FaultyFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    bool failCreates = false;
    // Outputs that can be created before every later create fails, as when the output folder is
    // removed or made read-only in the middle of a run; negative for no limit.
    int createsAllowed = -1;
    // Total bytes all outputs may take before writes fail.
    std::uint64_t writeBudget = kNever;
    // When true the failure shows only at commit, as with a buffered write.
    bool failAtCommit = false;
    // Bytes each input yields before its reads fail.
    std::uint64_t readBudget = kNever;
    // When set, only the input of this path has the read budget; the others read normally.
    std::string readFaultPath;
    // Inputs show no size, as a pipe does.
    bool hideSizes = false;

    std::unique_ptr<platform::InputFile> openForReading(const std::string& path) override;
    std::unique_ptr<platform::OutputFile> createOutput(const std::string& path) override;
    bool removeFile(const std::string& path) override { return inner_.removeFile(path); }
    bool regularFileExists(const std::string& path) override {
        return inner_.regularFileExists(path);
    }
    bool sameFile(const std::string& a, const std::string& b) override {
        return inner_.sameFile(a, b);
    }
    std::error_code checkOutputFolder(const std::string& path) override {
        return inner_.checkOutputFolder(path);
    }

private:
    platform::FileSystem& inner_;
};

} // namespace quillon::testing
