// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <system_error>
#include <type_traits>

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

// Why a file ended as ReadError where the system gave no reason of its own. As error codes, so
// that a host tells them as it tells the system's reasons (no such file, permission denied).
enum class ReadError {
    NotFlv = 1,      // its first bytes are not an FLV file header
    BrokenWhileRead, // a read failed, or the file shrank, before its end
};
std::error_code make_error_code(ReadError error);

} // namespace quillon::engine

template <>
struct std::is_error_code_enum<quillon::engine::ReadError> : std::true_type {};
