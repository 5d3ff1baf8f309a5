// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3writer.h"

#include "engine/vbrheader.h"

#include <algorithm>

namespace quillon::engine {

namespace {
// What a leading tag moves by at a time when a kept place is given up.
constexpr std::size_t kMovePiece = 1 << 16;
} // namespace

Mp3Writer::Mp3Writer(platform::OutputFile& file, bool withVbrHeader) : file_(file) {
    if (withVbrHeader) {
        held_.reserve(kHeldAtMost);
        counter_.emplace([this](std::uint64_t offset, std::span<std::byte> into) {
            return recall(offset, into);
        });
    }
}

void Mp3Writer::hold(std::span<const std::byte> bytes) {
    held_.insert(held_.end(), bytes.begin(), bytes.end());
    decidePlace();
}

// A leading ID3v2 tag goes out as it comes: nothing of ours goes before it.
void Mp3Writer::passLeadingTag() {
    const std::uint64_t place = counter_->headerPlace().value_or(0);
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>(place - passed_, held_.size()));
    if (count == 0) {
        return;
    }
    file_.write(std::span(held_).first(count));
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(count));
    passed_ += count;
}

// Held bytes stay bounded: the counter gives up on a stream whose first frame is not near the
// place, and a stream that keeps one bitrate for kHeldAtMost bytes is taken to keep it (a
// variable-bitrate one then gets a frame of its first bitrate, larger than it needs).
void Mp3Writer::decidePlace() {
    if (!counter_->headerPlace()) {
        return;
    }
    passLeadingTag();
    if (passed_ < *counter_->headerPlace()) {
        return;
    }
    if (counter_->obstacle() != VbrHeaderObstacle::None) {
        place_ = HeaderPlace::Given;
    } else if (counter_->firstFrame() &&
               (counter_->bitratesVary() || held_.size() >= kHeldAtMost)) {
        kept_ = vbrHeaderFrameHeader(*counter_->firstFrame(), !counter_->bitratesVary());
        place_ = HeaderPlace::Kept;
        file_.write(std::vector<std::byte>(kept_->frameLength()));
    } else {
        return;
    }
    file_.write(held_);
    held_ = {};
}

// The counter asks again for bytes of a frame cut short: they are held, or in the file after the
// kept place.
bool Mp3Writer::recall(std::uint64_t offset, std::span<std::byte> into) {
    if (offset < passed_) {
        return false;
    }
    const std::uint64_t at = offset - passed_;
    switch (place_) {
    case HeaderPlace::Pending:
        if (at > held_.size() || into.size() > held_.size() - at) {
            return false;
        }
        std::copy_n(held_.begin() + static_cast<std::ptrdiff_t>(at), into.size(), into.begin());
        return true;
    case HeaderPlace::Kept:
        return file_.readAt(offset + kept_->frameLength(), into);
    case HeaderPlace::Given:
        break;
    }
    return false;
}

std::optional<Notice> Mp3Writer::finish() {
    if (!counter_) {
        return std::nullopt;
    }
    const Mp3StreamSummary stream = counter_->finish();
    const VbrHeaderFrame header = buildVbrHeaderFrame(stream, kept_);
    switch (place_) {
    case HeaderPlace::Pending:
        // A stream that ended before the header frame's size was known: it goes in now.
        passLeadingTag();
        file_.write(header.bytes);
        file_.write(held_);
        break;
    case HeaderPlace::Kept:
        // A stream that changed format after the place was kept must still come out plain.
        if (header.bytes.empty()) {
            dropPlace();
        } else {
            file_.writeAt(passed_, header.bytes);
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

// Gives up the kept place. A leading tag first moves up over it, last bytes first so that nothing
// is overwritten before it is read; then the front that is left over goes.
void Mp3Writer::dropPlace() {
    const std::uint64_t length = kept_->frameLength();
    std::vector<std::byte> piece(std::min<std::uint64_t>(passed_, kMovePiece));
    for (std::uint64_t end = passed_; end > 0;) {
        const auto chunk = std::span(piece).first(
            static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), end)));
        end -= chunk.size();
        if (!file_.readAt(end, chunk) || !file_.writeAt(end + length, chunk)) {
            return;
        }
    }
    file_.dropFront(length);
}

} // namespace quillon::engine
