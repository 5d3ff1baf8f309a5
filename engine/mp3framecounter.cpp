// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3framecounter.h"

#include <algorithm>
#include <utility>

namespace quillon::engine {

namespace {

std::uint32_t wordAt(const std::vector<std::byte>& bytes, std::size_t at) {
    return Mp3FrameHeader::wordAt(bytes.data() + at);
}

bool sameSignature(std::uint32_t a, std::uint32_t b) {
    return ((a ^ b) & mpeg::kStreamSignatureMask) == 0;
}

std::uint32_t bitrateIndexOf(std::uint32_t word) {
    return (word & mpeg::kBitrateMask) >> mpeg::kBitrateShift;
}

} // namespace

Mp3StreamSummary Mp3FrameCounter::finish() {
    if (mode_ == Mode::Searching) {
        search(true);
    }
    // A frame of the stream may end it. Before the format is known, only a stream of one frame
    // and nothing else shows it.
    if (mode_ == Mode::Searching && suspect_) {
        if (first_) {
            settleSuspect(total_, first_->word);
        } else if (suspect_->end + mpeg::kHeaderSize > total_) {
            settleSuspect(total_, suspect_->word);
        }
    }
    if (mode_ == Mode::Walking && next_ <= total_) {
        count(pendingStart_, pendingWord_);
    }

    Mp3StreamSummary summary;
    summary.frames = frames_;
    summary.bytes = total_;
    summary.constantBitrate = !mixedBitrates_;
    summary.firstFrame = first_;
    summary.obstacle = obstacle_ != VbrHeaderObstacle::None ? obstacle_
                       : frames_ == 0                       ? VbrHeaderObstacle::NoAudioFrames
                                                            : VbrHeaderObstacle::None;
    if (frames_ > 0) {
        for (std::size_t i = 0; i < summary.seekOffsets.size(); ++i) {
            const std::uint64_t frame = i * frames_ / summary.seekOffsets.size();
            summary.seekOffsets[i] = offsets_[frame / stride_];
        }
    }
    return summary;
}

bool Mp3FrameCounter::walk(std::span<const std::byte> bytes, std::uint64_t base) {
    if (headHeld_ > 0) {
        // The header's first bytes came with the piece before.
        const std::size_t take = std::min(mpeg::kHeaderSize - headHeld_, bytes.size());
        std::copy_n(bytes.begin(), take, head_.begin() + headHeld_);
        headHeld_ += take;
        if (headHeld_ < mpeg::kHeaderSize) {
            return true;
        }
        const std::uint32_t word = Mp3FrameHeader::wordAt(head_.data());
        if (!step(word)) {
            startSearching(bytes, base, word);
            return false;
        }
        headHeld_ = 0;
    }
    return walkFrames(bytes, base);
}

// The hot path: per frame one load, one compare and one table look-up, whatever the frame's size.
inline bool Mp3FrameCounter::walkFrames(std::span<const std::byte> bytes, std::uint64_t base) {
    const std::uint64_t end = base + bytes.size();
    while (next_ + mpeg::kHeaderSize <= end) {
        const std::uint32_t word = Mp3FrameHeader::wordAt(bytes.data() + (next_ - base));
        if (!step(word)) {
            startSearching(bytes, base, word);
            return false;
        }
    }
    if (next_ < end) {
        // The next header's first bytes; the rest come with the next piece.
        headHeld_ = end - next_;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(next_ - base), headHeld_,
                    head_.begin());
    }
    return true;
}

inline bool Mp3FrameCounter::step(std::uint32_t word) {
    const std::uint32_t length =
        (word & mpeg::kStreamFormatMask) == format_
            ? lengths_[(word >> mpeg::kPaddingShift) & mpeg::kLengthKeyBits]
            : 0;
    if (length == 0) {
        return false;
    }
    count(pendingStart_, pendingWord_);
    pendingStart_ = next_;
    pendingWord_ = word;
    next_ += length;
    return true;
}

void Mp3FrameCounter::feed(std::span<const std::byte> bytes) {
    const std::uint64_t base = total_;
    total_ += bytes.size();
    if (mode_ == Mode::Stopped) {
        return;
    }
    if (mode_ == Mode::Walking) {
        if (headHeld_ == 0 ? walkFrames(bytes, base) : walk(bytes, base)) {
            return;
        }
    } else {
        scan_.insert(scan_.end(), bytes.begin(), bytes.end());
    }
    search(false);
}

