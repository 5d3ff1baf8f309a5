// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3output.h"

#include "engine/vbrheader.h"

namespace quillon::engine {

std::unique_ptr<Mp3Output> Mp3Output::create(platform::FileSystem& files,
                                             const std::string& Mp3Path, bool withVbrHeader) {
    auto file = files.createOutput(Mp3Path);
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<Mp3Output>(new Mp3Output(std::move(file), withVbrHeader));
}

Mp3Output::Mp3Output(std::unique_ptr<platform::OutputFile> file, bool withVbrHeader)
    : file_(std::move(file)) {
    if (withVbrHeader) {
        counter_.emplace();
    }
}

bool Mp3Output::writeCounted(std::span<const std::byte> bytes) {
    counter_->feed(bytes);
    if (place_ != HeaderPlace::Pending) {
        return writeThrough(bytes);
    }
    held_.insert(held_.end(), bytes.begin(), bytes.end());
    decidePlace();
    return !failed_;
}

// Held bytes stay bounded: the counter gives up on a stream whose first frame is not near its
// start.
void Mp3Output::decidePlace() {
    if (counter_->firstFrame()) {
        reserved_ = vbrHeaderFrameSize(*counter_->firstFrame());
        place_ = HeaderPlace::Kept;
        writeThrough(std::vector<std::byte>(reserved_));
    } else if (counter_->obstacle() != VbrHeaderObstacle::None) {
        place_ = HeaderPlace::Given;
    } else {
        return;
    }
    writeThrough(held_);
    held_ = {};
}

bool Mp3Output::finish() {
    if (counter_ && !failed_) {
        finishHeader();
    }
    return !failed_ && file_->commit();
}

void Mp3Output::finishHeader() {
    const VbrHeaderFrame header = buildVbrHeaderFrame(counter_->finish());
    obstacle_ = header.obstacle;
    switch (place_) {
    case HeaderPlace::Pending:
        // A stream too short to show its first frame before the end: the header frame, if any,
        // goes in front of it now.
        writeThrough(header.bytes);
        writeThrough(held_);
        break;
    case HeaderPlace::Kept:
        // A stream that changed format after the place was kept must still come out plain.
        failed_ =
            !(header.bytes.empty() ? file_->dropFront(reserved_) : file_->writeAt(0, header.bytes));
        break;
    case HeaderPlace::Given:
        break;
    }
}

} // namespace quillon::engine
