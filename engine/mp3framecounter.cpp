// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mp3framecounter.h"

#include "engine/bigendian.h"

#include <algorithm>
#include <utility>

namespace quillon::engine {

namespace {

bool sameSignature(std::uint32_t a, std::uint32_t b) {
    return ((a ^ b) & mpeg::kStreamSignatureMask) == 0;
}

std::ptrdiff_t distance(std::size_t n) {
    return static_cast<std::ptrdiff_t>(n);
}

} // namespace

VbrHeaderObstacle Mp3FrameCounter::Tally::adopt(const Mp3FrameHeader& frame) {
    if (first_) {
        return frame.sameStreamFormat(*first_) ? VbrHeaderObstacle::None
                                               : VbrHeaderObstacle::FormatChanges;
    }
    if (frame.layer != 3) {
        return VbrHeaderObstacle::NotLayerThree;
    }
    first_ = frame;
    firstBitrate_ = frame.word & mpeg::kBitrateMask;
    format_ = frame.word & mpeg::kStreamFormatMask;
    for (std::uint32_t key = 0; key < lengths_.size(); ++key) {
        const std::uint32_t word = format_ | (key << mpeg::kPaddingShift);
        const auto h = Mp3FrameHeader::parse(word);
        lengths_[key] = h && (word & mpeg::kStreamFormatMask) == format_
                            ? static_cast<std::uint16_t>(h->frameLength())
                            : 0;
    }
    return VbrHeaderObstacle::None;
}

void Mp3FrameCounter::Tally::keepOffset(std::uint64_t start) {
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

Mp3StreamSummary Mp3FrameCounter::Tally::summary(std::uint64_t bytes) const {
    Mp3StreamSummary summary;
    summary.frames = frames_;
    summary.bytes = bytes;
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

void Mp3FrameCounter::feed(std::span<const std::byte> bytes) {
    const std::uint64_t base = total_;
    total_ += bytes.size();
    if (Walk* w = std::get_if<Walk>(&mode_)) {
        if (walk(*w, bytes, base)) {
            return;
        }
    } else if (Search* s = std::get_if<Search>(&mode_)) {
        s->bytes.insert(s->bytes.end(), bytes.begin(), bytes.end());
    } else {
        return;
    }
    search(false);
}

Mp3StreamSummary Mp3FrameCounter::finish() {
    search(true);
    // A frame of the stream may end it. Before the format is known, only a stream of one frame
    // and nothing else shows it.
    if (Search* s = std::get_if<Search>(&mode_); s && s->suspect) {
        if (tally_.first()) {
            settleSuspect(*s, total_, tally_.first()->word);
        } else if (s->suspect->end + mpeg::kHeaderSize > total_) {
            settleSuspect(*s, total_, s->suspect->word);
        }
    }
    if (const Walk* w = std::get_if<Walk>(&mode_); w && w->next <= total_) {
        tally_.count(w->pendingStart, w->pendingWord);
    }
    return tally_.summary(total_);
}

// The hot path: per frame one load, one compare and one table look-up, whatever the frame's size.
inline bool Mp3FrameCounter::walk(Walk& w, std::span<const std::byte> bytes, std::uint64_t base) {
    if (w.headHeld > 0) {
        if (!completeHead(w, bytes, base)) {
            return false;
        }
        if (w.headHeld > 0) {
            return true; // the header is still not all there
        }
    }
    const std::uint64_t end = base + bytes.size();
    while (w.next + mpeg::kHeaderSize <= end) {
        if (!step(w, readBigEndian32(bytes.data() + (w.next - base)))) {
            loseStep(w, bytes, base);
            return false;
        }
    }
    if (w.next < end) {
        // The next header's first bytes; the rest come with the next piece.
        w.headHeld = end - w.next;
        std::copy_n(bytes.begin() + distance(w.next - base), w.headHeld, w.head.begin());
    }
    return true;
}

inline bool Mp3FrameCounter::step(Walk& w, std::uint32_t word) {
    const std::uint32_t length = tally_.lengthOf(word);
    if (length == 0) {
        return false;
    }
    tally_.count(w.pendingStart, w.pendingWord);
    w.pendingStart = w.next;
    w.pendingWord = word;
    w.next += length;
    return true;
}

// A header whose first bytes came with the piece before: false when it is not the next frame's.
bool Mp3FrameCounter::completeHead(Walk& w, std::span<const std::byte> bytes, std::uint64_t base) {
    const std::size_t take = std::min(mpeg::kHeaderSize - w.headHeld, bytes.size());
    std::copy_n(bytes.begin(), take, w.head.begin() + distance(w.headHeld));
    w.headHeld += take;
    if (w.headHeld < mpeg::kHeaderSize) {
        return true;
    }
    if (!step(w, readBigEndian32(w.head.data()))) {
        loseStep(w, bytes, base);
        return false;
    }
    w.headHeld = 0;
    return true;
}

// The frame before the header due at `w.next` claims a length that leads to no frame of the
// stream: either junk follows it, or it was cut short and hides the start of the next frame. The
// search starts just after its first byte, as far back as the bytes at hand reach, and the next
// frame found tells.
void Mp3FrameCounter::loseStep(Walk& w, std::span<const std::byte> bytes, std::uint64_t base) {
    const std::uint32_t word = w.headHeld > 0 ? readBigEndian32(w.head.data())
                                              : readBigEndian32(bytes.data() + (w.next - base));
    if ((word & mpeg::kStreamFormatMask) == tally_.format() &&
        (word & mpeg::kBitrateMask) >> mpeg::kBitrateShift == mpeg::kFreeFormatBitrateIndex) {
        stop(VbrHeaderObstacle::FreeFormat);
        return;
    }
    Search s;
    s.suspect = Frame{w.pendingStart, w.next, w.pendingWord};
    if (w.headHeld > 0) {
        s.base = w.next;
        s.bytes.assign(w.head.begin(), w.head.begin() + distance(base - w.next));
        s.bytes.insert(s.bytes.end(), bytes.begin(), bytes.end());
    } else {
        s.base = std::max(w.pendingStart + 1, base);
        s.bytes.assign(bytes.begin() + distance(s.base - base), bytes.end());
    }
    mode_ = std::move(s);
}

void Mp3FrameCounter::search(bool atEnd) {
    while (Search* s = std::get_if<Search>(&mode_)) {
        const std::optional<Frame> found = findFrame(*s, atEnd);
        if (!found) {
            return;
        }
        // A confirmed frame ends at found->end: walk on from there.
        const std::vector<std::byte> bytes = std::move(s->bytes);
        const std::size_t from = found->end - s->base;
        mode_ = Walk{found->start, found->word, found->end};
        if (walk(std::get<Walk>(mode_), std::span(bytes).subspan(from), found->end)) {
            return;
        }
    }
}

std::optional<Mp3FrameCounter::Frame> Mp3FrameCounter::findFrame(Search& s, bool atEnd) {
    const std::size_t size = s.bytes.size();
    // Only the first frame has a deadline.
    const std::size_t limit =
        tally_.first()
            ? size
            : static_cast<std::size_t>(std::min<std::uint64_t>(
                  size, kFirstFrameSearchLimit - std::min(s.base, kFirstFrameSearchLimit)));
    std::size_t at = 0;
    while (at < limit && at + mpeg::kHeaderSize <= size) {
        // Every header starts with a 0xFF byte.
        const auto last = s.bytes.begin() + distance(std::min(limit, size - mpeg::kHeaderSize + 1));
        const auto sync = std::find(s.bytes.begin() + distance(at), last, std::byte{0xFF});
        at = static_cast<std::size_t>(sync - s.bytes.begin());
        if (sync == last) {
            break;
        }
        const auto frame = Mp3FrameHeader::parse(readBigEndian32(&*sync));
        if (!frame) {
            ++at;
            continue;
        }
        const Frame found{s.base + at, s.base + at + frame->frameLength(), frame->word};
        if (frame->isFreeFormat()) {
            if (frame->layer == 3 && seenFreeFormat(s, found)) {
                return std::nullopt;
            }
            ++at;
            continue;
        }
        const Evidence evidence = weigh(s, at, *frame, atEnd);
        if (evidence == Evidence::Wait) {
            break;
        }
        if (evidence == Evidence::Confirmed) {
            if (!settleSuspect(s, found.start, found.word)) {
                return std::nullopt;
            }
            if (const auto why = tally_.adopt(*frame); why != VbrHeaderObstacle::None) {
                stop(why);
                return std::nullopt;
            }
            return found;
        }
        if (evidence == Evidence::Lone && !judgeLone(s, found)) {
            return std::nullopt;
        }
        ++at;
    }
    if (!tally_.first() && s.base + at >= kFirstFrameSearchLimit) {
        stop(VbrHeaderObstacle::NoAudioFrames);
        return std::nullopt;
    }
    const std::size_t done = std::min(at, size);
    s.bytes.erase(s.bytes.begin(), s.bytes.begin() + distance(done));
    s.base += done;
    return std::nullopt;
}

Mp3FrameCounter::Evidence Mp3FrameCounter::weigh(const Search& s, std::size_t at,
                                                 const Mp3FrameHeader& frame, bool atEnd) const {
    const std::size_t size = s.bytes.size();
    const auto& first = tally_.first();
    const bool known = first && frame.sameStreamFormat(*first);
    const auto followedBy = [&](std::size_t where) {
        const auto next = Mp3FrameHeader::parse(readBigEndian32(&s.bytes[where]));
        return next && !next->isFreeFormat() && next->sameStreamFormat(frame) ? next : std::nullopt;
    };
    const bool lone = first ? sameSignature(frame.word, first->word) : true;
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
    if (known || !first) {
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

// Perhaps a frame with junk after it, perhaps one cut short, perhaps junk: the frame found next
// tells, and the search goes on inside it. Before the stream's format is known, only the first
// such frame is kept, until one that ends the stream.
bool Mp3FrameCounter::judgeLone(Search& s, const Frame& found) {
    const bool endsStream = found.end + mpeg::kHeaderSize > total_;
    const bool known = tally_.first().has_value();
    if ((known || (s.suspect && endsStream)) && !settleSuspect(s, found.start, found.word)) {
        return false;
    }
    if (known || !s.suspect || endsStream) {
        s.suspect = found;
    }
    return true;
}

// Three free-format headers of one stream, evenly spaced no further apart than a frame is long:
// a free-format stream, not a chance pattern in junk. True once that is seen (and the count
// stopped).
bool Mp3FrameCounter::seenFreeFormat(Search& s, const Frame& found) {
    const bool twin = s.freeFormat && found.start - s.freeFormat->start <= mpeg::kMaxFrameLength &&
                      sameSignature(found.word, s.freeFormat->word);
    const std::uint64_t gap = twin ? found.start - s.freeFormat->start : 0;
    // Padding makes a frame one byte longer now and then.
    if (twin && s.freeFormatGap > 0 && gap + 1 >= s.freeFormatGap && gap <= s.freeFormatGap + 1) {
        stop(VbrHeaderObstacle::FreeFormat);
        return true;
    }
    s.freeFormat = found;
    s.freeFormatGap = gap;
    return false;
}

// The suspect counts when the frame found next starts at or after its end and looks like a frame
// of the same stream. False when the count stopped.
bool Mp3FrameCounter::settleSuspect(Search& s, std::uint64_t nextStart, std::uint32_t nextWord) {
    const std::optional<Frame> suspect = std::exchange(s.suspect, std::nullopt);
    if (!suspect || suspect->end > nextStart || !sameSignature(suspect->word, nextWord)) {
        return true;
    }
    if (!tally_.first()) {
        if (const auto why = tally_.adopt(*Mp3FrameHeader::parse(suspect->word));
            why != VbrHeaderObstacle::None) {
            stop(why);
            return false;
        }
    }
    tally_.count(suspect->start, suspect->word);
    return true;
}

void Mp3FrameCounter::stop(VbrHeaderObstacle why) {
    tally_.stop(why);
    mode_ = std::monostate{};
}

} // namespace quillon::engine
