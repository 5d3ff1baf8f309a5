// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/extractionrun.h"

#include "engine/flvformat.h"
#include "engine/flvreader.h"
#include "engine/outputpath.h"
#include "platform/pathparts.h"

#include <new>
#include <system_error>

namespace quillon::engine {

namespace {

// A file whose audio is in a format that is not extracted: one status per FLV sound format.
RowStatus skippedStatusFor(std::uint8_t soundFormat) {
    switch (soundFormat) {
    case flv::kSoundFormatPcmPlatformEndian:
    case flv::kSoundFormatPcmLittleEndian:
        return RowStatus::SkippedPcm;
    case flv::kSoundFormatAdpcm:
        return RowStatus::SkippedAdpcm;
    case flv::kSoundFormatNellymoser16kMono:
    case flv::kSoundFormatNellymoser8kMono:
    case flv::kSoundFormatNellymoser:
        return RowStatus::SkippedNellymoser;
    case flv::kSoundFormatG711ALaw:
        return RowStatus::SkippedG711ALaw;
    case flv::kSoundFormatG711MuLaw:
        return RowStatus::SkippedG711MuLaw;
    case flv::kSoundFormatAac:
        return RowStatus::SkippedAac;
    case flv::kSoundFormatSpeex:
        return RowStatus::SkippedSpeex;
    case flv::kSoundFormatDeviceSpecific:
        return RowStatus::SkippedDeviceSpecific;
    default:
        return RowStatus::SkippedUnknown;
    }
}

RowStatus refusedStatusFor(AacRefusal refusal) {
    switch (refusal) {
    case AacRefusal::NoConfiguration:
        return RowStatus::SkippedAacNoConfiguration;
    case AacRefusal::BrokenConfiguration:
        return RowStatus::SkippedAacBrokenConfiguration;
    case AacRefusal::ObjectType:
        return RowStatus::SkippedAacObjectType;
    case AacRefusal::SampleRate:
        return RowStatus::SkippedAacSampleRate;
    case AacRefusal::ChannelLayout:
        return RowStatus::SkippedAacChannelLayout;
    case AacRefusal::FrameLayout:
        return RowStatus::SkippedAacFrameLayout;
    case AacRefusal::FrameTooLong:
        break;
    }
    return RowStatus::SkippedAacFrameTooLong;
}

RowStatus statusFor(const AudioOutcome& outcome) {
    switch (outcome.kind) {
    case AudioOutcome::Kind::Written:
        return RowStatus::Finished;
    case AudioOutcome::Kind::NoAudio:
        return RowStatus::NoAudio;
    case AudioOutcome::Kind::NotExtracted:
        return skippedStatusFor(outcome.soundFormat);
    case AudioOutcome::Kind::Refused:
        return refusedStatusFor(outcome.refusal);
    case AudioOutcome::Kind::WriteFailed:
        break;
    }
    return RowStatus::WriteError;
}

} // namespace

RunResult ExtractionRun::run() {
    if (host_.rowCount() == 0) {
        return RunResult::EmptyList;
    }
    const OutputChoice choice = host_.showOutputFolderDialog();
    if (!choice.OutputConfirmed) {
        return RunResult::Cancelled;
    }
    options_.vbrHeader = options_.vbrHeader || choice.vbrHeader;
    options_.aac = options_.aac || choice.aac;
    // Rows added while the run pumps events are not visited.
    const int rows = host_.rowCount();
    if (rows == 0) {
        return RunResult::EmptyList;
    }

    FlvReader reader(host_, files_);
    for (int row = 1; row <= rows; ++row) {
        // A stop asked for between files (a signal to the command line) ends the run there.
        if (host_.stopRequested()) {
            host_.setProgress(0);
            return RunResult::Stopped;
        }
        const RowStatus status = extractRow(reader, row, choice);
        host_.setRowStatus(row, status);
        if (status == RowStatus::Stopped) {
            host_.setProgress(0);
            return RunResult::Stopped;
        }
    }
    host_.setProgress(0);
    return RunResult::Completed;
}

RowStatus ExtractionRun::extractRow(FlvReader& reader, int row, const OutputChoice& choice) {
    const std::string input = host_.rowText(row);
    OutputTarget target{
        outputBaseFor(choice.sameAsInput ? platform::splitPath(input).folder : choice.OutputFolder,
                      input),
        input};
    std::error_code readError;
    try {
        const bool ok = reader.OpenFlv(input);
        host_.setRowStatus(row, RowStatus::Extracting);
        if (!ok) {
            // An input that waited for data (a named pipe with no writer yet) when the stop came.
            if (host_.stopRequested()) {
                return RowStatus::Stopped;
            }
            host_.explainReadError(row, reader.openError());
            return RowStatus::ReadError;
        }
        // Destroyed unfinished, the stage removes what it wrote: an unfinished output is gone
        // before the row shows how it ended.
        AudioStage audio(files_, host_, std::move(target), options_);
        const TagLoopOutcome read = reader.ReadTags(audio);
        reader.CloseFlv();
        switch (read) {
        case TagLoopOutcome::Finished:
        case TagLoopOutcome::AudioDone: {
            const AudioOutcome outcome = audio.finish();
            if (outcome.kind == AudioOutcome::Kind::Written) {
                host_.setRowOutput(row, audio.outputPath());
            }
            return statusFor(outcome);
        }
        case TagLoopOutcome::Stopped:
            return RowStatus::Stopped;
        case TagLoopOutcome::ReadFailed:
            host_.explainReadError(row, ReadError::BrokenWhileRead);
            return RowStatus::ReadError;
        }
    } catch (const std::bad_alloc&) {
        // A tag larger than the memory the process can have: this file fails, the run goes on.
        readError = std::make_error_code(std::errc::not_enough_memory);
    } catch (const std::system_error& error) {
        // Resources the system would not give (threads, descriptors): likewise.
        readError = error.code();
    }
    reader.CloseFlv();
    host_.explainReadError(row, readError);
    return RowStatus::ReadError;
}

} // namespace quillon::engine
