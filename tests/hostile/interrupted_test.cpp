// SPDX-License-Identifier: GPL-3.0-or-later
// The command line interrupted by signals and starved of memory and threads: the real binary on
// real files. Nothing the user still has reason to keep may be lost, nothing half-written may stand
// under an output's name, and the process must never abort.
#include "flvbuilder.h"
#include "programrun.h"
#include "tempfolder.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

const Bytes kOlder = bytesOf("an older output the user still has");

// A valid FLV of about 1 GiB that takes the reader a good while but no disk: an audio tag, a hole
// of empty tags (zeros, 15 bytes each), and another audio tag.
void writeLongFile(const fs::path& path) {
    const Bytes head = FlvBuilder::start().audio(0x2F, pattern(400, 1)).bytes();
    const Bytes tail = FlvBuilder().audio(0x2F, pattern(400, 2)).bytes();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
    out.seekp(std::streamoff(head.size() + 15 * ((std::uint64_t(1) << 30) / 15)));
    out.write(reinterpret_cast<const char*>(tail.data()), std::streamsize(tail.size()));
}

std::vector<std::string> temporaryFilesIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".part")) {
            found.push_back(name);
        }
    }
    return found;
}

// Waits until the run has started writing the output, so a signal lands in the middle of a file.
bool waitForTemporaryFile(const fs::path& folder) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
        if (!temporaryFilesIn(folder).empty()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

class Interrupted : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(Interrupted, MidFileTheOlderOutputStaysAndNothingHalfWrittenIsLeft) {
    const int signal = GetParam();
    TempFolder work;
    writeLongFile(work.path() / "big.flv");
    work.write("big.mp3", kOlder);
    work.write("next.flv", FlvBuilder::start().audio(0x2F, pattern(10)).bytes());

    RunningProgram cli(QUILLON_CLI_PATH, work.path(), {"big.flv", "next.flv"});
    ASSERT_TRUE(waitForTemporaryFile(work.path()));
    cli.signal(signal);
    const ProgramResult r = cli.wait();

    EXPECT_EQ(readFile(work.path() / "big.mp3"), kOlder);
    EXPECT_FALSE(fs::exists(work.path() / "next.mp3"));
    if (signal == SIGKILL) {
        // Nothing can be cleaned up after this one; at most the temporary file is left.
        EXPECT_EQ(r.killedBy, SIGKILL);
        EXPECT_LE(temporaryFilesIn(work.path()).size(), 1u);
        return;
    }
    EXPECT_EQ(r.exitCode, 128 + signal);
    EXPECT_EQ(r.out, "big.flv: Stopped\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(temporaryFilesIn(work.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGKILL),
                         [](const auto& info) {
                             switch (info.param) {
                             case SIGINT:
                                 return std::string("Interrupt");
                             case SIGTERM:
                                 return std::string("Terminate");
                             case SIGHUP:
                                 return std::string("HangUp");
                             default:
                                 return std::string("Kill");
                             }
                         });

TEST(Starved, NoMemoryForATagOrAThreadEndsOneRowNotTheProcess) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#else
    TempFolder work;
    // A tag of the largest size (16 MiB), a file of several mapped windows (which wants the helper
    // thread and its stack), and a small one, in a process limited to about 15 MB of address space.
    Bytes huge(0xFFFFFF - 1);
    for (std::size_t i = 0; i < huge.size(); i += 4096) {
        huge[i] = std::byte(i >> 12);
    }
    work.write("huge.flv", FlvBuilder::start().audio(0x2F, huge).bytes());
    FlvBuilder wide = FlvBuilder::start();
    Bytes wideMp3;
    for (int i = 0; i < 3000; ++i) {
        const Bytes payload = pattern(4000, i);
        wide.audio(0x2F, payload);
        wideMp3.insert(wideMp3.end(), payload.begin(), payload.end());
    }
    work.write("wide.flv", wide.bytes());
    work.write("small.flv", FlvBuilder::start().audio(0x2F, pattern(100)).bytes());

    const ProgramResult r =
        runInBash(work.path(), "ulimit -v 15000; " + shellQuote(QUILLON_CLI_PATH) +
                                   " huge.flv wide.flv small.flv");
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "huge.flv: Error: Can not read the flv file\n"
                     "wide.flv: Finished\n"
                     "small.flv: Finished\n");
    EXPECT_FALSE(fs::exists(work.path() / "huge.mp3"));
    EXPECT_EQ(readFile(work.path() / "wide.mp3"), wideMp3);
    EXPECT_EQ(readFile(work.path() / "small.mp3"), pattern(100));
    EXPECT_TRUE(temporaryFilesIn(work.path()).empty());
#endif
}
