// SPDX-License-Identifier: GPL-3.0-or-later
// The command line end to end: the real binary, real files, its output and exit status.
#include "flvbuilder.h"
#include "programrun.h"
#include "tempfolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

using CliResult = ProgramResult;

class Cli : public ::testing::Test {
protected:
    CliResult run(const std::vector<std::string>& args) {
        return runProgram(QUILLON_CLI_PATH, work.path(), args);
    }
    void copyFixture(const std::string& name, const std::string& as) {
        fs::copy_file(fixturePath(name), work.path() / as);
    }

    TempFolder work;
};

} // namespace

TEST_F(Cli, ExtractsNextToEachInputAndReportsEveryFileInOrder) {
    copyFixture("mp3-only.flv", "a b.flv");
    fs::create_directory(work.path() / "sub");
    copyFixture("mp3-video.flv", "sub/clip.flv");
    work.write("text.flv", bytesOf("not a video"));
    const CliResult r = run({"a b.flv", "text.flv", "missing.flv", "sub", "sub/clip.flv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "a b.flv: Finished\n"
                     "text.flv: Error: Can not read the flv file\n"
                     "missing.flv: Error: Can not read the flv file\n"
                     "sub: Error: Can not read the flv file\n"
                     "sub/clip.flv: Finished\n");
    // The status is the window's; stderr says what the system found.
    EXPECT_EQ(r.err, "quillon-cli: text.flv: not an FLV file\n"
                     "quillon-cli: missing.flv: No such file or directory\n"
                     "quillon-cli: sub: Is a directory\n");
    EXPECT_EQ(readFile(work.path() / "a b.mp3").size(), 16300u);
    EXPECT_EQ(readFile(work.path() / "sub/clip.mp3").size(), 12225u);
}

TEST_F(Cli, OutputDirTakesAllOutputsAndTheExitStatusSaysWhetherEachGaveOne) {
    copyFixture("mp3-only.flv", "one.flv");
    copyFixture("aac.flv", "two.flv");
    fs::create_directory(work.path() / "out");
    for (const auto& flag :
         {std::vector<std::string>{"-o", "out"}, std::vector<std::string>{"--output-dir", "out/"},
          std::vector<std::string>{"--output-dir=out"}}) {
        std::vector<std::string> args = flag;
        args.insert(args.end(), {"one.flv", "two.flv"});
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 3) << flag[0];
        EXPECT_EQ(r.out, "one.flv: Finished\ntwo.flv: Skipped: AAC audio\n");
        // The notice goes to stderr, once, and the run goes on; at its end, how to get the AAC.
        EXPECT_EQ(r.err, "two.flv: Can not get audio data\n"
                         "quillon-cli: AAC audio is extracted (to NAME.aac) only with --aac\n");
        EXPECT_TRUE(fs::exists(work.path() / "out/one.mp3"));
        EXPECT_FALSE(fs::exists(work.path() / "out/two.mp3"));
        EXPECT_FALSE(fs::exists(work.path() / "one.mp3"));
        fs::remove(work.path() / "out/one.mp3");
    }
    const CliResult r = run({"--aac", "-o", "out", "one.flv", "two.flv"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "one.flv: Finished\ntwo.flv: Finished\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(work.path() / "out/two.aac").size(), 8757u);
}

TEST_F(Cli, AMixedBatchWithAacGivesEachFileItsOutputOrSaysWhyNot) {
    copyFixture("mp3-only.flv", "song.flv");
    copyFixture("h264-aac.flv", "talk.flv");
    copyFixture("video-only.flv", "silent.flv");
    // A raw AAC frame before any configuration: ADTS would not know its header.
    work.write("noconf.flv", FlvBuilder::start().audio(0xAF, bytesOf({1, 0x21, 0x10})).bytes());
    work.write("broken.flv", bytesOf("<html>Bad gateway</html>"));
    const CliResult r = run({"--aac", "--vbr-header", "song.flv", "talk.flv", "silent.flv",
                             "noconf.flv", "broken.flv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "song.flv: Finished\n"
                     "talk.flv: Finished\n"
                     "silent.flv: No audio\n"
                     "noconf.flv: Skipped: AAC audio (no configuration)\n"
                     "broken.flv: Error: Can not read the flv file\n");
    EXPECT_EQ(r.err, "quillon-cli: --vbr-header applies to .mp3 files only; .aac files are "
                     "written without one\n"
                     "noconf.flv: Can not get audio data\n"
                     "quillon-cli: broken.flv: not an FLV file\n");
    EXPECT_GT(readFile(work.path() / "song.mp3").size(), 16300u) << "with its header frame";
    EXPECT_EQ(readFile(work.path() / "talk.aac").size(), 8302u);
    for (const char* none : {"talk.mp3", "silent.mp3", "silent.aac", "noconf.aac", "noconf.mp3",
                             "broken.mp3", "broken.aac"}) {
        EXPECT_FALSE(fs::exists(work.path() / none)) << none;
    }
    // No file failed, one had nothing to extract.
    const CliResult quiet = run({"--aac", "silent.flv", "talk.flv"});
    EXPECT_EQ(quiet.exitCode, 3);
    EXPECT_EQ(quiet.err, "");
}

TEST_F(Cli, UsageErrorsExitWithTwo) {
    copyFixture("mp3-only.flv", "one.flv");
    for (const auto& args :
         {std::vector<std::string>{}, std::vector<std::string>{"--bogus", "one.flv"},
          std::vector<std::string>{"one.flv", "-o"}, std::vector<std::string>{"-o", "one.flv"}}) {
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        // One line saying what is wrong, and where to read more; not the whole help.
        EXPECT_TRUE(r.err.starts_with("quillon-cli: ")) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.rfind('\n', r.err.size() - 2)) << r.err;
        EXPECT_TRUE(r.err.ends_with("\nTry 'quillon-cli --help' for more information.\n")) << r.err;
    }
    EXPECT_FALSE(fs::exists(work.path() / "one.mp3"));
}

TEST_F(Cli, AnUnusableOutputDirIsRefusedBeforeAnythingRuns) {
    copyFixture("mp3-only.flv", "one.flv");
    work.write("plainfile", bytesOf("x"));
    for (const auto& [dir, reason] :
         {std::pair<std::string, std::string>{"missing", "No such file or directory"},
          {"plainfile", "Not a directory"}}) {
        const CliResult r = run({"-o", dir, "one.flv"});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, "quillon-cli: output folder " + dir + ": " + reason + "\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(Cli, DoubleDashLetsFileNamesStartWithADash) {
    copyFixture("mp3-only.flv", "-o.flv");
    const CliResult r = run({"--", "-o.flv"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "-o.flv: Finished\n");
    EXPECT_TRUE(fs::exists(work.path() / "-o.mp3"));
}

TEST_F(Cli, HelpAndVersion) {
    const CliResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--output-dir"), std::string::npos);
    const CliResult version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quillon-cli " QUILLON_EXPECTED_VERSION "\n");
}

TEST_F(Cli, NoProgressBarWhenStderrIsNotATerminal) {
    copyFixture("mp3-video.flv", "clip.flv");
    const CliResult r = run({"clip.flv"});
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, AnOlderOutputIsReplacedOnlyByAWholeNewOne) {
    // A typo, a file that is no FLV or has no audio to extract: the older song.mp3 (song.aac)
    // must survive.
    struct Case {
        const char* fixture; // what song.flv holds, or null for `content`
        Bytes content;       // what song.flv holds without a fixture; empty for no such file
        std::vector<std::string> args;
        const char* output;
        std::uintmax_t newSize; // 0 when the older output stays
    };
    // A raw frame (packet type 1) one byte longer than an ADTS frame holds.
    Bytes tooLong = pattern(1 + 8185);
    tooLong[0] = std::byte{1};
    const Bytes refusedAac = FlvBuilder::start()
                                 .audio(0xAF, bytesOf({0, 0x12, 0x10}))
                                 .audio(0xAF, bytesOf({1, 0x21}))
                                 .audio(0xAF, tooLong)
                                 .bytes();
    const Case cases[] = {
        {nullptr, {}, {"song.flvv"}, "song.mp3", 0},
        {"aac.flv", {}, {"song.flv"}, "song.mp3", 0},
        {"video-only.flv", {}, {"song.flv"}, "song.mp3", 0},
        {nullptr, bytesOf("not a video"), {"song.flv"}, "song.mp3", 0},
        {"mp3-only.flv", {}, {"song.flv"}, "song.mp3", 16300},
        // AAC refused after a frame was written: the part written goes, the older one stays.
        {nullptr, refusedAac, {"--aac", "song.flv"}, "song.aac", 0},
        {"aac.flv", {}, {"--aac", "song.flv"}, "song.aac", 8757},
    };
    const Bytes older = bytesOf("the older output");
    for (const Case& c : cases) {
        fs::remove(work.path() / "song.flv");
        if (c.fixture != nullptr) {
            copyFixture(c.fixture, "song.flv");
        } else if (!c.content.empty()) {
            work.write("song.flv", c.content);
        }
        work.write(c.output, older);
        run(c.args);
        const Bytes now = readFile(work.path() / c.output);
        EXPECT_EQ(now.size(), c.newSize != 0 ? c.newSize : older.size())
            << c.args.back() << " " << (c.fixture ? c.fixture : "") << " " << c.output;
        EXPECT_EQ(now != older, c.newSize != 0);
        // Neither the new output's temporary name nor the older one's last is left behind.
        for (const auto& entry : fs::directory_iterator(work.path())) {
            EXPECT_FALSE(entry.path().filename().string().ends_with(".part")) << entry.path();
        }
        fs::remove(work.path() / c.output);
    }
}

TEST_F(Cli, FilesThatWouldWriteTheSameOutputAreRefusedBeforeAnythingRuns) {
    fs::create_directories(work.path() / "a");
    fs::create_directories(work.path() / "b");
    fs::create_directories(work.path() / "out");
    copyFixture("mp3-only.flv", "a/clip.flv");
    copyFixture("mp3-only.flv", "b/clip.flv");
    copyFixture("mp3-only.flv", "clip.flv");
    copyFixture("mp3-only.flv", "clip.jpg");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"-o", "out", "a/clip.flv", "b/clip.flv"},
         "quillon-cli: out/clip.mp3 would be written by more than one FILE: a/clip.flv, "
         "b/clip.flv\n"},
        {{"clip.flv", "clip.jpg"},
         "quillon-cli: clip.mp3 would be written by more than one FILE: clip.flv, clip.jpg\n"},
        // Which of clip.mp3 and clip.aac each gives shows only once it is read.
        {{"--aac", "-o", "out", "a/clip.flv", "b/clip.flv"},
         "quillon-cli: out/clip.mp3 or out/clip.aac would be written by more than one FILE: "
         "a/clip.flv, b/clip.flv\n"},
        {{"a/clip.flv", "a/../a/clip.flv", "clip.flv"},
         "quillon-cli: a/clip.mp3 would be written by more than one FILE: a/clip.flv, "
         "a/../a/clip.flv\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.message);
    }
    for (const char* output : {"out/clip.mp3", "a/clip.mp3", "b/clip.mp3", "clip.mp3"}) {
        EXPECT_FALSE(fs::exists(work.path() / output)) << output;
    }
}

TEST_F(Cli, StatusLinesThatCannotBeWrittenAreAFailure) {
    copyFixture("mp3-only.flv", "one.flv");
    const CliResult r =
        runInBash(work.path(), shellQuote(QUILLON_CLI_PATH) + " one.flv > /dev/full");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillon-cli: can not write the status lines: No space left on device\n");
    EXPECT_EQ(readFile(work.path() / "one.mp3").size(), 16300u);
}

TEST_F(Cli, APipeIsReadToItsEndLikeTheSameBytesInAFileButOnlyWithAnOutputDir) {
    // The shell's <(...) hands over /dev/fd/N: the output is named N.mp3, and without -o it would
    // land in /dev/fd, so that is refused before anything is read.
    copyFixture("mp3-video.flv", "clip.flv");
    fs::create_directory(work.path() / "d");
    const CliResult r =
        runInBash(work.path(), shellQuote(QUILLON_CLI_PATH) + " -o d <(cat clip.flv) && " +
                                   shellQuote(QUILLON_CLI_PATH) + " clip.flv");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(": Finished\nclip.flv: Finished\n"), std::string::npos) << r.out;
    const std::string fd = r.out.substr(0, r.out.find(':'));
    ASSERT_TRUE(fd.starts_with("/dev/fd/")) << r.out;
    const fs::path output = work.path() / "d" / (fd.substr(fd.rfind('/') + 1) + ".mp3");
    EXPECT_EQ(readFile(output), readFile(work.path() / "clip.mp3"));
    EXPECT_EQ(readFile(work.path() / "clip.mp3").size(), 12225u);

    // Standard input open on the file itself: /dev/stdin still stands for a descriptor.
    for (const char* input : {"<(cat clip.flv)", "/dev/stdin < clip.flv"}) {
        const CliResult bare =
            runInBash(work.path(), shellQuote(QUILLON_CLI_PATH) + " clip.flv " + input);
        EXPECT_EQ(bare.exitCode, 2) << input;
        EXPECT_EQ(bare.out, "") << input;
        EXPECT_NE(bare.err.find(" is a pipe, a device or a descriptor, not a file in a folder: "
                                "give -o DIR for its output\n"),
                  std::string::npos)
            << bare.err;
    }
}

TEST_F(Cli, VbrHeaderOptionPutsTheHeaderFrameInFrontOrSaysWhyNot) {
    copyFixture("vbr-44k-stereo.flv", "vbr.flv");
    // A stream of one-byte payloads: an output without a single MPEG frame.
    work.write("noise.flv", FlvBuilder::start().audio(0x2F, pattern(300)).bytes());
    const Bytes plain = [&] {
        run({"vbr.flv"});
        return readFile(work.path() / "vbr.mp3");
    }();
    for (const char* flag : {"--vbr-header", "--xing"}) {
        const CliResult r = run({flag, "vbr.flv", "noise.flv"});
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_EQ(r.out, "vbr.flv: Finished\nnoise.flv: Finished\n") << flag;
        EXPECT_EQ(r.err, "noise.flv: No VBR header written: no MPEG audio frames found\n") << flag;
        const Bytes withHeader = readFile(work.path() / "vbr.mp3");
        ASSERT_EQ(withHeader.size(), plain.size() + 156) << flag;
        EXPECT_TRUE(std::equal(plain.begin(), plain.end(), withHeader.begin() + 156)) << flag;
        // The header frame itself reached the disk: its sync word, and its tag after the 32
        // bytes of MPEG 1 stereo side info.
        EXPECT_EQ(withHeader[0], std::byte{0xFF}) << flag;
        EXPECT_EQ(withHeader[1] & std::byte{0xE0}, std::byte{0xE0}) << flag;
        EXPECT_EQ(Bytes(withHeader.begin() + 36, withHeader.begin() + 40), bytesOf("Xing")) << flag;
        EXPECT_EQ(readFile(work.path() / "noise.mp3"), pattern(300)) << flag;
    }
}
