// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3output.h"
#include "platform/filesystem.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace quillon::engine {

// The audio stage of one file: the first audio tag decides whether the file's audio is MP3 at
// all; if it is, the payload of every audio tag goes to the output, in file order, with nothing
// before or after it. A new file gets a new writer, so nothing carries over from the last one.
// An output that could not be made whole is never left behind.
class Mp3Writer {
public:
    // With `withVbrHeader` the output starts with a VBR header frame where the stream allows one.
    Mp3Writer(platform::FileSystem& files, std::string Mp3Path, bool withVbrHeader = false)
        : files_(files), Mp3Path(std::move(Mp3Path)), withVbrHeader_(withVbrHeader) {}

    // True once the first audio tag of the file has been handled.
    bool AudioStarted() const { return audioStarted_; }
    // Handles the sound format of the first audio tag and creates the output. False when the
    // audio is not MP3: then nothing is written for this file.
    bool StartAudio(std::uint8_t soundFormat);
    // Appends a tag's audio payload (its data less the audio header byte).
    void WriteMp3(std::span<const std::byte> payload);
    // After the last tag: gives the output its name. False when it could not be created, written
    // or named; nothing of it is left then.
    bool CloseMp3();
    // True once the output could not be created or a write to it failed.
    bool writeFailed() const { return writeFailed_; }
    // True once CloseMp3 has given a complete output its name.
    bool outputWritten() const { return outputWritten_; }
    // After CloseMp3: why an output that was asked to start with a VBR header frame is the plain
    // stream; None when it has one, was not asked for one, or there is no output.
    VbrHeaderObstacle vbrHeaderObstacle() const { return vbrHeaderObstacle_; }

private:
    bool OpenMp3();

    platform::FileSystem& files_;
    const std::string Mp3Path;
    const bool withVbrHeader_;
    std::unique_ptr<Mp3Output> output_;
    VbrHeaderObstacle vbrHeaderObstacle_ = VbrHeaderObstacle::None;
    bool audioStarted_ = false;
    // Nothing more is written for this file: its audio is not MP3, or the output failed.
    bool skipAudio_ = false;
    bool writeFailed_ = false;
    bool outputWritten_ = false;
};

} // namespace quillon::engine
