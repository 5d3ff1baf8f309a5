// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/adtswriter.h"

namespace quillon::engine {

void AdtsWriter::write(std::span<const std::byte> payload) {
    if (refusal_ || payload.empty()) {
        return;
    }
    const auto type = std::to_integer<std::uint8_t>(payload[0]);
    const auto packet = payload.subspan(aac::kPacketTypeSize);
    if (type == aac::kPacketTypeSequenceHeader) {
        std::visit([this](const auto& config) { config_ = config; },
                   AdtsFixedHeader::ofAudioSpecificConfig(packet));
        return;
    }
    // Other packet types hold nothing a decoder reads; an empty frame has nothing to carry.
    if (type != aac::kPacketTypeRaw || packet.empty()) {
        return;
    }
    if (const auto* refused = std::get_if<AacRefusal>(&config_)) {
        refusal_ = *refused;
        return;
    }
    const auto* fixed = std::get_if<AdtsFixedHeader>(&config_);
    if (fixed == nullptr) {
        refusal_ = AacRefusal::NoConfiguration;
        return;
    }
    if (packet.size() > aac::kMaxRawFrameSize) {
        refusal_ = AacRefusal::FrameTooLong;
        return;
    }
    file_.write(fixed->frameHeader(packet.size()));
    file_.write(packet);
}

} // namespace quillon::engine
