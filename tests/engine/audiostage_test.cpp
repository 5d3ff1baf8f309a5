// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/statustexts.h"
#include "enginetestbed.h"
#include "faultyfilesystem.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(t.host.status(2), engine::RowStatus::Finished);
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

TEST(AudioStage, FilesWithoutAudioLeaveNoOutput) {
    auto t = testbedWith(FlvBuilder::start().video().script().video(3000).bytes());
    t.run();
    EXPECT_EQ(t.output("/in/clip.mp3"), nullptr);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
}

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
