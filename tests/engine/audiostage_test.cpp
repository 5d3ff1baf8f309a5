// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/aacconfig.h"
#include "engine/statustexts.h"
#include "enginetestbed.h"
#include "faultyfilesystem.h"

#include <gtest/gtest.h>
#include <variant>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;

namespace {
EngineTestbed testbedWith(const Bytes& flv) {
    EngineTestbed t;
    t.add("clip.flv", flv);
    return t;
}
} // namespace

TEST(AudioStage, StripsTheAudioHeaderByteOfEveryTag) {
    // 0x2F: MP3, 44 kHz, 16-bit, stereo; data size 418 gives 417 bytes.
    const Bytes a = pattern(417, 1);
    const Bytes b = pattern(5, 200);
    auto t = testbedWith(FlvBuilder::start().audio(0x2F, a).video().audio(0x2E, b).bytes());
    t.run();
    ASSERT_NE(t.output("/in/clip.mp3"), nullptr);
    EXPECT_EQ(*t.output("/in/clip.mp3"), concat({a, b}));
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
}

TEST(AudioStage, OnlyTheFirstAudioTagDecidesTheFormat) {
    const Bytes a = pattern(30, 1);
    const Bytes aac = pattern(12, 50);
    auto t = testbedWith(FlvBuilder::start().audio(0x2F, a).audio(0xAF, aac).bytes());
    t.run();
    EXPECT_EQ(*t.output("/in/clip.mp3"), concat({a, aac}));
    EXPECT_TRUE(t.host.notices.empty());
}

TEST(AudioStage, NonMp3AudioIsReportedOncePerFileAndWritesNothing) {
    EngineTestbed t;
    t.add("aac.flv", FlvBuilder::start().audio(0xAF, pattern(20)).audio(0x2F, pattern(20)).bytes());
    t.add("aac2.flv", FlvBuilder::start().audio(0xA0, pattern(20)).audio(0xAF, pattern(5)).bytes());
    // The next file starts afresh.
    t.add("mp3.flv", FlvBuilder::start().audio(0x2F, pattern(20, 4)).bytes());
    t.run();
    EXPECT_EQ(t.host.notices, (std::vector<Notice>{kAudioNotExtracted, kAudioNotExtracted}));
    EXPECT_EQ(t.output("/in/aac.mp3"), nullptr);
    EXPECT_EQ(t.output("/in/aac2.mp3"), nullptr);
    EXPECT_EQ(*t.output("/in/mp3.mp3"), pattern(20, 4));
    EXPECT_EQ(t.host.status(1), engine::RowStatus::SkippedAac);
    EXPECT_EQ(t.host.status(2), engine::RowStatus::SkippedAac);
}

TEST(AudioStage, TagsWithoutDataNeitherDecideNorWrite) {
    // An empty audio tag carries no audio header; the first real one decides.
    const Bytes a = pattern(8, 3);
    auto t = testbedWith(FlvBuilder::start().tag(8, {}).audio(0x2F, a).tag(8, {}).bytes());
    t.run();
    EXPECT_TRUE(t.host.notices.empty());
    EXPECT_EQ(*t.output("/in/clip.mp3"), a);
}

TEST(AudioStage, OneByteTagsCreateTheOutputButAddNothing) {
    auto t = testbedWith(FlvBuilder::start().audio(0x2F, {}).audio(0x2F, {}).bytes());
    t.run();
    ASSERT_NE(t.output("/in/clip.mp3"), nullptr);
    EXPECT_TRUE(t.output("/in/clip.mp3")->empty());
}

TEST(AudioStage, FilesWithoutAudioLeaveNoOutputAndSaySo) {
    auto t = testbedWith(FlvBuilder::start().video().script().video(3000).bytes());
    // Audio tags without data hold no audio either.
    t.add("empty.flv", FlvBuilder::start().tag(8, {}).video().tag(8, {}).bytes());
    t.run();
    EXPECT_EQ(t.output("/in/clip.mp3"), nullptr);
    EXPECT_EQ(t.output("/in/empty.mp3"), nullptr);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::NoAudio);
    EXPECT_EQ(t.host.status(2), engine::RowStatus::NoAudio);
    EXPECT_TRUE(t.host.notices.empty());
}

// The first audio tag with data decides: MP3 under either of its format numbers is extracted,
// every other format gives its own status, the one notice and no output of any kind.
struct FormatCase {
    const char* name;
    int audioHeader;
    RowStatus status;
};
using FirstSoundFormat = ::testing::TestWithParam<FormatCase>;

