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
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <vector>

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

bool within20Seconds(const std::function<bool()>& happened) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
        if (happened()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

bool holdsOpen(pid_t pid, const fs::path& file) {
    std::error_code gone;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", gone)) {
        if (fs::read_symlink(entry.path(), gone) == file) {
            return true;
        }
    }
    return false;
}

// What the run is doing when the signal comes: reading a long file, its output half written; or
// waiting for the writer of a named pipe, which never comes.
enum class Reading { LongFile, PipeWithoutWriter };

struct Interruption {
    int signal;
    Reading reading;
    const char* name;
    // Ignored by whoever started the program, as nohup ignores SIGHUP: it must stay ignored.
    bool ignoredAtStart = false;
};

void PrintTo(const Interruption& interruption, std::ostream* out) {
    *out << interruption.name;
}

class Interrupted : public ::testing::TestWithParam<Interruption> {};

} // namespace

TEST_P(Interrupted, MidFileTheOlderOutputStaysAndNothingHalfWrittenIsLeft) {
    const Interruption& interruption = GetParam();
    const int signal = interruption.signal;
    TempFolder work;
    const fs::path input = work.path() / "big.flv";
    if (GetParam().reading == Reading::LongFile) {
        writeLongFile(input);
    } else {
        ASSERT_EQ(::mkfifo(input.c_str(), 0644), 0);
    }
    work.write("big.mp3", kOlder);
    work.write("next.flv", FlvBuilder::start().audio(0x2F, pattern(10)).bytes());

    std::vector<int> ignored;
    if (interruption.ignoredAtStart) {
        ignored.push_back(signal);
    }
    RunningProgram cli(QUILLON_CLI_PATH, work.path(), {"big.flv", "next.flv"}, ignored);
    // The signal must land in the middle of the file.
    ASSERT_TRUE(within20Seconds([&] {
        return GetParam().reading == Reading::LongFile ? !temporaryFilesIn(work.path()).empty()
                                                       : holdsOpen(cli.pid(), input);
    }));
    cli.signal(signal);
    // An ignored signal changes nothing: the run is ended by the next one.
    const int ending = interruption.ignoredAtStart ? SIGTERM : signal;
    if (ending != signal) {
        cli.signal(ending);
    }
    const ProgramResult r = cli.wait();

    EXPECT_EQ(readFile(work.path() / "big.mp3"), kOlder);
    EXPECT_FALSE(fs::exists(work.path() / "next.mp3"));
    if (ending == SIGKILL) {
        // Nothing can be cleaned up after this one; at most the temporary file is left.
        EXPECT_EQ(r.killedBy, SIGKILL);
        EXPECT_LE(temporaryFilesIn(work.path()).size(), 1u);
        return;
    }
    EXPECT_EQ(r.exitCode, 128 + ending);
    EXPECT_EQ(r.out, "big.flv: Stopped\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(temporaryFilesIn(work.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted,
                         ::testing::Values(Interruption{SIGINT, Reading::LongFile, "Interrupt"},
                                           Interruption{SIGTERM, Reading::LongFile, "Terminate"},
                                           Interruption{SIGHUP, Reading::LongFile, "HangUp"},
                                           Interruption{SIGKILL, Reading::LongFile, "Kill"},
                                           Interruption{SIGINT, Reading::PipeWithoutWriter,
                                                        "InterruptWaitingForAWriter"},
                                           Interruption{SIGHUP, Reading::LongFile,
                                                        "HangUpUnderNohup", true}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// A run under a limit the system sets: each file that the limit stops fails on its own row, the
// files after it are still extracted, and no temporary file is left.
struct Files {
    std::vector<std::pair<std::string, Bytes>> inputs;
    // The output each input should leave; empty bytes for none.
    std::vector<std::pair<std::string, Bytes>> outputs;
};

struct Starvation {
    const char* name;
    const char* limit; // the shell's ulimit
    Files (*files)();  // made when the case runs: some are large
    const char* out;
};

void PrintTo(const Starvation& s, std::ostream* out) {
    *out << s.name;
}

// A tag of the largest size (16 MiB), a file of several mapped windows (which wants the helper
// thread and its stack), and a small one, for a process limited to about 15 MB of address space.
Files tagsTooLargeForTheAddressSpace() {
    Bytes huge(0xFFFFFF - 1);
    for (std::size_t i = 0; i < huge.size(); i += 4096) {
        huge[i] = std::byte(i >> 12);
    }
    FlvBuilder wide = FlvBuilder::start();
    Bytes wideMp3;
    for (int i = 0; i < 3000; ++i) {
        const Bytes payload = pattern(4000, i);
        wide.audio(0x2F, payload);
        wideMp3.insert(wideMp3.end(), payload.begin(), payload.end());
    }
    return {{{"huge.flv", FlvBuilder::start().audio(0x2F, huge).bytes()},
             {"wide.flv", wide.bytes()},
             {"small.flv", FlvBuilder::start().audio(0x2F, pattern(100)).bytes()}},
            {{"huge.mp3", {}}, {"wide.mp3", wideMp3}, {"small.mp3", pattern(100)}}};
}

// An output over a file-size limit of 20 KiB, and a small one after it.
Files anOutputOverTheFileSizeLimit() {
    FlvBuilder large = FlvBuilder::start();
    for (int i = 0; i < 30; ++i) {
        large.audio(0x2F, pattern(1000, i));
    }
    return {{{"large.flv", large.bytes()},
             {"small.flv", FlvBuilder::start().audio(0x2F, pattern(100)).bytes()}},
            {{"large.mp3", {}}, {"small.mp3", pattern(100)}}};
}

class UnderALimit : public ::testing::TestWithParam<Starvation> {};

} // namespace

TEST_P(UnderALimit, OneRowFailsNotTheProcess) {
    const Starvation& s = GetParam();
#if defined(__SANITIZE_ADDRESS__)
    if (std::string_view(s.limit).starts_with("ulimit -v")) {
        GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
    }
#endif
    const Files files = s.files();
    TempFolder work;
    std::string names;
    for (const auto& [name, bytes] : files.inputs) {
        work.write(name, bytes);
        names += " " + name;
    }
    const ProgramResult r =
        runInBash(work.path(), std::string(s.limit) + "; " + shellQuote(QUILLON_CLI_PATH) + names);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, s.out);
    for (const auto& [name, bytes] : files.outputs) {
        if (bytes.empty()) {
            EXPECT_FALSE(fs::exists(work.path() / name)) << name;
        } else {
            EXPECT_EQ(readFile(work.path() / name), bytes) << name;
        }
    }
    EXPECT_TRUE(temporaryFilesIn(work.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Limits, UnderALimit,
    ::testing::Values(Starvation{"AddressSpace", "ulimit -v 15000", tagsTooLargeForTheAddressSpace,
                                 "huge.flv: Error: Can not read the flv file\n"
                                 "wide.flv: Finished\n"
                                 "small.flv: Finished\n"},
                      Starvation{"FileSize", "ulimit -f 20", anOutputOverTheFileSizeLimit,
                                 "large.flv: Error: Can not write the mp3 file\n"
                                 "small.flv: Finished\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Starved, OnTheWayUpToEnoughMemoryNoLimitLeavesATemporaryFileOrLosesTheOlderOutput) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limits leave";
#else
    // From too little address space to start at all up to enough for the whole run, in steps
    // smaller than the input's read buffer and the output's write buffer: somewhere on the way the
    // output's temporary file can be created but its buffer cannot be had.
    TempFolder work;
    work.write("small.flv", FlvBuilder::start().audio(0x2F, pattern(100)).bytes());
    bool noBuffer = false;
    for (int limitKb = 2000; limitKb < 40'000; limitKb += 100) {
        SCOPED_TRACE(limitKb);
        work.write("small.mp3", kOlder);
        const ProgramResult r =
            runInBash(work.path(), "ulimit -v " + std::to_string(limitKb) + "; " +
                                       shellQuote(QUILLON_CLI_PATH) + " small.flv");
        // Too little to start, or even to throw: the process dies before anything is made.
        if (r.exitCode != 0 && r.exitCode != 1) {
            continue;
        }
        EXPECT_TRUE(temporaryFilesIn(work.path()).empty());
        if (r.out == "small.flv: Finished\n") {
            EXPECT_EQ(readFile(work.path() / "small.mp3"), pattern(100));
            break;
        }
        EXPECT_EQ(readFile(work.path() / "small.mp3"), kOlder);
        if (r.out != "small.flv: Error: Can not read the flv file\n") {
            EXPECT_EQ(r.out, "small.flv: Error: Can not write the mp3 file\n");
            noBuffer = true;
        }
    }
    EXPECT_TRUE(noBuffer) << "no limit reached the output's buffer";
#endif
}
