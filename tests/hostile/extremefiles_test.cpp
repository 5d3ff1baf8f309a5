// SPDX-License-Identifier: GPL-3.0-or-later
// Files that lie about their own layout: data offsets that point into the header, a tag claiming
// the largest size in a short file, back-pointers that say anything. Each ends in a status, and
// its output holds only audio bytes that are in the file, in file order.
#include "engine/flvreader.h"
#include "engine/statustexts.h"
#include "enginetestbed.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;

namespace {

Bytes bigEndian32(std::uint32_t v) {
    return bytesOf({int(v >> 24) & 0xFF, int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF});
}

// A tag as FlvBuilder writes it, but followed by the back-pointer given instead of the true one.
Bytes tagWithBackPointer(int type, const Bytes& data, std::uint32_t backPointer) {
    Bytes tag = FlvBuilder().tag(type, data).bytes();
    const Bytes back = bigEndian32(backPointer);
    std::copy(back.begin(), back.end(), tag.end() - 4);
    return tag;
}

EngineTestbed runOver(const Bytes& flv) {
    EngineTestbed t;
    t.add("clip.flv", flv);
    t.run();
    return t;
}

} // namespace

TEST(ExtremeFiles, DataOffsetZeroReadsTheHeaderAsATagOfItsOwn) {
    // At offset 0 the reader takes "FLV" 1 for the first back-pointer and the flags byte (8,
    // audio) with the offset field for a tag header: an audio tag of size 0, which neither
    // decides the format nor writes. Its back-pointer takes bytes 15..18; tags follow from 19.
    //   0      4     5          9                19
    //   F L V 1 | 08 | 00000000 | 10 filler bytes | tags...
    const Bytes a = pattern(50, 1);
    const Bytes b = pattern(9, 2);
    auto t = runOver(FlvBuilder()
                         .header("FLV", 1, 8, 0)
                         .raw(pattern(10, 0xA0))
                         .audio(0x2F, a)
                         .video()
                         .audio(0x2F, b)
                         .bytes());
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    ASSERT_NE(t.output("/in/clip.mp3"), nullptr);
    EXPECT_EQ(*t.output("/in/clip.mp3"), concat({a, b}));
    EXPECT_TRUE(t.host.notices.empty());
    // The header's own tag counts: four counted tags in all.
    EXPECT_EQ(t.host.pumps, 4);
}

TEST(ExtremeFiles, DataOffsetFiveTakesTheOffsetFieldForTheFirstBackPointer) {
    // Bytes 5..8 are read as the first back-pointer, so tags start right after the header.
    const Bytes a = pattern(20, 3);
    auto t = runOver(FlvBuilder().header("FLV", 1, 5, 5).audio(0x2F, a).script().bytes());
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(*t.output("/in/clip.mp3"), a);
    EXPECT_EQ(t.host.pumps, 2);
}

TEST(ExtremeFiles, DataOffsetsPastTheEndGiveNoAudioAndNoOutput) {
    // Every offset from just past the header to the largest: nothing is read, nothing written.
    for (std::uint32_t offset : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        auto t = runOver(FlvBuilder()
                             .header("FLV", 1, 5, offset)
                             .firstBackPointer()
                             .audio(0x2F, pattern(30))
                             .bytes());
        EXPECT_EQ(t.host.status(1), engine::RowStatus::NoAudio) << offset;
        EXPECT_EQ(t.output("/in/clip.mp3"), nullptr) << offset;
        EXPECT_EQ(t.host.pumps, 0) << offset;
    }
}

TEST(ExtremeFiles, TheLargestClaimedAudioSizeInAShortFileGivesOnlyTheBytesThere) {
    // The second audio tag claims 16,777,215 bytes; the file holds 1 + 60 of them plus the four
    // bytes the builder wrote as its back-pointer, which to the reader are data too.
    const Bytes a = pattern(100, 1);
    const Bytes b = pattern(60, 2);
    const Bytes flv =
        FlvBuilder::start().audio(0x2F, a).tag(8, concat({bytesOf({0x2F}), b}), 0xFFFFFF).bytes();
    const Bytes trailer(flv.end() - 4, flv.end());
    auto t = runOver(flv);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(*t.output("/in/clip.mp3"), concat({a, b, trailer}));
    EXPECT_EQ(t.host.pumps, 2);
    // The bar is not moved, and the run still ends it at 0.
    EXPECT_EQ(t.host.progress, std::vector<int>{0});
}

TEST(ExtremeFiles, AsTheFirstAudioTagTheLargestClaimDecidesFromItsRealFirstByte) {
    // Only one byte of the claimed data is in the file: it decides (AAC here), and there is no
    // payload to write.
    auto t =
        runOver(FlvBuilder::start().tag(8, bytesOf({0xAF}), 0xFFFFFF).truncate(13 + 12).bytes());
    EXPECT_EQ(t.host.status(1), engine::RowStatus::SkippedAac);
    EXPECT_EQ(t.host.notices, std::vector<engine::Notice>{kAudioNotExtracted});
    EXPECT_EQ(t.output("/in/clip.mp3"), nullptr);
}

TEST(ExtremeFiles, LyingBackPointersChangeNothing) {
    // The chain of back-pointers contradicts every tag size: zero, the largest value, a value
    // pointing back into the header, one pointing past the end.
    const Bytes a = pattern(30, 1);
    const Bytes b = pattern(40, 2);
    const Bytes c = pattern(50, 3);
    Bytes flv = FlvBuilder().header().raw(bigEndian32(0xFFFFFFFF)).bytes();
    const Bytes tags = concat({tagWithBackPointer(8, concat({bytesOf({0x2F}), a}), 0),
                               tagWithBackPointer(9, pattern(20), 0xFFFFFFFF),
                               tagWithBackPointer(8, concat({bytesOf({0x2F}), b}), 7),
                               tagWithBackPointer(18, pattern(10), 0x7FFFFFFF),
                               tagWithBackPointer(8, concat({bytesOf({0x2F}), c}), 123456)});
    flv.insert(flv.end(), tags.begin(), tags.end());
    auto t = runOver(flv);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(*t.output("/in/clip.mp3"), concat({a, b, c}));
    EXPECT_EQ(t.host.pumps, 5);
}

TEST(ExtremeFiles, GarbageAfterAValidHeaderEndsWithTheBytesThatFormAudioTags) {
    // 0xFF throughout: one tag of type 255 claiming 16,777,215 bytes swallows the rest.
    Bytes flv = FlvBuilder::start().audio(0x2F, pattern(10, 4)).bytes();
    flv.insert(flv.end(), 5000, std::byte{0xFF});
    auto t = runOver(flv);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(*t.output("/in/clip.mp3"), pattern(10, 4));
    EXPECT_EQ(t.host.pumps, 1);
}
