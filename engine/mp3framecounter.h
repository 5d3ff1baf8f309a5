// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3frameheader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillon::engine {

// Why a stream gets no VBR/Info header frame.
enum class VbrHeaderObstacle : std::uint8_t {
    None,
    // No frame was found, or none within the first kFirstFrameSearchLimit bytes.
    NoAudioFrames,
    // Free-format frames carry no length, so they cannot be counted or indexed.
    FreeFormat,
    // The sample rate, MPEG version or layer changes mid-stream.
    FormatChanges,
    // The header frame only exists for layer III.
    NotLayerThree,
    // The header's byte count is 32 bits wide.
    StreamTooLong,
};

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
    std::array<std::uint64_t, 100> seekOffsets{};
    VbrHeaderObstacle obstacle = VbrHeaderObstacle::NoAudioFrames;
};

// Walks the MPEG audio frames of a stream fed in pieces of any size, as it is written. Frames are
// found by jumping their length; only after bytes that are not a frame does it look at every byte,
// until two frames in a row (three for a new sample rate, version or layer) show where the stream
// goes on. A frame counts once what follows confirms where it ends: the next frame's header or,
// after junk, the next frame found at or after its end, or the end of the stream. Which frame a
// frame cut short hides can only be told while its bytes are at hand, in the same piece.
class Mp3FrameCounter {
public:
    // A stream whose first frame comes later than this gets no header frame, so the output that
    // waits for it never holds more than this much.
    static constexpr std::uint64_t kFirstFrameSearchLimit = 1 << 20;
    // Frame offsets kept for the seek table; beyond this many frames every other one is dropped.
    static constexpr std::size_t kExactOffsets = 4096;

    Mp3FrameCounter() { offsets_.reserve(kExactOffsets); }

    void feed(std::span<const std::byte> bytes);
    // Ends the stream: a frame cut off by the end is not counted.
    Mp3StreamSummary finish();

    // The stream's first frame, known once a frame after it confirmed it (or at the end, for a
    // stream of one frame). From then on the header frame's size is fixed.
    const std::optional<Mp3FrameHeader>& firstFrame() const { return first_; }
    // Why no header frame can be made, as far as the stream has gone; None while all is well.
    VbrHeaderObstacle obstacle() const { return obstacle_; }

private:
    enum class Mode : std::uint8_t { Searching, Walking, Stopped };
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
    struct Frame {
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        std::uint32_t word = 0;
    };

    bool walk(std::span<const std::byte> bytes, std::uint64_t base);
    bool walkFrames(std::span<const std::byte> bytes, std::uint64_t base);
    bool step(std::uint32_t word);
    void startSearching(std::span<const std::byte> bytes, std::uint64_t base, std::uint32_t word);
    void search(bool atEnd);
    bool findFrame(bool atEnd);
    Evidence weigh(std::size_t at, const Mp3FrameHeader& frame, bool atEnd) const;
    bool adopt(const Mp3FrameHeader& frame);
    bool noteFreeFormat(std::uint64_t at, std::uint32_t word);
    bool settleSuspect(std::uint64_t nextStart, std::uint32_t nextWord);
    void count(std::uint64_t start, std::uint32_t word);
    void keepOffset(std::uint64_t start);
    void stop(VbrHeaderObstacle why);

    Mode mode_ = Mode::Searching;
    std::uint64_t total_ = 0;

    // Walking: where the next header is due, and its first bytes when it spans two pieces.
    std::uint64_t next_ = 0;
    std::array<std::byte, mpeg::kHeaderSize> head_{};
    std::size_t headHeld_ = 0;
    // Walking: the frame that ends at `next_`, counted once the next header confirms it.
    std::uint64_t pendingStart_ = 0;
    std::uint32_t pendingWord_ = 0;
    // Searching: a frame with junk after it. It counts once a frame of the same stream is found
    // after it; a frame found inside it means it was cut short. Where the stream lost its way,
    // this is the last frame walked; otherwise a lone frame found in junk.
    std::optional<Frame> suspect_;
    // The stream's format bits, and frame lengths by bitrate, sample rate and padding bits (0 for
    // anything that is not a fixed-length frame of the stream's sample rate).
    std::uint32_t format_ = 0;
    std::array<std::uint16_t, mpeg::kLengthKeyBits + 1> lengths_{};

    // Searching: the bytes from `scanBase_` on that are not yet known to be frames or junk.
    std::vector<std::byte> scan_;
    std::vector<std::byte> rest_;
    std::uint64_t scanBase_ = 0;
    std::optional<std::uint64_t> freeFormatAt_;
    std::uint32_t freeFormatWord_ = 0;
    std::uint64_t freeFormatGap_ = 0;

    std::optional<Mp3FrameHeader> first_;
    std::uint32_t firstBitrate_ = 0;
    bool mixedBitrates_ = false;
    std::uint64_t frames_ = 0;
    // The offset of every `stride_`-th frame; the next one kept is frame `nextKept_`.
    std::vector<std::uint64_t> offsets_;
    std::uint64_t stride_ = 1;
    std::uint64_t nextKept_ = 0;
    VbrHeaderObstacle obstacle_ = VbrHeaderObstacle::None;
};

} // namespace quillon::engine
