// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mpegaudioformat.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quillon::engine {

enum class MpegVersion : std::uint8_t { Mpeg1, Mpeg2, Mpeg25 };
enum class ChannelMode : std::uint8_t { Stereo, JointStereo, DualChannel, Mono };

// The four bytes in front of every MPEG audio frame.
struct Mp3FrameHeader {
    // The header as read, big-endian.
    std::uint32_t word = 0;
    MpegVersion version = MpegVersion::Mpeg1;
    std::uint8_t layer = 3;
    bool crcProtected = false;
    std::uint8_t bitrateIndex = 0;
    // Bits per second; 0 for free format.
    std::uint32_t bitrate = 0;
    std::uint32_t sampleRate = 0;
    bool padding = false;
    ChannelMode channelMode = ChannelMode::Stereo;

    // Nothing for bytes without the sync word or with a reserved version, layer or sample rate,
    // or the forbidden bitrate index. Free format (bitrate index 0) is a header.
    static std::optional<Mp3FrameHeader> parse(std::uint32_t word);

    bool isFreeFormat() const { return bitrateIndex == mpeg::kFreeFormatBitrateIndex; }
    // Header included; 0 for free format, whose length only the next frame's start tells.
    std::uint32_t frameLength() const;
    std::uint32_t samplesPerFrame() const;
    // Layer III: the bytes between the header (and its CRC) and the main data.
    std::uint32_t sideInfoSize() const;
    // Same version, layer and sample rate: frames of one stream.
    bool sameStreamFormat(const Mp3FrameHeader& other) const {
        return (word & mpeg::kStreamFormatMask) == (other.word & mpeg::kStreamFormatMask);
    }
};

} // namespace quillon::engine
