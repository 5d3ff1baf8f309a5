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
    NoAudio,    // read to its end: the file holds no audio tag with data
    // The first audio tag with data is in a format that is not extracted; nothing is written:
    SkippedPcm,
    SkippedAdpcm,
    SkippedNellymoser,
    SkippedG711ALaw,
    SkippedG711MuLaw,
    SkippedAac, // AAC output was not asked for
    SkippedSpeex,
    SkippedDeviceSpecific,
    SkippedUnknown, // a sound format number that names no format
    // AAC output was asked for, but the stream can not be written as ADTS frames:
    SkippedAacNoConfiguration,     // a raw frame came before any configuration
    SkippedAacBrokenConfiguration, // the configuration ends before its fields do
    SkippedAacObjectType,          // an object type that ADTS can not name
    SkippedAacSampleRate,          // a sample rate that ADTS can not name
    SkippedAacChannelLayout,       // a channel layout that ADTS can not name
    SkippedAacFrameLayout,         // 960-sample frames, a core coder or the extension flag
    SkippedAacFrameTooLong,        // a frame longer than an ADTS frame holds
};

// True for a file that was read well but yielded nothing: no audio, or audio not extracted.
constexpr bool extractedNothing(RowStatus status) {
    switch (status) {
    case RowStatus::Ready:
    case RowStatus::Extracting:
    case RowStatus::Finished:
    case RowStatus::ReadError:
    case RowStatus::WriteError:
    case RowStatus::Stopped:
        return false;
    case RowStatus::NoAudio:
    case RowStatus::SkippedPcm:
    case RowStatus::SkippedAdpcm:
    case RowStatus::SkippedNellymoser:
    case RowStatus::SkippedG711ALaw:
    case RowStatus::SkippedG711MuLaw:
    case RowStatus::SkippedAac:
    case RowStatus::SkippedSpeex:
    case RowStatus::SkippedDeviceSpecific:
    case RowStatus::SkippedUnknown:
    case RowStatus::SkippedAacNoConfiguration:
    case RowStatus::SkippedAacBrokenConfiguration:
    case RowStatus::SkippedAacObjectType:
    case RowStatus::SkippedAacSampleRate:
    case RowStatus::SkippedAacChannelLayout:
    case RowStatus::SkippedAacFrameLayout:
    case RowStatus::SkippedAacFrameTooLong:
        return true;
    }
    return false;
}

// Why an output that was asked to start with a VBR header frame is the plain stream.
enum class VbrHeaderObstacle : std::uint8_t {
    None,
    // The stream holds no MPEG audio frame at all.
    NoAudioFrames,
    // Free-format frames carry no length, so they cannot be counted or indexed.
    FreeFormat,
    // The sample rate, MPEG version or layer changes mid-stream.
    FormatChanges,
    // The header frame only exists for layer III.
    NotLayerThree,
    // The header's byte count is 32 bits wide.
    StreamTooLong,
};

// Why an AAC stream can not be written as ADTS frames.
enum class AacRefusal : std::uint8_t {
    NoConfiguration,     // a raw frame came before any AudioSpecificConfig
    BrokenConfiguration, // the configuration ends before its fields do
    ObjectType,          // an object type outside Main, LC, SSR and LTP (escaped ones included)
    SampleRate,          // a rate given in full, or a reserved index
    ChannelLayout,       // configuration 0 (a layout inside the stream) or one above 7
    FrameLayout,         // 960-sample frames, a core coder, or the extension flag
    FrameTooLong,        // a raw frame longer than an ADTS frame holds
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
