// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/statustexts.h"
#include "enginetestbed.h"
#include "tempfolder.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;

namespace {
Bytes mp3Flv(int seed) {
    return FlvBuilder::start().audio(0x2F, pattern(50, seed)).bytes();
}
} // namespace

TEST(ExtractionRun, EmptyListShowsNoDialogAndTouchesNothing) {
    EngineTestbed t;
    EXPECT_EQ(t.run(), RunResult::EmptyList);
    EXPECT_EQ(t.host.dialogsShown, 0);
    EXPECT_TRUE(t.host.progress.empty());
}

TEST(ExtractionRun, CancellingTheDialogTouchesNoRowAndNoFile) {
    EngineTestbed t;
    t.add("clip.flv", mp3Flv(1));
    t.files.addFile("/in/clip.mp3", pattern(7));
    t.host.answer.OutputConfirmed = false;
    EXPECT_EQ(t.run(), RunResult::Cancelled);
    EXPECT_EQ(t.host.dialogsShown, 1);
    EXPECT_TRUE(t.host.statusHistory.empty());
    EXPECT_TRUE(t.host.progress.empty());
    EXPECT_EQ(*t.output("/in/clip.mp3"), pattern(7));
}

TEST(ExtractionRun, ListEmptiedDuringTheDialogEndsTheRun) {
    EngineTestbed t;
    t.add("clip.flv", mp3Flv(1));
    t.host.duringDialog = [&] { t.host.rows.clear(); };
    EXPECT_EQ(t.run(), RunResult::EmptyList);
    EXPECT_TRUE(t.host.progress.empty());
}

TEST(ExtractionRun, UnreadableRowIsAnErrorAndItsOlderOutputStaysAsItWas) {
    EngineTestbed t;
    t.add("one.flv", mp3Flv(1));
    t.add("notes.flv", bytesOf("just some text\n"));
    t.add("three.flv", mp3Flv(3));
    t.files.addFile("/in/notes.mp3", pattern(9));
    EXPECT_EQ(t.run(), RunResult::Completed);

    const std::vector<RowStatus> ok{RowStatus::Extracting, RowStatus::Finished};
    EXPECT_EQ(t.host.statusHistory[1], ok);
    EXPECT_EQ(t.host.statusHistory[2],
              (std::vector<RowStatus>{RowStatus::Extracting, RowStatus::ReadError}));
    EXPECT_EQ(t.host.statusHistory[3], ok);
    ASSERT_NE(t.output("/in/notes.mp3"), nullptr);
    EXPECT_EQ(*t.output("/in/notes.mp3"), pattern(9));
    EXPECT_EQ(*t.output("/in/three.mp3"), pattern(50, 3));
    EXPECT_EQ(t.host.progress.back(), 0);
}

TEST(ExtractionRun, SpecifiedFolderTakesEveryOutputAndLaterSameNamesReplaceEarlier) {
    EngineTestbed t;
    t.files.addFile("/in/a/clip.flv", mp3Flv(1));
    t.files.addFile("/in/b/clip.flv", mp3Flv(2));
    t.files.addFile("/in/a.b.flv", mp3Flv(3));
    t.files.addFile("/in/noext", mp3Flv(4));
    t.host.rows = {"/in/a/clip.flv", "/in/b/clip.flv", "/in/a.b.flv", "/in/noext"};
    t.host.answer = {true, false, "/out/"};
    t.run();
    EXPECT_EQ(*t.output("/out/clip.mp3"), pattern(50, 2));
    EXPECT_EQ(*t.output("/out/a.b.mp3"), pattern(50, 3));
    ASSERT_NE(t.output("/out/noext.mp3"), nullptr);
    EXPECT_EQ(*t.output("/out/noext.mp3"), pattern(50, 4));
    EXPECT_EQ(t.output("/in/a/clip.mp3"), nullptr);
}

TEST(ExtractionRun, SameAsInputPutsEachOutputNextToItsInputWhateverTheLastFolder) {
    EngineTestbed t;
    t.files.addFile("/in/a/clip.flv", mp3Flv(1));
    t.files.addFile("/in/b/other.flv", mp3Flv(2));
    t.host.rows = {"/in/a/clip.flv", "/in/b/other.flv"};
    t.host.answer = {true, true, "/out/"};
    t.run();
    EXPECT_EQ(*t.output("/in/a/clip.mp3"), pattern(50, 1));
    EXPECT_EQ(*t.output("/in/b/other.mp3"), pattern(50, 2));
    EXPECT_EQ(t.output("/out/clip.mp3"), nullptr);
}

