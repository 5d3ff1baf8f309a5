// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3frameheader.h"
#include "engine/rowstatus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace quillon::engine {

// What the counter learned about one whole stream.
struct Mp3StreamSummary {
    // Complete frames of the stream's format.
    std::uint64_t frames = 0;
    // Every byte fed, junk included.
    std::uint64_t bytes = 0;
    // All counted frames have the first one's bitrate.
    bool constantBitrate = true;
    // The first counted frame: its version, sample rate and channel mode are the stream's.
    std::optional<Mp3FrameHeader> firstFrame;
    // Offset in the stream of the frame at each whole percent of the frames (exact up to
    // Mp3FrameCounter::kExactOffsets frames, then of a frame at most 1/2048 of the frames earlier).
    std::array<std::uint64_t, xing::kTocSize> seekOffsets{};
    VbrHeaderObstacle obstacle = VbrHeaderObstacle::NoAudioFrames;
};

// The counter's modes, each with its own state; only Mp3FrameCounter uses them.
namespace framecount {

struct Frame {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::uint32_t word = 0;
};

// Walking: each header is due where the frame before it ends.
struct Walk {
    // The frame that ends at `next`, counted once the next header confirms it.
    std::uint64_t pendingStart = 0;
    std::uint32_t pendingWord = 0;
    std::uint64_t next = 0;
    // The next header's first bytes, when it spans two pieces.
    std::array<std::byte, mpeg::kHeaderSize> head{};
    std::size_t headHeld = 0;
};

// Searching: the bytes from `base` on that are not yet known to be frames or junk.
struct Search {
    std::vector<std::byte> bytes;
    std::uint64_t base = 0;
    // A frame with junk after it. It counts once a frame of the same stream is found after
    // it; a frame found inside it means it was cut short. Where the stream lost its way, this
    // is the last frame walked; otherwise a lone frame found in junk.
    std::optional<Frame> suspect;
    // The last free-format header seen, and its distance from the one before.
    std::optional<Frame> freeFormat;
    std::uint64_t freeFormatGap = 0;
};

} // namespace framecount

// Walks the MPEG audio frames of a stream fed in pieces of any size, as it is written. Frames are
// found by jumping their length (walking); only after bytes that are not a frame does it look at
// every byte (searching), until two frames in a row (three for a new sample rate, version or
// layer) show where the stream goes on. A frame counts once what follows confirms where it ends:
// the next frame's header or, after junk, the next frame found at or after its end, or the end of
// the stream. Which frame a frame cut short hides can only be told while its bytes are at hand, in
// the same piece.
class Mp3FrameCounter {
public:
    // A stream whose first frame comes later than this gets no header frame, so the output that
    // waits for it never holds more than this much.
    static constexpr std::uint64_t kFirstFrameSearchLimit = 1 << 20;
    // Frame offsets kept for the seek table; beyond this many frames every other one is dropped.
    static constexpr std::size_t kExactOffsets = 4096;

    void feed(std::span<const std::byte> bytes);
    // Ends the stream: a frame cut off by the end is not counted.
    Mp3StreamSummary finish();

    // The stream's first frame, known once a frame after it confirmed it (or at the end, for a
    // stream of one frame). From then on the header frame's size is fixed.
    const std::optional<Mp3FrameHeader>& firstFrame() const { return tally_.first(); }
    // Why no header frame can be made, as far as the stream has gone; None while all is well.
    VbrHeaderObstacle obstacle() const { return tally_.obstacle(); }

private:
    using Frame = framecount::Frame;
    using Walk = framecount::Walk;
    using Search = framecount::Search;

    // What is known of the stream whatever the mode: its format, once its first frame fixed it,
    // the frames counted so far and where some of them start.
    class Tally {
    public:
        Tally() { offsets_.reserve(kExactOffsets); }
        const std::optional<Mp3FrameHeader>& first() const { return first_; }
        VbrHeaderObstacle obstacle() const { return obstacle_; }
        // The length of a frame of the stream's format with this header; 0 for anything else
        // (another format, free format, a bad field, or no format yet).
        std::uint32_t lengthOf(std::uint32_t word) const {
            return (word & mpeg::kStreamFormatMask) == format_
                       ? lengths_[(word >> mpeg::kPaddingShift) & mpeg::kLengthKeyBits]
                       : 0;
        }
        // The format bits every frame of the stream shares; 0 while there is no first frame.
        std::uint32_t format() const { return format_; }
        // Takes the frame as the stream's first if there is none yet. What keeps it from being a
        // frame of this stream, if anything.
        VbrHeaderObstacle adopt(const Mp3FrameHeader& frame);
        void count(std::uint64_t start, std::uint32_t word) {
            mixedBitrates_ = mixedBitrates_ || (word & mpeg::kBitrateMask) != firstBitrate_;
            if (frames_ == nextKept_) {
                keepOffset(start);
            }
            ++frames_;
        }
        void stop(VbrHeaderObstacle why) { obstacle_ = why; }
        Mp3StreamSummary summary(std::uint64_t bytes) const;

    private:
        void keepOffset(std::uint64_t start);

        std::optional<Mp3FrameHeader> first_;
        // The stream's format bits, and frame lengths by bitrate, sample rate and padding bits.
        std::uint32_t format_ = 0;
        std::array<std::uint16_t, mpeg::kLengthKeyBits + 1> lengths_{};
        std::uint32_t firstBitrate_ = 0;
        bool mixedBitrates_ = false;
        std::uint64_t frames_ = 0;
        // The offset of every `stride_`-th frame; the next one kept is frame `nextKept_`.
        std::vector<std::uint64_t> offsets_;
        std::uint64_t stride_ = 1;
        std::uint64_t nextKept_ = 0;
        VbrHeaderObstacle obstacle_ = VbrHeaderObstacle::None;
    };

    // What the bytes after a header found while searching say about it.
    enum class Evidence : std::uint8_t {
        None,
        // Not enough bytes yet.
        Wait,
        // Frames of its format follow: the stream goes on from here.
        Confirmed,
        // Like a frame of the stream, but no frame follows right after it.
        Lone,
    };

    bool walk(Walk& w, std::span<const std::byte> bytes, std::uint64_t base);
    bool step(Walk& w, std::uint32_t word);
    bool completeHead(Walk& w, std::span<const std::byte> bytes, std::uint64_t base);
    void loseStep(Walk& w, std::span<const std::byte> bytes, std::uint64_t base);
    void search(bool atEnd);
    std::optional<Frame> findFrame(Search& s, bool atEnd);
    Evidence weigh(const Search& s, std::size_t at, const Mp3FrameHeader& frame, bool atEnd) const;
    bool judgeLone(Search& s, const Frame& found);
    bool seenFreeFormat(Search& s, const Frame& found);
    bool settleSuspect(Search& s, std::uint64_t nextStart, std::uint32_t nextWord);
    void stop(VbrHeaderObstacle why);

    std::uint64_t total_ = 0;
    Tally tally_;
    // Nothing: stopped, for good.
    std::variant<Search, Walk, std::monostate> mode_;
};

} // namespace quillon::engine
