// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3framecounter.h"
#include "engine/streamwriter.h"
#include "platform/filesystem.h"

#include <optional>
#include <vector>

namespace quillon::engine {

// Writes MP3 audio as it comes: the payloads one after the other, with nothing before or after
// them.
//
// Asked for a VBR header frame, it walks the frames as they are written and puts the header frame
// in front of them in the same pass, after a leading ID3v2 tag if the stream has one. The bytes
// after that place are held back until the header frame's size is known (the stream's first
// frame, and whether its bitrate changes within kHeldAtMost bytes), then a place of that size is
// kept and filled in at the end. A stream that turns out to allow no header frame is left
// as the plain stream.
class Mp3Writer final : public StreamWriter {
public:
    // Bytes held back at most while the header frame's size waits on whether the bitrate changes:
    // a variable bitrate shows within a few frames, and a small hold stays in the cache.
    static constexpr std::size_t kHeldAtMost = 64 << 10;

    Mp3Writer(platform::OutputFile& file, bool withVbrHeader);
    Mp3Writer(const Mp3Writer&) = delete;
    Mp3Writer& operator=(const Mp3Writer&) = delete;

    // The hot path: once the place is decided, only the count comes on top of the write.
    void write(std::span<const std::byte> payload) override {
        if (counter_) {
            counter_->feed(payload);
            if (place_ == HeaderPlace::Pending) {
                hold(payload);
                return;
            }
        }
        file_.write(payload);
    }
    // Fills in the header frame, or says why the stream is plain.
    std::optional<Notice> finish() override;

private:
    // Where the header frame goes, while the stream is written.
    enum class HeaderPlace {
        Pending, // bytes held back until the header frame's size is known
        Kept,    // the header frame's bytes kept after the leading tag
        Given,   // the stream is plain: no header frame can be made
    };

    void hold(std::span<const std::byte> bytes);
    void passLeadingTag();
    void decidePlace();
    bool recall(std::uint64_t offset, std::span<std::byte> into);
    void dropPlace();

    platform::OutputFile& file_;
    std::optional<Mp3FrameCounter> counter_;
    HeaderPlace place_ = HeaderPlace::Pending;
    // Bytes of a leading tag already written: the place is right after them.
    std::uint64_t passed_ = 0;
    // The stream's bytes from `passed_` on, while the place is pending.
    std::vector<std::byte> held_;
    // The header frame's own header, once its place is kept.
    std::optional<Mp3FrameHeader> kept_;
};

} // namespace quillon::engine
