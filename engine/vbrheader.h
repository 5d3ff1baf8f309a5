// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3framecounter.h"
#include "engine/mp3frameheader.h"

#include <cstddef>
#include <vector>

namespace quillon::engine {

// The extra first frame that tells players a stream's length and where to seek: an MPEG audio
// frame with the stream's version, sample rate and channel mode, layer III, no CRC and silent side
// info, carrying a "Xing" header (frames of several bitrates) or an "Info" header (one bitrate)
// with the frame count, the byte count and a 100-entry seek table.
//
// Counts follow LAME and FFmpeg: the frame count leaves the header frame out; the byte count is
// the whole output, header frame included; seek table entry i is the output offset of the frame
// at i percent of the duration, in 256ths of the byte count.

// The header frame's size in bytes. It depends only on the stream's first frame (version, sample
// rate, channel mode: the smallest bitrate whose frame holds the header), so the place can be
// kept as soon as that frame is known.
std::size_t vbrHeaderFrameSize(const Mp3FrameHeader& firstFrame);

struct VbrHeaderFrame {
    // vbrHeaderFrameSize(*stream.firstFrame) bytes; empty when there is an obstacle.
    std::vector<std::byte> bytes;
    VbrHeaderObstacle obstacle = VbrHeaderObstacle::None;
};

// The header frame for a finished stream, or why there is none.
VbrHeaderFrame buildVbrHeaderFrame(const Mp3StreamSummary& stream);

} // namespace quillon::engine
