// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultyfilesystem.h"

#include <algorithm>

namespace quillon::testing {

namespace {

class FaultyInput final : public platform::InputFile {
public:
    FaultyInput(std::unique_ptr<platform::InputFile> inner, std::uint64_t budget, bool hideSize)
        : inner_(std::move(inner)), budget_(budget), hideSize_(hideSize) {}

    std::size_t read(std::span<std::byte> destination) override {
        const auto allowed =
            static_cast<std::size_t>(std::min<std::uint64_t>(destination.size(), budget_));
        const std::size_t got = inner_->read(destination.first(allowed));
        budget_ -= got;
        if (got < destination.size() && budget_ == 0) {
            failed_ = true;
        }
        return got;
    }
    std::uint64_t skip(std::uint64_t count) override {
        const std::uint64_t got = inner_->skip(std::min(count, budget_));
        budget_ -= got;
        if (got < count && budget_ == 0) {
            failed_ = true;
        }
        return got;
    }
    bool seek(std::uint64_t offset) override { return inner_->seek(offset); }
    std::optional<std::uint64_t> size() const override {
        return hideSize_ ? std::nullopt : inner_->size();
    }
    bool failed() const override { return failed_ || inner_->failed(); }

private:
    std::unique_ptr<platform::InputFile> inner_;
    std::uint64_t budget_;
    bool hideSize_;
    bool failed_ = false;
};

class FaultyOutput final : public platform::OutputFile {
public:
    FaultyOutput(std::unique_ptr<platform::OutputFile> inner, std::uint64_t& budget,
                 bool failAtCommit)
        : inner_(std::move(inner)), budget_(budget), failAtCommit_(failAtCommit) {}

    bool write(std::span<const std::byte> bytes) override {
        const auto allowed =
            static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), budget_));
        budget_ -= allowed;
        const bool innerOk = inner_->write(bytes.first(allowed));
        if (allowed < bytes.size()) {
            broken_ = true;
        }
        return innerOk && (failAtCommit_ || !broken_);
    }
    bool writeAt(std::uint64_t offset, std::span<const std::byte> bytes) override {
        return !broken_ && inner_->writeAt(offset, bytes);
    }
    bool dropFront(std::uint64_t count) override { return !broken_ && inner_->dropFront(count); }
    bool commit() override {
        if (broken_) {
            // The buffered failure shows now.
            failAtCommit_ = false;
            return false;
        }
        return inner_->commit();
    }
    // A failure held back for the commit does not show before it.
    bool failed() const override { return (broken_ && !failAtCommit_) || inner_->failed(); }

private:
    std::unique_ptr<platform::OutputFile> inner_;
    std::uint64_t& budget_;
    bool failAtCommit_;
    bool broken_ = false;
};

} // namespace

std::unique_ptr<platform::InputFile> FaultyFileSystem::openForReading(const std::string& path) {
    auto file = inner_.openForReading(path);
    const bool budgeted = readBudget != kNever && (readFaultPath.empty() || path == readFaultPath);
    if (!file || (!budgeted && !hideSizes)) {
        return file;
    }
    return std::make_unique<FaultyInput>(std::move(file), budgeted ? readBudget : kNever,
                                         hideSizes);
}

std::unique_ptr<platform::OutputFile> FaultyFileSystem::createOutput(const std::string& path) {
    if (failCreates || createsAllowed == 0) {
        return nullptr;
    }
    auto file = inner_.createOutput(path);
    if (!file) {
        return file;
    }
    if (createsAllowed > 0) {
        --createsAllowed;
    }
    return std::make_unique<FaultyOutput>(std::move(file), writeBudget, failAtCommit);
}

} // namespace quillon::testing
