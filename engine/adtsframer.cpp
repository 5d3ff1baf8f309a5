// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/adtsframer.h"

namespace quillon::engine {

AdtsFramer::Step AdtsFramer::take(std::span<const std::byte> packet) {
    if (packet.empty()) {
        return Step::Nothing;
    }
    const auto type = std::to_integer<std::uint8_t>(packet[0]);
    const auto body = packet.subspan(aac::kPacketTypeSize);
    if (type == aac::kPacketTypeSequenceHeader) {
        const auto config = AdtsFixedHeader::ofAudioSpecificConfig(body);
        if (const auto* fixed = std::get_if<AdtsFixedHeader>(&config)) {
            config_ = *fixed;
        } else {
            config_ = std::get<AacRefusal>(config);
        }
        return Step::Nothing;
    }
    // Other packet types name nothing a decoder would read.
    if (type != aac::kPacketTypeRaw || body.empty()) {
        return Step::Nothing;
    }
    if (const auto* refused = std::get_if<AacRefusal>(&config_)) {
        refusal_ = *refused;
        return Step::Refused;
    }
    const auto* fixed = std::get_if<AdtsFixedHeader>(&config_);
    if (fixed == nullptr) {
        refusal_ = AacRefusal::NoConfiguration;
        return Step::Refused;
    }
    if (body.size() > aac::kMaxRawFrameSize) {
        refusal_ = AacRefusal::FrameTooLong;
        return Step::Refused;
    }
    header_ = fixed->frameHeader(body.size());
    raw_ = body;
    return Step::Frame;
}

} // namespace quillon::engine
