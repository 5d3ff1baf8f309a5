// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vbrheader.h"

#include "engine/bigendian.h"

#include <algorithm>
#include <limits>

namespace quillon::engine {

namespace {

// The first frame's header with another bitrate: version, layer III, sample rate and channel
// mode kept; no CRC, no padding, nothing else set.
Mp3FrameHeader headerFrameHeader(const Mp3FrameHeader& first, std::uint32_t bitrateIndex) {
    constexpr std::uint32_t kLayerThree = 1u << mpeg::kLayerShift;
    const std::uint32_t word =
        (first.word &
         (mpeg::kSyncMask | mpeg::kVersionMask | mpeg::kSampleRateMask | mpeg::kChannelModeMask)) |
        kLayerThree | mpeg::kNoCrcBit | (bitrateIndex << mpeg::kBitrateShift);
    return *Mp3FrameHeader::parse(word);
}

Mp3FrameHeader smallestHeaderFrame(const Mp3FrameHeader& first) {
    // The highest bitrate of every version holds the header many times over.
    for (std::uint32_t index = 1;; ++index) {
        const Mp3FrameHeader header = headerFrameHeader(first, index);
        if (header.frameLength() >= mpeg::kHeaderSize + header.sideInfoSize() + xing::kTagSize ||
            index + 1 == mpeg::kBadBitrateIndex) {
            return header;
        }
    }
}

} // namespace

std::size_t vbrHeaderFrameSize(const Mp3FrameHeader& firstFrame) {
    return smallestHeaderFrame(firstFrame).frameLength();
}

VbrHeaderFrame buildVbrHeaderFrame(const Mp3StreamSummary& stream) {
    if (stream.obstacle != VbrHeaderObstacle::None) {
        return {{}, stream.obstacle};
    }
    const Mp3FrameHeader header = smallestHeaderFrame(*stream.firstFrame);
    const std::uint64_t size = header.frameLength();
    const std::uint64_t total = size + stream.bytes;
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        return {{}, VbrHeaderObstacle::StreamTooLong};
    }

    std::vector<std::byte> frame(size);
    putBigEndian32(frame.data(), header.word);
    // The side info stays zero: no main data, so a decoder that ignores the header plays silence.
    // The fields follow it one after the other.
    std::byte* at = frame.data() + mpeg::kHeaderSize + header.sideInfoSize();
    const auto& tag = stream.constantBitrate ? xing::kInfoTag : xing::kXingTag;
    at = std::copy(tag.begin(), tag.end(), at);
    at = putBigEndian32(at, xing::kFlagFrames | xing::kFlagBytes | xing::kFlagToc);
    at = putBigEndian32(at, static_cast<std::uint32_t>(stream.frames));
    at = putBigEndian32(at, static_cast<std::uint32_t>(total));
    for (const std::uint64_t offset : stream.seekOffsets) {
        *at++ = static_cast<std::byte>(std::min<std::uint64_t>(256 * (size + offset) / total, 255));
    }
    return {std::move(frame), VbrHeaderObstacle::None};
}

} // namespace quillon::engine
