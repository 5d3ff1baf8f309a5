// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::engine {

// What a row of the file list shows about its file. The engine reports these kinds; the hosts
// turn them into words (statusText) or into exit codes.
enum class RowStatus {
    Ready,
    Extracting,
    Finished,
    ReadError,  // missing, unreadable, not an FLV file, or broken while read
    WriteError, // the output could not be created or written; nothing partial is left
    Stopped,    // the user stopped the run while this file was read
};

// Something the user is told about a file while it is extracted, apart from its status.
enum class Notice {
    AudioNotMp3, // the first audio tag is not MP3: the file yields no output
    // A VBR header frame was asked for but the output is the plain stream, because:
    NoVbrHeaderNoFrames,     // it holds no MPEG audio frame (or none near its start)
    NoVbrHeaderFreeFormat,   // its frames are free format, whose length nothing says
    NoVbrHeaderFormatChange, // its sample rate or MPEG version changes
    NoVbrHeaderNotLayer3,    // it is not MPEG layer III
    NoVbrHeaderTooLong,      // it is longer than the header's byte count can say (4 GiB)
};

} // namespace quillon::engine
