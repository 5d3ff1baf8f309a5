// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/flvheader.h"

#include "engine/bigendian.h"

#include <algorithm>

namespace quillon::engine {

namespace {
std::uint32_t byteAt(std::span<const std::byte> bytes, std::size_t i) {
    return std::to_integer<std::uint32_t>(bytes[i]);
}
} // namespace

std::optional<FlvFileHeader> FlvFileHeader::parse(std::span<const std::byte> bytes) {
    if (bytes.size() < flv::kSignatureAndVersionSize ||
        !std::equal(flv::kSignature.begin(), flv::kSignature.end(), bytes.begin()) ||
        byteAt(bytes, 3) != flv::kVersion) {
        return std::nullopt;
    }
    FlvFileHeader header;
    if (bytes.size() > flv::kSignatureAndVersionSize) {
        header.flags = static_cast<std::uint8_t>(byteAt(bytes, flv::kSignatureAndVersionSize));
    }
    if (bytes.size() >= flv::kFileHeaderSize) {
        header.dataOffset =
            readBigEndian32(&bytes[flv::kSignatureAndVersionSize + flv::kFlagsSize]);
    }
    return header;
}

FlvTagHeader FlvTagHeader::parse(std::span<const std::byte, flv::kTagHeaderSize> bytes) {
    FlvTagHeader header;
    header.type = static_cast<std::uint8_t>(byteAt(bytes, 0));
    header.dataSize = readBigEndian<flv::kDataSizeSize>(&bytes[flv::kTypeSize]);
    return header;
}

FlvTagHeader FlvTagHeader::parseCutShort(std::span<const std::byte> bytes) {
    FlvTagHeader header;
    if (!bytes.empty()) {
        header.type = static_cast<std::uint8_t>(byteAt(bytes, 0));
    }
    return header;
}

bool FlvTagHeader::isCounted() const {
    return type == flv::kTagTypeAudio || type == flv::kTagTypeVideo ||
           type == flv::kTagTypeScriptData;
}

} // namespace quillon::engine