void Mp3FrameCounter::startSearching(std::span<const std::byte> bytes, std::uint64_t base,
                                     std::uint32_t word) {
    if ((word & mpeg::kStreamFormatMask) == format_ &&
        bitrateIndexOf(word) == mpeg::kFreeFormatBitrateIndex) {
        stop(VbrHeaderObstacle::FreeFormat);
        return;
    }
    // The frame before claims a length that leads to no frame of the stream: either junk follows
    // it, or it was cut short and hides the start of the next frame. The search starts just after
    // its first byte, as far back as the bytes at hand reach, and the next frame found tells.
    const std::uint64_t from = pendingStart_ + 1;
    suspect_ = Frame{pendingStart_, next_, pendingWord_};
    if (headHeld_ > 0) {
        scanBase_ = next_;
        scan_.assign(head_.begin(), head_.begin() + static_cast<std::ptrdiff_t>(base - next_));
        scan_.insert(scan_.end(), bytes.begin(), bytes.end());
        headHeld_ = 0;
    } else {
        scanBase_ = std::max(from, base);
        scan_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(scanBase_ - base), bytes.end());
    }
    mode_ = Mode::Searching;
}

void Mp3FrameCounter::search(bool atEnd) {
    while (mode_ == Mode::Searching && findFrame(atEnd)) {
        // A confirmed frame ends at next_: walk on from there.
        rest_.assign(scan_.begin() + static_cast<std::ptrdiff_t>(next_ - scanBase_), scan_.end());
        scan_.clear();
        if (walk(rest_, next_)) {
            return;
        }
    }
}

bool Mp3FrameCounter::findFrame(bool atEnd) {
    const std::size_t size = scan_.size();
    // Only the first frame has a deadline.
    const std::size_t limit =
        first_ ? size
               : static_cast<std::size_t>(std::min<std::uint64_t>(
                     size, kFirstFrameSearchLimit - std::min(scanBase_, kFirstFrameSearchLimit)));
    std::size_t at = 0;
    while (at < limit && at + mpeg::kHeaderSize <= size) {
        // Every header starts with a 0xFF byte.
        const auto last = scan_.begin() + static_cast<std::ptrdiff_t>(
                                              std::min(limit, size - mpeg::kHeaderSize + 1));
        const auto sync =
            std::find(scan_.begin() + static_cast<std::ptrdiff_t>(at), last, std::byte{0xFF});
        at = static_cast<std::size_t>(sync - scan_.begin());
        if (sync == last) {
            break;
        }
        const auto frame = Mp3FrameHeader::parse(wordAt(scan_, at));
        if (frame && frame->isFreeFormat()) {
            if (frame->layer == 3 && noteFreeFormat(scanBase_ + at, frame->word)) {
                return false;
            }
            ++at;
            continue;
        }
        const Evidence evidence = frame ? weigh(at, *frame, atEnd) : Evidence::None;
        if (evidence == Evidence::Wait) {
            break;
        }
        const Frame found{scanBase_ + at, scanBase_ + at + (frame ? frame->frameLength() : 0),
                          frame ? frame->word : 0};
        if (evidence == Evidence::Confirmed) {
            if (!settleSuspect(found.start, found.word) || !adopt(*frame)) {
                return false;
            }
            pendingStart_ = found.start;
            pendingWord_ = found.word;
            next_ = found.end;
            mode_ = Mode::Walking;
            return true;
        }
        if (evidence == Evidence::Lone) {
            // Perhaps a frame with junk after it, perhaps one cut short, perhaps junk: the frame
            // found next tells. The search goes on inside it. Before the stream's format is known,
            // only the first such frame is kept, until one that ends the stream.
            const bool endsStream = found.end + mpeg::kHeaderSize > total_;
            if ((first_ || (suspect_ && endsStream)) && !settleSuspect(found.start, found.word)) {
                return false;
            }
            if (first_ || !suspect_ || endsStream) {
                suspect_ = found;
            }
        }
        ++at;
    }
    if (!first_ && scanBase_ + at >= kFirstFrameSearchLimit) {
        stop(VbrHeaderObstacle::NoAudioFrames);
        return false;
    }
    const std::size_t done = std::min(at, size);
    scan_.erase(scan_.begin(), scan_.begin() + static_cast<std::ptrdiff_t>(done));
    scanBase_ += done;
    return false;
}

