// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bufferpool.h"

#include <new>

namespace quillon::platform {

std::unique_ptr<std::byte[]> BufferPool::take() {
    {
        std::lock_guard lock(mutex_);
        if (!kept_.empty()) {
            std::unique_ptr<std::byte[]> buffer = std::move(kept_.back());
            kept_.pop_back();
            return buffer;
        }
    }
    return std::make_unique_for_overwrite<std::byte[]>(kBufferSize);
}

void BufferPool::giveBack(std::unique_ptr<std::byte[]> buffer) noexcept {
    if (!buffer) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (kept_.size() < kKeptAtMost) {
        try {
            kept_.push_back(std::move(buffer));
        } catch (const std::bad_alloc&) {
            // Freed instead: keeping it was only ever a saving.
        }
    }
}

PooledBuffer::PooledBuffer(std::shared_ptr<BufferPool> pool)
    : pool_(std::move(pool)),
      bytes_(pool_ ? pool_->take() : std::make_unique_for_overwrite<std::byte[]>(size())) {}

PooledBuffer::~PooledBuffer() {
    if (pool_) {
        pool_->giveBack(std::move(bytes_));
    }
}

} // namespace quillon::platform
