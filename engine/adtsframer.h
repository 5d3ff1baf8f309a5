// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/aacconfig.h"

#include <array>
#include <cstddef>
#include <span>
#include <variant>

namespace quillon::engine {

// Turns one file's AAC tags into ADTS frames: each raw frame gets the 7-byte header of the latest
// configuration (sequence header) before it. A new file gets a new framer.
class AdtsFramer {
public:
    enum class Step {
        Nothing, // a configuration, an empty frame or a packet of another type: nothing to write
        Frame,   // write header() and then raw()
        Refused, // the stream can not be written as ADTS, for refusal(); nothing more is
    };

    // Takes an AAC tag's data less its audio header byte: the packet type, then the packet.
    Step take(std::span<const std::byte> packet);

    // After Frame: the frame's header and the raw frame itself (a view into the packet).
    const std::array<std::byte, aac::kAdtsHeaderSize>& header() const { return header_; }
    std::span<const std::byte> raw() const { return raw_; }
    // After Refused: why.
    AacRefusal refusal() const { return refusal_; }

private:
    // Before the first sequence header: no configuration. A configuration ADTS can not carry
    // is kept as its refusal: only a frame that would need it ends the stream.
    std::variant<std::monostate, AdtsFixedHeader, AacRefusal> config_;
    std::array<std::byte, aac::kAdtsHeaderSize> header_{};
    std::span<const std::byte> raw_;
    AacRefusal refusal_ = AacRefusal::NoConfiguration;
};

} // namespace quillon::engine
