// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "engine/runoptions.h"
#include "engine/streamwriter.h"
#include "platform/filesystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon::engine {

// How a file's audio ended.
struct AudioOutcome {
    enum class Kind : std::uint8_t {
        Written,      // the output stands complete under its name
        NoAudio,      // no audio tag had data: nothing to write
        NotExtracted, // the first audio tag with data is in a format that is not extracted
        Refused,      // AAC that ADTS can not carry (`refusal` says why); nothing of it is left
        WriteFailed,  // the output could not be created, written or named; nothing of it is left
    };
    Kind kind = Kind::NoAudio;
    // The sound format of the first audio tag with data (the upper four bits of its first byte);
    // for NotExtracted, the format that was not.
    std::uint8_t soundFormat = 0;
    AacRefusal refusal = AacRefusal::NoConfiguration;

    bool operator==(const AudioOutcome&) const = default;
};

// Where a file's output goes.
struct OutputTarget {
    // The output folder and the input's base name; the stage adds the extension of the kind of
    // audio it finds.
    std::string base;
    // The input, which no output may replace.
    std::string input;
};

// The audio stage of one file. The first audio tag with data decides what the file's audio
// becomes: MP3 (sound format 2, or 14 for 8 kHz) goes to an output named base + ".mp3", and AAC,
// when asked for, to base + ".aac" as ADTS frames, each in a temporary file until finish() names
// it; any other format is told to the user once and yields nothing. A new file gets a new stage,
// so nothing carries over from the last one, and a stage destroyed unfinished leaves nothing
// behind.
class AudioStage {
public:
    // Notices go to `host`.
    AudioStage(platform::FileSystem& files, RunHost& host, OutputTarget target, RunOptions options)
        : files_(files), host_(host), target_(std::move(target)), options_(options) {}

    // One audio tag's data as the file held it, the audio header byte first.
    void HandleAudioTag(std::span<const std::byte> data);
    // True once nothing the file still holds can change how its audio ends: its output broke, or
    // its AAC turned out to be one ADTS can not carry.
    bool done() const {
        return extracted_ && (!output_ || output_->failed() || writer_->refusal());
    }
    // After the last tag: names the output and says what became of the file's audio.
    AudioOutcome finish();
    // The name of the output, once finish() has said it was written.
    const std::string& outputPath() const { return outputPath_; }

private:
    void StartAudio(std::uint8_t soundFormat);
    void OpenMp3();
    void OpenAac();
    bool createOutput(std::string_view extension);

    platform::FileSystem& files_;
    RunHost& host_;
    const OutputTarget target_;
    const RunOptions options_;
    // Set by the first audio tag with data.
    std::optional<std::uint8_t> soundFormat_;
    // That format is one this build extracts.
    bool extracted_ = false;
    // Declared before the writer, which writes to it and so must go first.
    std::unique_ptr<platform::OutputFile> output_;
    std::string outputPath_;
    std::unique_ptr<StreamWriter> writer_;
};

} // namespace quillon::engine