TEST_P(FirstSoundFormat, DecidesTheStatusAndTheOutput) {
    const Bytes payload = pattern(40, 7);
    auto t = testbedWith(FlvBuilder::start().audio(GetParam().audioHeader, payload).bytes());
    t.run();
    EXPECT_EQ(t.host.status(1), GetParam().status);
    EXPECT_EQ(t.output("/in/clip.aac"), nullptr);
    if (GetParam().status == RowStatus::Finished) {
        ASSERT_NE(t.output("/in/clip.mp3"), nullptr);
        EXPECT_EQ(*t.output("/in/clip.mp3"), payload);
        EXPECT_TRUE(t.host.notices.empty());
    } else {
        EXPECT_EQ(t.output("/in/clip.mp3"), nullptr);
        EXPECT_EQ(t.host.notices, std::vector<Notice>{kAudioNotExtracted});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FirstSoundFormat,
    ::testing::Values(FormatCase{"Mp3", 0x2F, RowStatus::Finished},
                      FormatCase{"Mp3At8kHz", 0xE2, RowStatus::Finished},
                      FormatCase{"PcmPlatformEndian", 0x0F, RowStatus::SkippedPcm},
                      FormatCase{"Adpcm", 0x1E, RowStatus::SkippedAdpcm},
                      FormatCase{"PcmLittleEndian", 0x3F, RowStatus::SkippedPcm},
                      FormatCase{"Nellymoser16kMono", 0x46, RowStatus::SkippedNellymoser},
                      FormatCase{"Nellymoser8kMono", 0x52, RowStatus::SkippedNellymoser},
                      FormatCase{"Nellymoser", 0x6E, RowStatus::SkippedNellymoser},
                      FormatCase{"G711ALaw", 0x72, RowStatus::SkippedG711ALaw},
                      FormatCase{"G711MuLaw", 0x82, RowStatus::SkippedG711MuLaw},
                      FormatCase{"Reserved9", 0x9F, RowStatus::SkippedUnknown},
                      // Without the AAC option.
                      FormatCase{"Aac", 0xAF, RowStatus::SkippedAac},
                      FormatCase{"Speex", 0xB6, RowStatus::SkippedSpeex},
                      FormatCase{"Reserved13", 0xDF, RowStatus::SkippedUnknown},
                      FormatCase{"DeviceSpecific", 0xFF, RowStatus::SkippedDeviceSpecific}),
    [](const auto& info) { return std::string(info.param.name); });

// AAC with the option on: every raw frame behind the ADTS header of the latest configuration
// before it, or no output at all and the reason.
Bytes aacTag(int packetType, const Bytes& packet) {
    return concat({bytesOf({packetType}), packet});
}
Bytes adtsFrame(const Bytes& config, const Bytes& raw) {
    const auto header = std::get<AdtsFixedHeader>(AdtsFixedHeader::ofAudioSpecificConfig(config))
                            .frameHeader(raw.size());
    return concat({Bytes(header.begin(), header.end()), raw});
}
const Bytes kLcStereo44k = bytesOf({0x12, 0x10});
const Bytes kLcMono48k = bytesOf({0x11, 0x88});
// Channel configuration 0: the layout would be described inside the stream.
const Bytes kChannelsInStream = bytesOf({0x12, 0x00});
const Bytes kFrameA = pattern(100, 1);
const Bytes kFrameB = pattern(60, 2);

struct AacCase {
    const char* name;
    std::vector<Bytes> tags; // each an AAC tag's data after the audio header byte
    RowStatus status;
    Bytes aac; // the .aac file, for Finished
    bool vbrHeader = false;
};
using AacToAdts = ::testing::TestWithParam<AacCase>;

TEST_P(AacToAdts, WritesEachFrameBehindTheLatestHeaderOrNothing) {
    FlvBuilder flv = FlvBuilder::start();
    for (const Bytes& tag : GetParam().tags) {
        flv.audio(0xAF, tag).video();
    }
    auto t = testbedWith(flv.bytes());
    t.options.aac = true;
    t.options.vbrHeader = GetParam().vbrHeader;
    t.run();
    EXPECT_EQ(t.host.status(1), GetParam().status);
    EXPECT_EQ(t.output("/in/clip.mp3"), nullptr);
    if (GetParam().status == RowStatus::Finished) {
        ASSERT_NE(t.output("/in/clip.aac"), nullptr);
        EXPECT_EQ(*t.output("/in/clip.aac"), GetParam().aac);
        EXPECT_TRUE(t.host.notices.empty());
    } else {
        EXPECT_EQ(t.output("/in/clip.aac"), nullptr) << "nothing partial is left";
        EXPECT_EQ(t.host.notices, std::vector<Notice>{kAudioNotExtracted});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, AacToAdts,
    ::testing::Values(
        AacCase{"ConfigurationThenFrames",
                {aacTag(0, kLcStereo44k), aacTag(1, kFrameA), aacTag(1, kFrameB)},
                RowStatus::Finished,
                concat({adtsFrame(kLcStereo44k, kFrameA), adtsFrame(kLcStereo44k, kFrameB)})},
        AacCase{"ALaterConfigurationHoldsForTheFramesAfterIt",
                {aacTag(0, kLcStereo44k), aacTag(1, kFrameA), aacTag(0, kLcMono48k),
                 aacTag(1, kFrameB)},
                RowStatus::Finished,
                concat({adtsFrame(kLcStereo44k, kFrameA), adtsFrame(kLcMono48k, kFrameB)})},
        // Empty frames, packets of another type and a tag of nothing but the audio header carry
        // nothing to decode.
        AacCase{"EmptyFramesAndOtherPacketsAreLeftOut",
                {aacTag(1, {}),
                 aacTag(0, kLcStereo44k),
                 aacTag(1, {}),
                 aacTag(2, kFrameB),
                 {},
                 aacTag(1, kFrameA)},
                RowStatus::Finished,
                adtsFrame(kLcStereo44k, kFrameA)},
        AacCase{"AVbrHeaderIsForMp3Only",
                {aacTag(0, kLcStereo44k), aacTag(1, kFrameA)},
                RowStatus::Finished,
                adtsFrame(kLcStereo44k, kFrameA),
                true},
        AacCase{"TheLongestFrameFits",
                {aacTag(0, kLcStereo44k), aacTag(1, pattern(8184, 3))},
                RowStatus::Finished,
                adtsFrame(kLcStereo44k, pattern(8184, 3))},
        AacCase{"AFrameBeforeAnyConfiguration",
                {aacTag(1, kFrameA), aacTag(0, kLcStereo44k), aacTag(1, kFrameB)},
                RowStatus::SkippedAacNoConfiguration,
                {}},
        // Refused at the first frame that would need it, after a frame was written.
        AacCase{"AConfigurationAdtsCanNotCarry",
                {aacTag(0, kLcStereo44k), aacTag(1, kFrameA), aacTag(0, kChannelsInStream),
                 aacTag(1, kFrameB)},
                RowStatus::SkippedAacChannelLayout,
                {}},
        // A configuration that no frame uses does not matter.
        AacCase{"ARefusedConfigurationReplacedBeforeAnyFrame",
                {aacTag(0, kChannelsInStream), aacTag(0, kLcStereo44k), aacTag(1, kFrameA)},
                RowStatus::Finished,
                adtsFrame(kLcStereo44k, kFrameA)},
        AacCase{"AFrameTooLongForAdts",
                {aacTag(0, kLcStereo44k), aacTag(1, kFrameA), aacTag(1, pattern(8185))},
                RowStatus::SkippedAacFrameTooLong,
                {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AudioStage, AnOutputThatCannotBeCreatedIsAnErrorNotASuccess) {
    auto t = testbedWith(FlvBuilder::start().audio(0x2F, pattern(10)).bytes());
    t.add("next.flv", FlvBuilder::start().audio(0x2F, pattern(10, 1)).bytes());
    FaultyFileSystem faulty(t.files);
    faulty.failCreates = true;
    t.run(&faulty);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::WriteError);
    EXPECT_EQ(t.host.status(2), engine::RowStatus::WriteError);
    EXPECT_TRUE(t.host.notices.empty());
}

TEST(AudioStage, AFailedWriteRemovesThePartialOutputAndTheNextFileStillRuns) {
    for (bool atClose : {false, true}) {
        EngineTestbed t;
        t.add("big.flv", FlvBuilder::start()
                             .audio(0x2F, pattern(100))
                             .audio(0x2F, pattern(100))
                             .audio(0x2F, pattern(100))
                             .bytes());
        t.add("small.flv", FlvBuilder::start().audio(0x2F, pattern(10)).bytes());
        FaultyFileSystem faulty(t.files);
        faulty.writeBudget = 150; // the disk fills in the second tag
        faulty.failAtCommit = atClose;
        t.run(&faulty);
        EXPECT_EQ(t.host.status(1), engine::RowStatus::WriteError) << atClose;
        EXPECT_EQ(t.output("/in/big.mp3"), nullptr) << atClose;
        // Nothing is left of the budget for the second file either.
        EXPECT_EQ(t.host.status(2), engine::RowStatus::WriteError) << atClose;
        EXPECT_EQ(t.output("/in/small.mp3"), nullptr) << atClose;
    }
}

TEST(AudioStage, AReadErrorMidFileRemovesThePartialOutput) {
    EngineTestbed t;
    const Bytes flv = FlvBuilder::start()
                          .audio(0x2F, pattern(100))
                          .audio(0x2F, pattern(100))
                          .audio(0x2F, pattern(100))
                          .bytes();
    t.add("clip.flv", flv);
    t.add("next.flv", FlvBuilder::start().audio(0x2F, pattern(10)).bytes());
    FaultyFileSystem faulty(t.files);
    faulty.readBudget = 200;
    t.run(&faulty);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::ReadError);
    EXPECT_EQ(t.output("/in/clip.mp3"), nullptr);
    EXPECT_EQ(t.host.status(2), engine::RowStatus::Finished);
    EXPECT_EQ(*t.output("/in/next.mp3"), pattern(10));
}
