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
// in front of them in the same pass: the bytes are held back until the stream's first frame is
// known, then a place of the header frame's size is kept at the start and filled in at the end.
// A stream that turns out to allow no header frame is left as the plain stream.
class Mp3Writer final : public StreamWriter {
public:
    Mp3Writer(platform::OutputFile& file, bool withVbrHeader);

    void write(std::span<const std::byte> payload) override {
        if (counter_) {
            writeCounted(payload);
        } else {
            file_.write(payload);
        }
    }
    // Fills in the header frame, or says why the stream is plain.
    std::optional<Notice> finish() override;

private:
    // Where the header frame goes, while the stream is written.
    enum class HeaderPlace {
        Pending, // bytes held back until the first frame tells the header frame's size
        Kept,    // reserved_ bytes kept at the start
        Given,   // the stream is plain: no header frame can be made
    };

    void writeCounted(std::span<const std::byte> bytes);
    void decidePlace();

    platform::OutputFile& file_;
    std::optional<Mp3FrameCounter> counter_;
    HeaderPlace place_ = HeaderPlace::Pending;
    std::vector<std::byte> held_;
    std::size_t reserved_ = 0;
};

} // namespace quillon::engine
