#include "engine/flvheader.h"

#include <algorithm>

namespace quillon::engine {

namespace {
std::uint32_t byteAt(std::span<const std::byte> bytes, std::size_t i) {
    return std::to_integer<std::uint32_t>(bytes[i]);
}
} // namespace

bool FlvSignature::isValid(std::span<const std::byte, flv::kSignatureAndVersionSize> bytes) {
    return std::equal(flv::kSignature.begin(), flv::kSignature.end(), bytes.begin()) &&
           byteAt(bytes, 3) == flv::kVersion;
}

FlvTagHeader FlvTagHeader::parse(std::span<const std::byte, flv::kTagHeaderSize> bytes) {
    FlvTagHeader header;
    header.type = static_cast<std::uint8_t>(byteAt(bytes, 0));
    header.dataSize = (byteAt(bytes, 1) << 16) | (byteAt(bytes, 2) << 8) | byteAt(bytes, 3);
    return header;
}

bool FlvTagHeader::isCounted() const {
    return type == flv::kTagTypeAudio || type == flv::kTagTypeVideo ||
           type == flv::kTagTypeScriptData;
}

std::uint32_t readBigEndian32(std::span<const std::byte, 4> bytes) {
    return (byteAt(bytes, 0) << 24) | (byteAt(bytes, 1) << 16) | (byteAt(bytes, 2) << 8) |
           byteAt(bytes, 3);
}

} // namespace quillon::engine
