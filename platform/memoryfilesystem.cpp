// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/memoryfilesystem.h"

#include "platform/pathparts.h"
#include "platform/temporaryname.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quillon::platform {

namespace {

class MemoryInputFile final : public InputFile {
public:
    explicit MemoryInputFile(std::shared_ptr<const MemoryFileSystem::Bytes> bytes)
        : bytes_(std::move(bytes)) {}

    std::size_t read(std::span<std::byte> destination) override {
        const std::size_t n = static_cast<std::size_t>(skip(destination.size()));
        if (n > 0) {
            std::memcpy(destination.data(), bytes_->data() + (offset_ - n), n);
        }
        return n;
    }

    std::uint64_t skip(std::uint64_t count) override {
        const std::uint64_t available = offset_ >= bytes_->size() ? 0 : bytes_->size() - offset_;
        const std::uint64_t n = std::min(count, available);
        offset_ += n;
        return n;
    }

    bool seek(std::uint64_t offset) override {
        offset_ = offset;
        return true;
    }

    std::optional<std::uint64_t> size() const override { return bytes_->size(); }
    bool failed() const override { return false; }

private:
    std::shared_ptr<const MemoryFileSystem::Bytes> bytes_;
    std::uint64_t offset_ = 0;
};

class MemoryOutputFile final : public OutputFile {
public:
    MemoryOutputFile(MemoryFileSystem& files, std::string temporaryPath, std::string finalPath)
        : files_(files), temporaryPath_(std::move(temporaryPath)),
          finalPath_(std::move(finalPath)) {
        files_.addFile(temporaryPath_, {});
    }
    ~MemoryOutputFile() override {
        if (!committed_) {
            files_.removeFile(temporaryPath_);
        }
    }
    MemoryOutputFile(const MemoryOutputFile&) = delete;
    MemoryOutputFile& operator=(const MemoryOutputFile&) = delete;

    bool write(std::span<const std::byte> bytes) override {
        MemoryFileSystem::Bytes* body = this->body();
        if (body == nullptr) {
            return fail();
        }
        body->insert(body->end(), bytes.begin(), bytes.end());
        return true;
    }
    bool writeAt(std::uint64_t offset, std::span<const std::byte> bytes) override {
        MemoryFileSystem::Bytes* body = this->body();
        if (body == nullptr || offset > body->size() || bytes.size() > body->size() - offset) {
            return fail();
        }
        std::copy(bytes.begin(), bytes.end(), body->begin() + static_cast<std::ptrdiff_t>(offset));
        return true;
    }
    bool dropFront(std::uint64_t count) override {
        MemoryFileSystem::Bytes* body = this->body();
        if (body == nullptr || count > body->size()) {
            return fail();
        }
        body->erase(body->begin(), body->begin() + static_cast<std::ptrdiff_t>(count));
        return true;
    }
    bool commit() override {
        committed_ = body() != nullptr && files_.renameFile(temporaryPath_, finalPath_);
        return committed_ || fail();
    }
    bool failed() const override { return failed_; }

private:
    // The file's content while it still stands under its temporary name, and nothing once a call
    // failed; a test may remove it.
    MemoryFileSystem::Bytes* body() { return failed_ ? nullptr : files_.file(temporaryPath_); }
    bool fail() {
        failed_ = true;
        return false;
    }

    MemoryFileSystem& files_;
    std::string temporaryPath_;
    std::string finalPath_;
    bool committed_ = false;
    bool failed_ = false;
};

} // namespace

void MemoryFileSystem::addFile(const std::string& path, Bytes content) {
    files_[path] = std::make_shared<Bytes>(std::move(content));
}

void MemoryFileSystem::addFolder(const std::string& path) {
    folders_.insert(path);
}

const MemoryFileSystem::Bytes* MemoryFileSystem::file(const std::string& path) const {
    const auto it = files_.find(path);
    return it == files_.end() ? nullptr : it->second.get();
}

MemoryFileSystem::Bytes* MemoryFileSystem::file(const std::string& path) {
    const auto it = files_.find(path);
    return it == files_.end() ? nullptr : it->second.get();
}

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(const std::string& path) {
    const auto it = files_.find(path);
    if (it == files_.end()) {
        errno = ENOENT;
        return nullptr;
    }
    return std::make_unique<MemoryInputFile>(it->second);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createOutput(const std::string& path) {
    const PathParts parts = splitPath(path);
    if (parts.name.empty()) {
        return nullptr;
    }
    const std::string unique = std::to_string(100000 + ++outputsStarted_);
    return std::make_unique<MemoryOutputFile>(
        *this, parts.folder + temporaryNameFor(parts.name, unique), path);
}

bool MemoryFileSystem::renameFile(const std::string& from, const std::string& to) {
    const auto it = files_.find(from);
    if (it == files_.end()) {
        return false;
    }
    // An open reader keeps the old content alive, as a replaced file's does on disk.
    auto body = it->second;
    files_.erase(it);
    files_[to] = std::move(body);
    return true;
}

bool MemoryFileSystem::removeFile(const std::string& path) {
    return files_.erase(path) > 0;
}

bool MemoryFileSystem::regularFileExists(const std::string& path) {
    return files_.contains(path);
}

bool MemoryFileSystem::sameFile(const std::string& a, const std::string& b) {
    return a == b && files_.contains(a);
}

std::error_code MemoryFileSystem::checkOutputFolder(const std::string& path) {
    if (folders_.contains(path)) {
        return {};
    }
    return std::make_error_code(files_.contains(path) ? std::errc::not_a_directory
                                                      : std::errc::no_such_file_or_directory);
}

} // namespace quillon::platform
