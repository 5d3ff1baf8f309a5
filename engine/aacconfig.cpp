// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/aacconfig.h"

namespace quillon::engine {

namespace {

// Reads bit fields from the top bit of the first byte down; a read past the end gives zeros and
// marks the reader overrun.
class BitReader {
public:
    explicit BitReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

    std::uint32_t read(int bits) {
        std::uint32_t value = 0;
        for (int i = 0; i < bits; ++i, ++position_) {
            const std::size_t byte = position_ / 8;
            if (byte >= bytes_.size()) {
                overrun_ = true;
                value <<= 1;
                continue;
            }
            const unsigned bit = 7 - position_ % 8;
            value = value << 1 | (std::to_integer<std::uint32_t>(bytes_[byte]) >> bit & 1U);
        }
        return value;
    }
    bool overrun() const { return overrun_; }

private:
    std::span<const std::byte> bytes_;
    std::size_t position_ = 0;
    bool overrun_ = false;
};

std::uint32_t readObjectType(BitReader& bits) {
    const std::uint32_t type = bits.read(aac::kObjectTypeBits);
    return type == aac::kObjectTypeEscape
               ? aac::kObjectTypeEscapeBase + bits.read(aac::kObjectTypeEscapeBits)
               : type;
}

std::uint32_t readSampleRateIndex(BitReader& bits) {
    const std::uint32_t index = bits.read(aac::kSampleRateIndexBits);
    if (index == aac::kSampleRateIndexEscape) {
        bits.read(aac::kExplicitSampleRateBits);
    }
    return index;
}

} // namespace

std::optional<AudioSpecificConfig> AudioSpecificConfig::parse(std::span<const std::byte> bytes) {
    BitReader bits(bytes);
    AudioSpecificConfig config;
    config.objectType = readObjectType(bits);
    config.sampleRateIndex = readSampleRateIndex(bits);
    config.channelConfig = bits.read(aac::kChannelConfigBits);
    if (config.objectType == aac::kObjectTypeSbr || config.objectType == aac::kObjectTypePs) {
        readSampleRateIndex(bits); // the extension's output rate
        config.objectType = readObjectType(bits);
    }
    config.frameLength960 = bits.read(1) != 0;
    config.dependsOnCoreCoder = bits.read(1) != 0;
    config.extensionFlag = bits.read(1) != 0;
    if (bits.overrun()) {
        return std::nullopt;
    }
    return config;
}

std::variant<AdtsFixedHeader, AacRefusal> AdtsFixedHeader::of(const AudioSpecificConfig& config) {
    if (config.objectType < aac::kFirstAdtsObjectType ||
        config.objectType > aac::kLastAdtsObjectType) {
        return AacRefusal::ObjectType;
    }
    if (config.sampleRateIndex > aac::kLastSampleRateIndex) {
        return AacRefusal::SampleRate;
    }
    if (config.channelConfig == 0 || config.channelConfig > aac::kLastAdtsChannelConfig) {
        return AacRefusal::ChannelLayout;
    }
    if (config.frameLength960 || config.dependsOnCoreCoder || config.extensionFlag) {
        return AacRefusal::FrameLayout;
    }
    return AdtsFixedHeader{static_cast<std::uint8_t>(config.objectType - 1),
                           static_cast<std::uint8_t>(config.sampleRateIndex),
                           static_cast<std::uint8_t>(config.channelConfig)};
}

std::variant<AdtsFixedHeader, AacRefusal>
AdtsFixedHeader::ofAudioSpecificConfig(std::span<const std::byte> bytes) {
    const auto config = AudioSpecificConfig::parse(bytes);
    if (!config) {
        return AacRefusal::BrokenConfiguration;
    }
    return of(*config);
}

std::array<std::byte, aac::kAdtsHeaderSize>
AdtsFixedHeader::frameHeader(std::size_t rawSize) const {
    const auto length = static_cast<std::uint32_t>(rawSize + aac::kAdtsHeaderSize);
    const auto byte = [](std::uint32_t value) { return std::byte(value & 0xFF); };
    // Sync, MPEG-4, layer 0, no CRC; then the fields in the layout of aacformat.h. Private,
    // original, home and the copyright bits are 0; one raw data block is stored as 0.
    return {byte(0xFF),
            byte(0xF1),
            byte(std::uint32_t{profile} << 6 | std::uint32_t{sampleRateIndex} << 2 |
                 std::uint32_t{channelConfig} >> 2),
            byte((std::uint32_t{channelConfig} & 3) << 6 | length >> 11),
            byte(length >> 3),
            byte((length & 7) << 5 | aac::kBufferFullnessVariable >> 6),
            byte((aac::kBufferFullnessVariable & 0x3F) << 2)};
}

} // namespace quillon::engine
