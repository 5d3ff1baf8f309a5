// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3writer.h"

#include "engine/flvformat.h"

#include <new>

namespace quillon::engine {

bool Mp3Writer::StartAudio(std::uint8_t soundFormat) {
    audioStarted_ = true;
    if (soundFormat != flv::kSoundFormatMp3) {
        skipAudio_ = true;
        return false;
    }
    OpenMp3();
    return true;
}

bool Mp3Writer::OpenMp3() {
    try {
        output_ = Mp3Output::create(files_, Mp3Path, withVbrHeader_);
    } catch (const std::bad_alloc&) {
        // No memory for the output's buffer: the same to the user as a folder that takes no file.
        output_.reset();
    }
    if (!output_) {
        skipAudio_ = true;
        writeFailed_ = true;
        return false;
    }
    return true;
}

void Mp3Writer::WriteMp3(std::span<const std::byte> payload) {
    if (skipAudio_ || payload.empty()) {
        return;
    }
    if (!output_->write(payload)) {
        // Later tags would only make a broken file longer.
        skipAudio_ = true;
        writeFailed_ = true;
    }
}

bool Mp3Writer::CloseMp3() {
    if (output_ && !writeFailed_) {
        writeFailed_ = !output_->finish();
        outputWritten_ = !writeFailed_;
        vbrHeaderObstacle_ = output_->vbrHeaderObstacle();
    }
    output_.reset();
    return !writeFailed_;
}

} // namespace quillon::engine
