// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3framecounter.h"
#include "engine/mp3frameheader.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace quillon::engine {

// The extra first frame that tells players a stream's length and where to seek: an MPEG audio
// frame with the stream's version, sample rate and channel mode, layer III, no CRC and silent side
// info, carrying a "Xing" header (frames of several bitrates) or an "Info" header (one bitrate)
// with the frame count, the byte count and a 100-entry seek table.
//
// Counts follow LAME and FFmpeg, from the header frame on (a leading ID3v2 tag is not counted):
// the frame count leaves the header frame out; the byte count is the rest of the output, header
// frame included, and is left out when it does not fit in 32 bits (the flags say so); seek table
// entry i is where the frame at i percent of the duration starts, in 256ths of that byte count.

// The header frame's own MPEG header, which fixes its size. A stream of one bitrate gets a frame
// of that bitrate, as encoders write it: a player that reads no header takes the duration from the
// first frame's bitrate. Otherwise it is the smallest bitrate whose frame holds the header.
Mp3FrameHeader vbrHeaderFrameHeader(const Mp3FrameHeader& firstFrame, bool constantBitrate);

struct VbrHeaderFrame {
    // The header frame's bytes; empty when there is an obstacle.
    std::vector<std::byte> bytes;
    VbrHeaderObstacle obstacle = VbrHeaderObstacle::None;
};

// The header frame for a finished stream, or why there is none. Its size is that of
// `frameHeader` when given (a place kept before the stream was finished), otherwise the one
// vbrHeaderFrameHeader chooses for the stream.
VbrHeaderFrame buildVbrHeaderFrame(const Mp3StreamSummary& stream,
                                   std::optional<Mp3FrameHeader> frameHeader = std::nullopt);

} // namespace quillon::engine
