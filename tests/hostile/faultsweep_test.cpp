// SPDX-License-Identifier: GPL-3.0-or-later
// Fails the file layer at every byte of a run, one fault at a time: wherever a read, a create or a
// write breaks, the file must end in the matching error with nothing of its output left and its
// older output as it was, and the file after it must still come out whole.
#include "engine/statustexts.h"
#include "enginetestbed.h"
#include "faultyfilesystem.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;

namespace {

// Audio, video and script tags mixed, so a fault can land in any kind of header or data.
Bytes brokenFile() {
    return FlvBuilder::start()
        .script(40)
        .audio(0x2F, pattern(300, 1))
        .video(120)
        .audio(0x2F, pattern(7, 2))
        .tag(0x28, pattern(15))
        .audio(0x2E, pattern(200, 3))
        .bytes();
}

const Bytes kBrokenOutput = concat({pattern(300, 1), pattern(7, 2), pattern(200, 3)});
const Bytes kNextOutput = pattern(25, 9);
const Bytes kOlderOutput = pattern(3);

// A run over the file under test, then a small well-formed file.
struct SweepRun {
    EngineTestbed t;
    FaultyFileSystem faulty{t.files};

    SweepRun() {
        t.add("broken.flv", brokenFile());
        t.add("next.flv", FlvBuilder::start().audio(0x2F, kNextOutput).bytes());
        // An older output of the file under test, replaced only by a whole new one.
        t.files.addFile("/in/broken.mp3", kOlderOutput);
    }
    void run() { t.run(&faulty); }
    void expectNextFileWhole() const {
        EXPECT_EQ(t.host.status(2), engine::RowStatus::Finished);
        ASSERT_NE(t.output("/in/next.mp3"), nullptr);
        EXPECT_EQ(*t.output("/in/next.mp3"), kNextOutput);
    }
};

} // namespace

TEST(FaultSweep, AReadFailureAtAnyByteIsAReadErrorWithNoOutput) {
    const std::uint64_t size = brokenFile().size();
    for (std::uint64_t budget = 0; budget <= size; ++budget) {
        SCOPED_TRACE(budget);
        SweepRun r;
        r.faulty.readBudget = budget;
        r.faulty.readFaultPath = "/in/broken.flv";
        r.run();
        if (budget < size) {
            EXPECT_EQ(r.t.host.status(1), engine::RowStatus::ReadError);
            EXPECT_EQ(*r.t.output("/in/broken.mp3"), kOlderOutput);
        } else {
            EXPECT_EQ(r.t.host.status(1), engine::RowStatus::Finished);
            EXPECT_EQ(*r.t.output("/in/broken.mp3"), kBrokenOutput);
        }
        EXPECT_TRUE(r.t.host.notices.empty());
        r.expectNextFileWhole();
    }
}

TEST(FaultSweep, AFullDiskAtAnyByteIsAWriteErrorWithNoOutput) {
    // The budget is what the disk can take over the whole run; a removed output does not give
    // its bytes back, so the next file fits only where the budget holds both outputs.
    const std::size_t both = kBrokenOutput.size() + kNextOutput.size();
    for (bool atClose : {false, true}) {
        for (std::uint64_t budget = 0; budget <= both; ++budget) {
            SCOPED_TRACE(::testing::Message() << "budget " << budget << " at close " << atClose);
            SweepRun r;
            r.faulty.writeBudget = budget;
            r.faulty.failAtCommit = atClose;
            r.run();
            if (budget < kBrokenOutput.size()) {
                EXPECT_EQ(r.t.host.status(1), engine::RowStatus::WriteError);
                EXPECT_EQ(*r.t.output("/in/broken.mp3"), kOlderOutput);
            } else {
                EXPECT_EQ(r.t.host.status(1), engine::RowStatus::Finished);
                EXPECT_EQ(*r.t.output("/in/broken.mp3"), kBrokenOutput);
            }
            if (budget < both) {
                EXPECT_EQ(r.t.host.status(2), engine::RowStatus::WriteError);
                EXPECT_EQ(r.t.output("/in/next.mp3"), nullptr);
            } else {
                r.expectNextFileWhole();
            }
        }
    }
}

TEST(FaultSweep, OutputsThatCanNoLongerBeCreatedFailOnlyFromThatFileOn) {
    // The output folder goes away (or turns read-only) after the first output was made.
    EngineTestbed t;
    t.add("one.flv", FlvBuilder::start().audio(0x2F, pattern(10, 1)).bytes());
    t.add("two.flv", FlvBuilder::start().audio(0x2F, pattern(10, 2)).bytes());
    t.add("video.flv", FlvBuilder::start().video().video().bytes());
    t.add("three.flv", FlvBuilder::start().audio(0x2F, pattern(10, 3)).bytes());
    FaultyFileSystem faulty(t.files);
    faulty.createsAllowed = 1;
    t.run(&faulty);
    EXPECT_EQ(t.host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(*t.output("/in/one.mp3"), pattern(10, 1));
    EXPECT_EQ(t.host.status(2), engine::RowStatus::WriteError);
    EXPECT_EQ(t.output("/in/two.mp3"), nullptr);
    // A file with nothing to write needs no output and is not hurt by the broken folder.
    EXPECT_EQ(t.host.status(3), engine::RowStatus::NoAudio);
    EXPECT_EQ(t.host.status(4), engine::RowStatus::WriteError);
    EXPECT_EQ(t.host.progress.back(), 0);
}