TEST(ExtractionRun, OptionsConfirmedInTheDialogJoinTheRunsOwn) {
    const Bytes flv = readFile(fixturePath("cbr-44k-stereo.flv"));
    EngineTestbed plain;
    plain.add("clip.flv", flv);
    plain.run();
    EngineTestbed t;
    t.add("clip.flv", flv);
    t.add("aac.flv", readFile(fixturePath("aac.flv")));
    t.host.answer.vbrHeader = true;
    t.host.answer.aac = true;
    t.run();
    EXPECT_EQ(t.host.status(2), RowStatus::Finished);
    EXPECT_NE(t.output("/in/aac.aac"), nullptr);
    ASSERT_NE(plain.output("/in/clip.mp3"), nullptr);
    ASSERT_NE(t.output("/in/clip.mp3"), nullptr);
    const Bytes& stream = *plain.output("/in/clip.mp3");
    const Bytes& withHeader = *t.output("/in/clip.mp3");
    ASSERT_GT(withHeader.size(), stream.size());
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), withHeader.end() - stream.size()));
}

TEST(ExtractionRun, NeverExtractsAFileOntoItself) {
    EngineTestbed t;
    const Bytes flv = mp3Flv(1);
    t.add("clip.mp3", flv);
    t.add("next.flv", mp3Flv(2));
    const Bytes aac = readFile(fixturePath("aac.flv"));
    t.add("song.aac", aac);
    t.options.aac = true;
    t.run();
    EXPECT_EQ(t.host.status(1), engine::RowStatus::WriteError);
    EXPECT_EQ(*t.output("/in/clip.mp3"), flv);
    EXPECT_EQ(t.host.status(2), engine::RowStatus::Finished);
    EXPECT_EQ(t.host.status(3), engine::RowStatus::WriteError);
    EXPECT_EQ(*t.output("/in/song.aac"), aac);
}

TEST(ExtractionRun, RowsAddedDuringTheRunAreNotVisited) {
    EngineTestbed t;
    t.add("one.flv", FlvBuilder::start().video().video().audio(0x2F, pattern(5)).bytes());
    t.host.duringPump = [&] { t.host.rows.push_back("/in/late.flv"); };
    t.run();
    EXPECT_EQ(t.host.statusHistory.size(), 1u);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
}

TEST(ExtractionRun, ProgressKeepsTheLastValueUntilTheEndThenReturnsToZero) {
    FlvBuilder b = FlvBuilder::start();
    for (int i = 0; i < 12; ++i) {
        b.video(60);
    }
    EngineTestbed t;
    t.add("one.flv", b.bytes());
    t.add("two.flv", b.bytes());
    t.run();
    ASSERT_EQ(t.host.progress.size(), 5u);
    EXPECT_EQ(t.host.progress[1], 100);
    EXPECT_EQ(t.host.progress[3], 100);
    EXPECT_EQ(t.host.progress[0], t.host.progress[2]);
    EXPECT_EQ(t.host.progress[4], 0);
}

TEST(ExtractionRun, AStopRequestMarksTheFileStoppedAndLeavesNoPartialOutput) {
    FlvBuilder b = FlvBuilder::start();
    for (int i = 0; i < 10; ++i) {
        b.audio(0x2F, pattern(30, i));
    }
    EngineTestbed t;
    t.add("one.flv", b.bytes());
    t.add("two.flv", b.bytes());
    t.host.stopAfterPumps = 3;
    EXPECT_EQ(t.run(), RunResult::Stopped);
    EXPECT_EQ(t.output("/in/one.mp3"), nullptr);
    EXPECT_EQ(t.host.status(1), RowStatus::Stopped);
    EXPECT_EQ(t.host.statusHistory.count(2), 0u);
    EXPECT_EQ(t.host.pumps, 3);
    ASSERT_FALSE(t.host.progress.empty());
    EXPECT_EQ(t.host.progress.back(), 0);
}
