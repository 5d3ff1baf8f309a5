#pragma once

#include "engine/flvformat.h"

#include <cstdint>
#include <optional>
#include <span>

namespace quillon::engine {

// The file header's signature and version bytes.
struct FlvSignature {
    // True for exactly "FLV" followed by version 1.
    static bool isValid(std::span<const std::byte, flv::kSignatureAndVersionSize> bytes);
};

// The 11-byte header in front of every tag's data.
struct FlvTagHeader {
    std::uint8_t type = 0;
    std::uint32_t dataSize = 0;

    static FlvTagHeader parse(std::span<const std::byte, flv::kTagHeaderSize> bytes);
    // Counted tags move the progress bar and let the window breathe; others are only read past.
    bool isCounted() const;
};

std::uint32_t readBigEndian32(std::span<const std::byte, 4> bytes);

} // namespace quillon::engine
