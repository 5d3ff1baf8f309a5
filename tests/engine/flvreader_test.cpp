// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/flvreader.h"
#include "engine/statustexts.h"
#include "enginetestbed.h"
#include "faultyfilesystem.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using engine::FlvReader;
using engine::TagLoopOutcome;

namespace {

struct ReaderTestbed {
    platform::MemoryFileSystem files;
    FaultyFileSystem inputs{files};
    RecordingHost host;
    FlvReader reader{host, inputs};

    bool open(const Bytes& content, const std::string& path = "/in/clip.flv") {
        files.addFile(path, content);
        return reader.OpenFlv(path);
    }
    // Reads the open file into an output named `base` + ".mp3".
    TagLoopOutcome readAll(const std::string& base = "/out/clip") {
        engine::AudioStage audio(files, host, {base, "/in/clip.flv"}, {});
        const TagLoopOutcome outcome = reader.ReadTags(audio);
        reader.CloseFlv();
        if (outcome == TagLoopOutcome::Finished) {
            audio.finish();
        }
        return outcome;
    }
};

struct BadHeaderCase {
    const char* name;
    Bytes content;
};

class RejectedHeader : public ::testing::TestWithParam<BadHeaderCase> {};

} // namespace

TEST_P(RejectedHeader, IsNotReadableAndLeavesNothingOpen) {
    ReaderTestbed t;
    EXPECT_FALSE(t.open(GetParam().content));
    EXPECT_EQ(t.reader.state().InputHandle, nullptr);
    EXPECT_EQ(t.readAll(), TagLoopOutcome::ReadFailed);
    EXPECT_EQ(t.files.file("/out/clip.mp3"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RejectedHeader,
    ::testing::Values(
        BadHeaderCase{
            "LowerCaseSignature",
            FlvBuilder().header("flv").firstBackPointer().audio(0x2F, pattern(9)).bytes()},
        BadHeaderCase{
            "VersionTwo",
            FlvBuilder().header("FLV", 2).firstBackPointer().audio(0x2F, pattern(9)).bytes()},
        BadHeaderCase{"VersionZero", FlvBuilder().header("FLV", 0).firstBackPointer().bytes()},
        BadHeaderCase{"ThreeBytes", bytesOf("FLV")}, BadHeaderCase{"Empty", Bytes{}},
        BadHeaderCase{"TextFile", bytesOf("hello, this is not a video\n")}),
    [](const auto& info) { return info.param.name; });

TEST(FlvReader, AcceptsAHeaderWithoutTagsAndWritesNothing) {
    ReaderTestbed t;
    ASSERT_TRUE(t.open(FlvBuilder::start().bytes()));
    EXPECT_EQ(t.readAll(), TagLoopOutcome::Finished);
    EXPECT_TRUE(t.host.progress.empty());
    EXPECT_EQ(t.host.pumps, 0);
    EXPECT_EQ(t.files.file("/out/clip.mp3"), nullptr);
}

TEST(FlvReader, MovesTheBarOnEverySixthCountedTagOnly) {
    // Five counted tags never move the bar.
    {
        ReaderTestbed t;
        ASSERT_TRUE(t.open(FlvBuilder::start().video().script().video().video().video().bytes()));
        t.readAll();
        EXPECT_TRUE(t.host.progress.empty());
        EXPECT_EQ(t.host.pumps, 5);
    }
    // Uncounted types in between neither count nor pump; the 6th and 12th counted tags move it.
    {
        FlvBuilder b = FlvBuilder::start();
        for (int i = 0; i < 13; ++i) {
            b.video(100).tag(0x28, pattern(50));
        }
        ReaderTestbed t;
        ASSERT_TRUE(t.open(b.bytes()));
        t.readAll();
        EXPECT_EQ(t.host.pumps, 13);
        const std::uint64_t perPair = (11 + 100 + 4) + (11 + 50 + 4);
        const std::uint64_t size = b.size();
        // Position counts the header, the first back-pointer and every tag before it.
        auto percentAfterVideo = [&](int pairs) {
            const double at = 13.0 + (pairs - 1) * double(perPair) + (11 + 100 + 4);
            return int(std::nearbyint(at * 100.0 / double(size)));
        };
        EXPECT_EQ(t.host.progress, (std::vector<int>{percentAfterVideo(6), percentAfterVideo(12)}));
    }
}

TEST(FlvReader, ReadsUnknownTagTypesCompletelyAndStaysInStep) {
    ReaderTestbed t;
    const Bytes payload = pattern(40, 7);
    ASSERT_TRUE(t.open(FlvBuilder::start()
                           .tag(0x28, pattern(300, 1))
                           .tag(0, {})
                           .tag(255, pattern(3))
                           .audio(0x2F, payload)
                           .bytes()));
    EXPECT_EQ(t.readAll(), TagLoopOutcome::Finished);
    ASSERT_NE(t.files.file("/out/clip.mp3"), nullptr);
    EXPECT_EQ(*t.files.file("/out/clip.mp3"), payload);
}

TEST(FlvReader, GrowsTheTagBufferToTheLargestTagAndResetsItPerFile) {
    ReaderTestbed t;
    ASSERT_TRUE(t.open(FlvBuilder::start().audio(0x2F, pattern(4000)).bytes(), "/in/a.flv"));
    t.readAll();
    EXPECT_EQ(t.reader.state().TagBufferCapacity, 4096u);

    ASSERT_TRUE(
        t.open(FlvBuilder::start().audio(0x2F, pattern(69'999)).audio(0x2F, pattern(10)).bytes(),
               "/in/b.flv"));
    t.readAll("/out/b");
    EXPECT_EQ(t.reader.state().TagBufferCapacity, 70'000u);

    ASSERT_TRUE(t.open(FlvBuilder::start().bytes(), "/in/c.flv"));
    EXPECT_EQ(t.reader.state().TagBufferCapacity, 4096u);
}

TEST(FlvReader, TagCutShortContributesOnlyTheBytesPresent) {
    // The file ends 100 bytes into a tag claiming 500; no stale buffer bytes may follow them.
    const Bytes first = pattern(600, 3);
    FlvBuilder b = FlvBuilder::start().audio(0x2F, first);
    const std::size_t cutAt = b.size() + 11 + 100;
    b.audio(0x2F, pattern(499, 9)).truncate(cutAt);
    ReaderTestbed t;
    ASSERT_TRUE(t.open(b.bytes()));
    EXPECT_EQ(t.readAll(), TagLoopOutcome::Finished);
    const Bytes second = pattern(499, 9);
    const Bytes expected = concat({first, Bytes(second.begin(), second.begin() + 99)});
    EXPECT_EQ(*t.files.file("/out/clip.mp3"), expected);
}

TEST(FlvReader, AHeaderCutShortAfterItsTypeCountsButAddsNothing) {
    // The file ends inside a further tag header: its type is there, its size is not. A counted
    // type still moves the window along; nothing is made of the missing bytes.
    struct Case {
        Bytes tail;
        int pumps;
    };
    const Case cases[] = {
        {bytesOf({8}), 2},                 // an audio tag's type alone
        {bytesOf({8, 0, 0, 50, 0, 0}), 2}, // type, size, part of a timestamp
        {bytesOf({9, 0, 0, 5}), 2},        // a video tag's type and size
        {bytesOf({0x28, 0, 0}), 1},        // a type that is not counted
    };
    for (const Case& c : cases) {
        const Bytes first = pattern(20, 1);
        FlvBuilder b = FlvBuilder::start().audio(0x2F, first);
        b.raw(c.tail);
        ReaderTestbed t;
        ASSERT_TRUE(t.open(b.bytes()));
        EXPECT_EQ(t.readAll(), TagLoopOutcome::Finished);
        EXPECT_EQ(*t.files.file("/out/clip.mp3"), first);
        EXPECT_EQ(t.host.pumps, c.pumps) << c.tail.size();
    }
}

TEST(FlvReader, DataOffsetBeyondTheEndReadsNoTag) {
    for (std::uint32_t offset : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 5000u}) {
        ReaderTestbed t;
        FlvBuilder b;
        b.header("FLV", 1, 5, 9).firstBackPointer().audio(0x2F, pattern(10));
        Bytes content = b.bytes();
        content[5] = std::byte(offset >> 24);
        content[6] = std::byte(offset >> 16);
        content[7] = std::byte(offset >> 8);
        content[8] = std::byte(offset);
        ASSERT_TRUE(t.open(content));
        EXPECT_EQ(t.reader.state().DataOffset, offset);
        EXPECT_EQ(t.readAll(), TagLoopOutcome::Finished) << offset;
        EXPECT_EQ(t.host.pumps, 0) << offset;
        EXPECT_EQ(t.files.file("/out/clip.mp3"), nullptr) << offset;
    }
}

TEST(FlvReader, LargerDataOffsetSkipsWhateverLiesBeforeIt) {
    ReaderTestbed t;
    const Bytes payload = pattern(33, 5);
    ASSERT_TRUE(t.open(
        FlvBuilder().header("FLV", 1, 4, 40).firstBackPointer().audio(0x2F, payload).bytes()));
    t.readAll();
    EXPECT_EQ(t.reader.state().HeaderFlags, 4);
    EXPECT_EQ(*t.files.file("/out/clip.mp3"), payload);
}

TEST(FlvReader, ALyingTagSizeEndsTheLoopAndCostsNoMemory) {
    // Tags claiming the largest 24-bit size in a tiny file: a video tag's data is passed over and
    // needs no buffer at all; an audio tag's buffer grows only to what the file still holds or,
    // on an input of unknown size, to no more than twice what arrived. Every byte that did arrive
    // is the tag's data, in order.
    for (const bool pipe : {false, true}) {
        for (const int type : {9, 8}) {
            SCOPED_TRACE(::testing::Message() << "type " << type << " pipe " << pipe);
            ReaderTestbed t;
            t.inputs.hideSizes = pipe;
            const Bytes file = FlvBuilder::start()
                                   .tag(type, concat({bytesOf({0x2F}), pattern(4999)}), 0xFFFFFF)
                                   .video()
                                   .bytes();
            ASSERT_TRUE(t.open(file));
            EXPECT_EQ(t.readAll(), TagLoopOutcome::Finished);
            EXPECT_EQ(t.host.pumps, 1);
            // Header, first back-pointer and the tag header come before the data.
            const std::size_t dataAt = 9 + 4 + 11;
            const std::size_t held = file.size() - dataAt;
            const std::uint32_t capacity = t.reader.state().TagBufferCapacity;
            if (type == 9) {
                EXPECT_EQ(capacity, 4096u);
                continue;
            }
            EXPECT_EQ(t.reader.state().TagBytesPresent, held);
            if (pipe) {
                EXPECT_LE(capacity, 2 * held);
            } else {
                EXPECT_EQ(capacity, held);
            }
            ASSERT_NE(t.files.file("/out/clip.mp3"), nullptr);
            EXPECT_EQ(*t.files.file("/out/clip.mp3"), Bytes(file.begin() + dataAt + 1, file.end()));
        }
    }
}

TEST(FlvReader, LongStretchesOfUncountedTagsStillLetTheWindowBreatheAndStop) {
    // 100,000 empty tags of a type that is not counted, as a valid header followed by zeros
    // gives, then a counted one: the window must handle its events and a stop request on the way.
    FlvBuilder b = FlvBuilder::start();
    for (int i = 0; i < 100'000; ++i) {
        b.tag(0, {});
    }
    b.audio(0x2F, pattern(5));
    for (int stopAfter : {-1, 3}) {
        ReaderTestbed t;
        t.host.stopAfterPumps = stopAfter;
        ASSERT_TRUE(t.open(b.bytes()));
        const TagLoopOutcome outcome = t.readAll();
        if (stopAfter < 0) {
            EXPECT_EQ(outcome, TagLoopOutcome::Finished);
            // One breath per 1024 quiet tags, and one for the audio tag.
            EXPECT_EQ(t.host.pumps, 100'000 / 1024 + 1);
            EXPECT_EQ(*t.files.file("/out/clip.mp3"), pattern(5));
        } else {
            EXPECT_EQ(outcome, TagLoopOutcome::Stopped);
            EXPECT_EQ(t.host.pumps, 3);
            EXPECT_EQ(t.files.file("/out/clip.mp3"), nullptr);
        }
    }
}
