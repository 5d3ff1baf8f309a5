#include "engine/mp3writer.h"

namespace quillon::engine {

Mp3Writer::~Mp3Writer() {
    CloseMp3();
}

void Mp3Writer::ResetMp3() {
    // An output still open belongs to a file whose loop never ended; it is not this file's.
    output_.reset();
    createdPath_.clear();
    writeFailed_ = false;
}

bool Mp3Writer::OpenMp3() {
    if (SkipAudio) {
        return true;
    }
    if (output_) {
        output_->close();
        output_.reset();
    }
    output_ = files_.createNew(Mp3Path);
    if (!output_) {
        output_ = files_.createAlways(Mp3Path);
    }
    if (!output_) {
        SkipAudio = true;
        writeFailed_ = true;
        return false;
    }
    createdPath_ = Mp3Path;
    return true;
}

void Mp3Writer::WriteMp3(std::span<const std::byte> payload) {
    if (SkipAudio || !output_ || payload.empty()) {
        return;
    }
    if (!output_->write(payload)) {
        // Later tags would only make a broken file longer.
        SkipAudio = true;
        writeFailed_ = true;
    }
}

void Mp3Writer::CloseMp3() {
    if (output_) {
        if (!output_->close()) {
            writeFailed_ = true;
        }
        output_.reset();
    }
    if (writeFailed_) {
        removeCreated();
    }
}

void Mp3Writer::discardOutput() {
    if (output_) {
        output_->close();
        output_.reset();
    }
    removeCreated();
}

void Mp3Writer::removeCreated() {
    if (!createdPath_.empty()) {
        files_.removeFile(createdPath_);
        createdPath_.clear();
    }
}

} // namespace quillon::engine
