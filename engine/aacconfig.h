// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/aacformat.h"
#include "engine/rowstatus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>

namespace quillon::engine {

// The fields of an AudioSpecificConfig that an ADTS header needs. Where spectral band
// replication or parametric stereo is signalled explicitly (object type 5 or 29), the fields are
// the core stream's: its object type and its sampling frequency index, the one before the
// extension's. HE-AAC then travels in ADTS as its core (LC) stream, and decoders find the
// extension in the frames themselves.
struct AudioSpecificConfig {
    std::uint32_t objectType = 0;
    std::uint32_t sampleRateIndex = 0;
    std::uint32_t channelConfig = 0;
    // The three flags of the general audio specific part that follows.
    bool frameLength960 = false;
    bool dependsOnCoreCoder = false;
    bool extensionFlag = false;

    // Nothing when the bytes end before the fields do.
    static std::optional<AudioSpecificConfig> parse(std::span<const std::byte> bytes);
};

// What stays the same in the header of every ADTS frame of one configuration.
struct AdtsFixedHeader {
    std::uint8_t profile = 0; // the object type less one
    std::uint8_t sampleRateIndex = 0;
    std::uint8_t channelConfig = 0;

    // The header for frames of this configuration, or why ADTS can not carry them.
    static std::variant<AdtsFixedHeader, AacRefusal> of(const AudioSpecificConfig& config);
    // The same for the bytes of an AudioSpecificConfig (an AAC sequence header's payload).
    static std::variant<AdtsFixedHeader, AacRefusal>
    ofAudioSpecificConfig(std::span<const std::byte> bytes);

    // The 7 bytes in front of a raw frame of `rawSize` bytes (at most aac::kMaxRawFrameSize): no
    // CRC, one raw data block, buffer fullness all ones.
    std::array<std::byte, aac::kAdtsHeaderSize> frameHeader(std::size_t rawSize) const;
};

} // namespace quillon::engine
