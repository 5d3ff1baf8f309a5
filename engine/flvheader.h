// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/flvformat.h"

#include <cstdint>
#include <optional>
#include <span>

namespace quillon::engine {

// The header at the start of every FLV file.
struct FlvFileHeader {
    std::uint8_t flags = 0;
    // Where the first back-pointer starts.
    std::uint32_t dataOffset = 0;

    // Reads the header from the first bytes of a file, as many as the file held (up to
    // kFileHeaderSize). Nothing when they are not "FLV" with version 1. A field the bytes do not
    // reach in full is 0: nothing is made of bytes that are not there.
    static std::optional<FlvFileHeader> parse(std::span<const std::byte> bytes);
};

// The 11-byte header in front of every tag's data.
struct FlvTagHeader {
    std::uint8_t type = 0;
    std::uint32_t dataSize = 0;

    static FlvTagHeader parse(std::span<const std::byte, flv::kTagHeaderSize> bytes);
    // A header cut short by the end of the file keeps its type but claims no data: its size is
    // not all there.
    static FlvTagHeader parseCutShort(std::span<const std::byte> bytes);
    // Counted tags move the progress bar and let the window breathe; others are only read past.
    bool isCounted() const;
};

} // namespace quillon::engine
