// SPDX-License-Identifier: GPL-3.0-or-later
// From an AAC sequence header's AudioSpecificConfig to the ADTS header in front of each frame.
#include "engine/aacconfig.h"
#include "flvbuilder.h"

#include <gtest/gtest.h>

using namespace quillon::engine;
using quillon::testing::Bytes;
using quillon::testing::bytesOf;

namespace {

struct AdtsCase {
    const char* name;
    Bytes config;
    std::size_t rawSize;
    // The 7 header bytes, or empty when the configuration is refused for `refusal`.
    Bytes header;
    AacRefusal refusal = AacRefusal::NoConfiguration;
};

class AdtsHeaderFromConfig : public ::testing::TestWithParam<AdtsCase> {};

TEST_P(AdtsHeaderFromConfig, GivesTheHeaderOrTheReason) {
    const AdtsCase& c = GetParam();
    const auto fixed = AdtsFixedHeader::ofAudioSpecificConfig(c.config);
    if (c.header.empty()) {
        ASSERT_TRUE(std::holds_alternative<AacRefusal>(fixed));
        EXPECT_EQ(std::get<AacRefusal>(fixed), c.refusal);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<AdtsFixedHeader>(fixed))
        << static_cast<int>(std::get<AacRefusal>(fixed));
    const auto header = std::get<AdtsFixedHeader>(fixed).frameHeader(c.rawSize);
    EXPECT_EQ(Bytes(header.begin(), header.end()), c.header);
}

// Configurations are written as their bit fields: object type (5), sampling frequency index (4),
// channel configuration (4), [extension index (4), core object type (5)], flags (3).
INSTANTIATE_TEST_SUITE_P(
    Configs, AdtsHeaderFromConfig,
    ::testing::Values(
        // 2 (LC) 3 (48 kHz) 2 000, a 127-byte frame: the header of ffmpeg's own ADTS copy of
        // h264-aac.flv.
        AdtsCase{"LcStereo48k", bytesOf({0x11, 0x90}), 127,
                 bytesOf({0xFF, 0xF1, 0x4C, 0x80, 0x10, 0xDF, 0xFC})},
        // 1 (Main) 12 (7.35 kHz, the last index) 1 000, the longest frame: length 0x1FFF.
        AdtsCase{"MainMonoLongestFrame", bytesOf({0x0E, 0x08}), 8184,
                 bytesOf({0xFF, 0xF1, 0x30, 0x43, 0xFF, 0xFF, 0xFC})},
        // 4 (LTP, the last profile) 0 (96 kHz) 7 (eight channels, the last configuration) 000.
        AdtsCase{"LtpSevenChannelConfig", bytesOf({0x20, 0x38}), 0,
                 bytesOf({0xFF, 0xF1, 0xC1, 0xC0, 0x00, 0xFF, 0xFC})},
        // HE-AAC: 5 (SBR) 6 (24 kHz core) 2, 3 (48 kHz out), 2 (LC) 000: the core's type and rate.
        AdtsCase{"ExplicitSbrGivesItsCore", bytesOf({0x2B, 0x11, 0x88, 0x00}), 127,
                 bytesOf({0xFF, 0xF1, 0x58, 0x80, 0x10, 0xDF, 0xFC})},
        // HE-AAC v2: 29 (PS) 6 1, 3, 2 000: mono core.
        AdtsCase{"ExplicitPsGivesItsCore", bytesOf({0xEB, 0x09, 0x88, 0x00}), 127,
                 bytesOf({0xFF, 0xF1, 0x58, 0x40, 0x10, 0xDF, 0xFC})},
        // 5 6 2, 15 + 96000 in 24 bits, 2 000: the core type comes after the full rate.
        AdtsCase{"SbrWithItsRateInFull", bytesOf({0x2B, 0x17, 0x80, 0xBB, 0x80, 0x08, 0x00}), 127,
                 bytesOf({0xFF, 0xF1, 0x58, 0x80, 0x10, 0xDF, 0xFC})},
        AdtsCase{"NullObjectType", bytesOf({0x02, 0x10}), 0, {}, AacRefusal::ObjectType},
        // 31 + 10 (USAC, 42) 4 2 000.
        AdtsCase{"EscapedObjectType", bytesOf({0xF9, 0x48, 0x40}), 0, {}, AacRefusal::ObjectType},
        // 2 15 + 44100 in 24 bits 2 000.
        AdtsCase{
            "RateInFull", bytesOf({0x17, 0x80, 0x56, 0x22, 0x10}), 0, {}, AacRefusal::SampleRate},
        AdtsCase{"ReservedRateIndex", bytesOf({0x16, 0x90}), 0, {}, AacRefusal::SampleRate},
        AdtsCase{"ChannelsDescribedInTheStream",
                 bytesOf({0x12, 0x00}),
                 0,
                 {},
                 AacRefusal::ChannelLayout},
        AdtsCase{
            "ChannelConfigAboveSeven", bytesOf({0x12, 0x40}), 0, {}, AacRefusal::ChannelLayout},
        // 2 4 2 100.
        AdtsCase{"FramesOf960Samples", bytesOf({0x12, 0x14}), 0, {}, AacRefusal::FrameLayout},
        AdtsCase{"CutShort", bytesOf({0x12}), 0, {}, AacRefusal::BrokenConfiguration}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
