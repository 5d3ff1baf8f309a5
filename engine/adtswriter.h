// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/aacconfig.h"
#include "engine/streamwriter.h"
#include "platform/filesystem.h"

#include <optional>
#include <variant>

namespace quillon::engine {

// Writes AAC audio as an ADTS stream: each raw frame behind the 7-byte header of the latest
// configuration (sequence header) before it. A stream that ADTS can not carry is refused at the
// first frame that shows it, and nothing more is written.
class AdtsWriter final : public StreamWriter {
public:
    explicit AdtsWriter(platform::OutputFile& file) : file_(file) {}

    // One AAC tag's payload: the packet type, then the packet.
    void write(std::span<const std::byte> payload) override;
    std::optional<Notice> finish() override { return std::nullopt; }
    std::optional<AacRefusal> refusal() const override { return refusal_; }

private:
    platform::OutputFile& file_;
    // Before the first sequence header: none. A configuration ADTS can not carry is kept as its
    // refusal: only a frame that would need it ends the stream.
    std::variant<std::monostate, AdtsFixedHeader, AacRefusal> config_;
    std::optional<AacRefusal> refusal_;
};

} // namespace quillon::engine
