// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/statustexts.h"

#include <string>

namespace quillon::engine {

namespace {

class ReadErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "quillon-read"; }
    std::string message(int error) const override {
        return std::string(readErrorText(static_cast<ReadError>(error)));
    }
};

} // namespace

std::error_code make_error_code(ReadError error) {
    static const ReadErrorCategory category;
    return {static_cast<int>(error), category};
}

std::string_view statusText(RowStatus status) {
    switch (status) {
    case RowStatus::Ready:
        return "Ready";
    case RowStatus::Extracting:
        return "Extracting...";
    case RowStatus::Finished:
        return "Finished";
    case RowStatus::ReadError:
        return "Error: Can not read the flv file";
    case RowStatus::WriteError:
        return "Error: Can not write the mp3 file";
    case RowStatus::Stopped:
        return "Stopped";
    case RowStatus::NoAudio:
        return "No audio";
    case RowStatus::SkippedPcm:
        return "Skipped: PCM audio";
    case RowStatus::SkippedAdpcm:
        return "Skipped: ADPCM audio";
    case RowStatus::SkippedNellymoser:
        return "Skipped: Nellymoser audio";
    case RowStatus::SkippedG711ALaw:
        return "Skipped: G.711 A-law audio";
    case RowStatus::SkippedG711MuLaw:
        return "Skipped: G.711 mu-law audio";
    case RowStatus::SkippedAac:
        return "Skipped: AAC audio";
    case RowStatus::SkippedSpeex:
        return "Skipped: Speex audio";
    case RowStatus::SkippedDeviceSpecific:
        return "Skipped: device-specific audio";
    case RowStatus::SkippedUnknown:
        return "Skipped: unknown audio";
    case RowStatus::SkippedAacNoConfiguration:
        return "Skipped: AAC audio (no configuration)";
    case RowStatus::SkippedAacBrokenConfiguration:
        return "Skipped: AAC audio (broken configuration)";
    case RowStatus::SkippedAacObjectType:
        return "Skipped: AAC audio (object type not in ADTS)";
    case RowStatus::SkippedAacSampleRate:
        return "Skipped: AAC audio (sample rate not in ADTS)";
    case RowStatus::SkippedAacChannelLayout:
        return "Skipped: AAC audio (channel layout not in ADTS)";
    case RowStatus::SkippedAacFrameLayout:
        return "Skipped: AAC audio (frame layout not in ADTS)";
    case RowStatus::SkippedAacFrameTooLong:
        return "Skipped: AAC audio (frame too long for ADTS)";
    }
    return {};
}

std::string_view noticeText(Notice notice) {
    if (notice.kind == Notice::Kind::AudioNotExtracted) {
        return "Can not get audio data";
    }
    switch (notice.why) {
    case VbrHeaderObstacle::None:
        break;
    case VbrHeaderObstacle::NoAudioFrames:
        return "No VBR header written: no MPEG audio frames found";
    case VbrHeaderObstacle::FreeFormat:
        return "No VBR header written: the stream is free format";
    case VbrHeaderObstacle::FormatChanges:
        return "No VBR header written: the sample rate or MPEG version changes";
    case VbrHeaderObstacle::NotLayerThree:
        return "No VBR header written: the stream is not MPEG layer III";
    case VbrHeaderObstacle::StreamTooLong:
        return "No VBR header written: the stream is longer than 4 GiB";
    }
    return {};
}

std::string_view readErrorText(ReadError error) {
    switch (error) {
    case ReadError::NotFlv:
        return "not an FLV file";
    case ReadError::BrokenWhileRead:
        return "could not be read to its end";
    }
    return {};
}

} // namespace quillon::engine
