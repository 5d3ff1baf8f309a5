#include "platform/memoryfilesystem.h"

#include <algorithm>
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

    std::uint64_t size() const override { return bytes_->size(); }
    bool failed() const override { return false; }

private:
    std::shared_ptr<const MemoryFileSystem::Bytes> bytes_;
    std::uint64_t offset_ = 0;
};

class MemoryOutputFile final : public OutputFile {
public:
    explicit MemoryOutputFile(std::shared_ptr<MemoryFileSystem::Bytes> bytes)
        : bytes_(std::move(bytes)) {}

    bool write(std::span<const std::byte> bytes) override {
        bytes_->insert(bytes_->end(), bytes.begin(), bytes.end());
        return true;
    }
    bool close() override { return true; }

private:
    std::shared_ptr<MemoryFileSystem::Bytes> bytes_;
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

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(const std::string& path) {
    const auto it = files_.find(path);
    if (it == files_.end()) {
        return nullptr;
    }
    return std::make_unique<MemoryInputFile>(it->second);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createNew(const std::string& path) {
    if (files_.contains(path)) {
        return nullptr;
    }
    return createAlways(path);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createAlways(const std::string& path) {
    // An open reader keeps the old content alive: replacing a file gives it a new body, as a
    // truncating create does on disk.
    auto body = std::make_shared<Bytes>();
    files_[path] = body;
    return std::make_unique<MemoryOutputFile>(body);
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

bool MemoryFileSystem::changeCurrentDirectory(const std::string& path) {
    return folders_.contains(path);
}

} // namespace quillon::platform
