// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3writer.h"

#include "engine/vbrheader.h"

namespace quillon::engine {

Mp3Writer::Mp3Writer(platform::OutputFile& file, bool withVbrHeader) : file_(file) {
    if (withVbrHeader) {
        counter_.emplace();
    }
}

void Mp3Writer::writeCounted(std::span<const std::byte> bytes) {
    counter_->feed(bytes);
    if (place_ != HeaderPlace::Pending) {
        file_.write(bytes);
        return;
    }
    held_.insert(held_.end(), bytes.begin(), bytes.end());
    decidePlace();
}

// Held bytes stay bounded: the counter gives up on a stream whose first frame is not near its
// start.
void Mp3Writer::decidePlace() {
    if (counter_->firstFrame()) {
        reserved_ = vbrHeaderFrameSize(*counter_->firstFrame());
        place_ = HeaderPlace::Kept;
        file_.write(std::vector<std::byte>(reserved_));
    } else if (counter_->obstacle() != VbrHeaderObstacle::None) {
        place_ = HeaderPlace::Given;
    } else {
        return;
    }
    file_.write(held_);
    held_ = {};
}

std::optional<Notice> Mp3Writer::finish() {
    if (!counter_) {
        return std::nullopt;
    }
    const VbrHeaderFrame header = buildVbrHeaderFrame(counter_->finish());
    switch (place_) {
    case HeaderPlace::Pending:
        // A stream too short to show its first frame before the end: the header frame, if any,
        // goes in front of it now.
        file_.write(header.bytes);
        file_.write(held_);
        break;
    case HeaderPlace::Kept:
        // A stream that changed format after the place was kept must still come out plain.
        if (header.bytes.empty()) {
            file_.dropFront(reserved_);
        } else {
            file_.writeAt(0, header.bytes);
        }
        break;
    case HeaderPlace::Given:
        break;
    }
    if (header.obstacle == VbrHeaderObstacle::None) {
        return std::nullopt;
    }
    return Notice{Notice::Kind::NoVbrHeader, header.obstacle};
}

} // namespace quillon::engine
