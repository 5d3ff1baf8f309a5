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

Mp3FrameHeader vbrHeaderFrameHeader(const Mp3FrameHeader& firstFrame, bool constantBitrate) {
    const Mp3FrameHeader smallest = smallestHeaderFrame(firstFrame);
    if (constantBitrate && firstFrame.bitrateIndex > smallest.bitrateIndex) {
        return headerFrameHeader(firstFrame, firstFrame.bitrateIndex);
    }
    return smallest;
}

VbrHeaderFrame buildVbrHeaderFrame(const Mp3StreamSummary& stream,
                                   std::optional<Mp3FrameHeader> frameHeader) {
    if (stream.obstacle != VbrHeaderObstacle::None) {
        return {{}, stream.obstacle};
    }
    if (stream.frames > std::numeric_limits<std::uint32_t>::max()) {
        return {{}, VbrHeaderObstacle::TooManyFrames};
    }
    const Mp3FrameHeader header =
        frameHeader ? *frameHeader
                    : vbrHeaderFrameHeader(*stream.firstFrame, stream.constantBitrate);
    const std::uint64_t size = header.frameLength();
    const std::uint64_t total = size + stream.bytes - stream.headerPlace;
    // Beyond 4 GiB the seek table alone says where to go: it is relative to the byte count, which
    // a player then takes from the file's size.
    const bool countBytes = total <= std::numeric_limits<std::uint32_t>::max();

    std::vector<std::byte> frame(size);
    putBigEndian32(frame.data(), header.word);
    // The side info stays zero: no main data, so a decoder that ignores the header plays silence.
    // The fields follow it one after the other.
    std::byte* at = frame.data() + mpeg::kHeaderSize + header.sideInfoSize();
    const auto& tag = stream.constantBitrate ? xing::kInfoTag : xing::kXingTag;
    at = std::copy(tag.begin(), tag.end(), at);
    at = putBigEndian32(at,
                        xing::kFlagFrames | (countBytes ? xing::kFlagBytes : 0) | xing::kFlagToc);
    at = putBigEndian32(at, static_cast<std::uint32_t>(stream.frames));
    if (countBytes) {
        at = putBigEndian32(at, static_cast<std::uint32_t>(total));
    }
    for (const std::uint64_t offset : stream.seekOffsets) {
        const std::uint64_t fromHeader = size + offset - stream.headerPlace;
        *at++ = static_cast<std::byte>(std::min<std::uint64_t>(256 * fromHeader / total, 255));
    }
    return {std::move(frame), VbrHeaderObstacle::None};
}

} // namespace quillon::engine