Mp3FrameCounter::Evidence Mp3FrameCounter::weigh(std::size_t at, const Mp3FrameHeader& frame,
                                                 bool atEnd) const {
    const std::size_t size = scan_.size();
    const bool known = first_ && frame.sameStreamFormat(*first_);
    const auto followedBy = [&](std::size_t where) {
        const auto next = Mp3FrameHeader::parse(wordAt(scan_, where));
        return next && !next->isFreeFormat() && next->sameStreamFormat(frame) ? next : std::nullopt;
    };
    const bool lone = first_ ? sameSignature(frame.word, first_->word) : true;
    const std::size_t end = at + frame.frameLength();
    if (end + mpeg::kHeaderSize > size) {
        if (!atEnd) {
            return Evidence::Wait;
        }
        return lone && end <= size ? Evidence::Lone : Evidence::None;
    }
    const auto second = followedBy(end);
    if (!second) {
        return lone ? Evidence::Lone : Evidence::None;
    }
    if (known || !first_) {
        return Evidence::Confirmed;
    }
    // A change of format needs three frames in a row: junk rich in 0xFF bytes shows two now and
    // then.
    const std::size_t third = end + second->frameLength();
    if (third + mpeg::kHeaderSize > size) {
        return atEnd ? Evidence::None : Evidence::Wait;
    }
    return followedBy(third) ? Evidence::Confirmed : Evidence::None;
}

bool Mp3FrameCounter::adopt(const Mp3FrameHeader& frame) {
    if (first_) {
        if (frame.sameStreamFormat(*first_)) {
            return true;
        }
        stop(VbrHeaderObstacle::FormatChanges);
        return false;
    }
    if (frame.layer != 3) {
        stop(VbrHeaderObstacle::NotLayerThree);
        return false;
    }
    first_ = frame;
    firstBitrate_ = bitrateIndexOf(frame.word);
    format_ = frame.word & mpeg::kStreamFormatMask;
    for (std::uint32_t key = 0; key < lengths_.size(); ++key) {
        const std::uint32_t word = format_ | (key << mpeg::kPaddingShift);
        const auto h = Mp3FrameHeader::parse(word);
        lengths_[key] = h && (word & mpeg::kStreamFormatMask) == format_
                            ? static_cast<std::uint16_t>(h->frameLength())
                            : 0;
    }
    return true;
}

bool Mp3FrameCounter::noteFreeFormat(std::uint64_t at, std::uint32_t word) {
    // Three free-format headers of one stream, evenly spaced no further apart than a frame is
    // long: a free-format stream, not a chance pattern in junk.
    const bool twin = freeFormatAt_ && at - *freeFormatAt_ <= mpeg::kMaxFrameLength &&
                      sameSignature(word, freeFormatWord_);
    const std::uint64_t gap = twin ? at - *freeFormatAt_ : 0;
    // Padding makes a frame one byte longer now and then.
    if (twin && freeFormatGap_ > 0 && gap + 1 >= freeFormatGap_ && gap <= freeFormatGap_ + 1) {
        stop(VbrHeaderObstacle::FreeFormat);
        return true;
    }
    freeFormatAt_ = at;
    freeFormatWord_ = word;
    freeFormatGap_ = gap;
    return false;
}

bool Mp3FrameCounter::settleSuspect(std::uint64_t nextStart, std::uint32_t nextWord) {
    const std::optional<Frame> suspect = std::exchange(suspect_, std::nullopt);
    if (!suspect || suspect->end > nextStart || !sameSignature(suspect->word, nextWord)) {
        return true;
    }
    if (!first_ && !adopt(*Mp3FrameHeader::parse(suspect->word))) {
        return false;
    }
    count(suspect->start, suspect->word);
    return true;
}

inline void Mp3FrameCounter::count(std::uint64_t start, std::uint32_t word) {
    mixedBitrates_ = mixedBitrates_ || bitrateIndexOf(word) != firstBitrate_;
    if (frames_ == nextKept_) {
        keepOffset(start);
    }
    ++frames_;
}

void Mp3FrameCounter::keepOffset(std::uint64_t start) {
    if (offsets_.size() == kExactOffsets) {
        // Keep every other offset and from now on every other frame's: memory stays fixed. The
        // frame at hand is a multiple of the doubled stride, so it is kept.
        for (std::size_t i = 0; i < kExactOffsets / 2; ++i) {
            offsets_[i] = offsets_[2 * i];
        }
        offsets_.resize(kExactOffsets / 2);
        stride_ *= 2;
    }
    offsets_.push_back(start);
    nextKept_ = frames_ + stride_;
}

void Mp3FrameCounter::stop(VbrHeaderObstacle why) {
    obstacle_ = why;
    mode_ = Mode::Stopped;
    suspect_.reset();
    scan_ = {};
    rest_ = {};
}

} // namespace quillon::engine
