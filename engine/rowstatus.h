// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
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

// Why an output that was asked to start with a VBR header frame is the plain stream.
enum class VbrHeaderObstacle : std::uint8_t {
    None,
    // The stream holds no MPEG audio frame at all.
    NoAudioFrames,
    // None within the first MiB (after a leading ID3v2 tag): the output waits no longer.
    NoFrameInFirstMiB,
    // Its first frame is a Xing, Info or VBRI header frame of its own.
    OwnHeader,
    // Free-format frames carry no length, so they cannot be counted or indexed.
    FreeFormat,
    // The sample rate, MPEG version or layer changes mid-stream.
    FormatChanges,
    // The header frame only exists for layer III.
    NotLayerThree,
    // The header's frame count is 32 bits wide. The last kind: a test of the words walks up to it.
    TooManyFrames,
};

// Something the user is told about a file while it is extracted, apart from its status.
struct Notice {
    enum class Kind : std::uint8_t {
        // The first audio tag with data is in a format that is not extracted: no output.
        AudioNotExtracted,
        // A VBR header frame was asked for, but the output is the plain stream; `why` says why.
        NoVbrHeader,
    };
    Kind kind = Kind::AudioNotExtracted;
    VbrHeaderObstacle why = VbrHeaderObstacle::None;

    bool operator==(const Notice&) const = default;
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
