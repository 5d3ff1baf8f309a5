// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3frameheader.h"

#include <array>

namespace quillon::engine {

namespace {

// kbit/s by bitrate index; index 0 (free format) and 15 (forbidden) carry no rate.
using BitrateRow = std::array<std::uint16_t, 15>;
constexpr BitrateRow kMpeg1Layer1{0,   32,  64,  96,  128, 160, 192, 224,
                                  256, 288, 320, 352, 384, 416, 448};
constexpr BitrateRow kMpeg1Layer2{0,   32,  48,  56,  64,  80,  96, 112,
                                  128, 160, 192, 224, 256, 320, 384};
constexpr BitrateRow kMpeg1Layer3{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr BitrateRow kMpeg2Layer1{0,   32,  48,  56,  64,  80,  96, 112,
                                  128, 144, 160, 176, 192, 224, 256};
// MPEG 2 and 2.5 share layers II and III.
constexpr BitrateRow kMpeg2Layer23{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

constexpr std::array<std::uint32_t, 3> kMpeg1Rates{44100, 48000, 32000};

std::uint32_t kbits(MpegVersion version, std::uint8_t layer, std::uint32_t index) {
    if (version == MpegVersion::Mpeg1) {
        return layer == 1   ? kMpeg1Layer1[index]
               : layer == 2 ? kMpeg1Layer2[index]
                            : kMpeg1Layer3[index];
    }
    return layer == 1 ? kMpeg2Layer1[index] : kMpeg2Layer23[index];
}

std::uint32_t field(std::uint32_t word, std::uint32_t mask, int shift) {
    return (word & mask) >> shift;
}

} // namespace

std::optional<Mp3FrameHeader> Mp3FrameHeader::parse(std::uint32_t word) {
    const std::uint32_t version = field(word, mpeg::kVersionMask, mpeg::kVersionShift);
    const std::uint32_t layerBits = field(word, mpeg::kLayerMask, mpeg::kLayerShift);
    const std::uint32_t bitrateIndex = field(word, mpeg::kBitrateMask, mpeg::kBitrateShift);
    const std::uint32_t rateIndex = field(word, mpeg::kSampleRateMask, mpeg::kSampleRateShift);
    if ((word & mpeg::kSyncMask) != mpeg::kSyncMask || version == mpeg::kVersionReserved ||
        layerBits == mpeg::kLayerReserved || bitrateIndex == mpeg::kBadBitrateIndex ||
        rateIndex == mpeg::kSampleRateReserved) {
        return std::nullopt;
    }
    Mp3FrameHeader h;
    h.word = word;
    h.version = version == mpeg::kVersion1   ? MpegVersion::Mpeg1
                : version == mpeg::kVersion2 ? MpegVersion::Mpeg2
                                             : MpegVersion::Mpeg25;
    h.layer = static_cast<std::uint8_t>(4 - layerBits);
    h.crcProtected = (word & mpeg::kNoCrcBit) == 0;
    h.bitrateIndex = static_cast<std::uint8_t>(bitrateIndex);
    h.bitrate = kbits(h.version, h.layer, bitrateIndex) * 1000;
    // MPEG 2 halves the MPEG 1 rates, MPEG 2.5 quarters them.
    h.sampleRate = kMpeg1Rates[rateIndex] >> static_cast<int>(h.version);
    h.padding = (word & mpeg::kPaddingBit) != 0;
    h.channelMode =
        static_cast<ChannelMode>(field(word, mpeg::kChannelModeMask, mpeg::kChannelModeShift));
    return h;
}

std::uint32_t Mp3FrameHeader::frameLength() const {
    if (isFreeFormat()) {
        return 0;
    }
    const std::uint32_t pad = padding ? 1 : 0;
    if (layer == 1) {
        // Layer I counts in four-byte slots.
        return (12 * bitrate / sampleRate + pad) * 4;
    }
    // Bytes per frame = samples per frame / 8 bits * bitrate / sample rate.
    return samplesPerFrame() / 8 * bitrate / sampleRate + pad;
}

std::uint32_t Mp3FrameHeader::samplesPerFrame() const {
    if (layer == 1) {
        return 384;
    }
    return layer == 3 && version != MpegVersion::Mpeg1 ? 576 : 1152;
}

std::uint32_t Mp3FrameHeader::sideInfoSize() const {
    const bool mono = channelMode == ChannelMode::Mono;
    if (version == MpegVersion::Mpeg1) {
        return mono ? 17 : 32;
    }
    return mono ? 9 : 17;
}

} // namespace quillon::engine
