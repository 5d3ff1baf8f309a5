// SPDX-License-Identifier: GPL-3.0-or-later
// Awkward names and long paths, through the engine on the real disk and through the command line:
// each is extracted next to its input, or refused with a status that says which side failed.
#include "engine/extractionrun.h"
#include "engine/statustexts.h"
#include "platform/posixfilesystem.h"
#include "programrun.h"
#include "recordinghost.h"
#include "tempfolder.h"

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;
namespace fs = std::filesystem;

namespace {

// The longest name most Linux file systems take, and the longest path the system calls take
// (PATH_MAX counts the terminating zero).
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kPathMax = PATH_MAX - 1;

const Bytes kPayload = pattern(77, 5);
const Bytes kFlv = FlvBuilder::start().audio(0x2F, kPayload).video().bytes();

std::string repeat(const std::string& piece, std::size_t times) {
    std::string s;
    for (std::size_t i = 0; i < times; ++i) {
        s += piece;
    }
    return s;
}

struct NameCase {
    const char* label;
    std::string input;  // file name of the input
    std::string output; // file name the output must have
    std::string shown;  // how the command line prints the input, when not as it is
};

std::vector<NameCase> awkwardNames() {
    return {
        {"Cjk", "片段 クリップ 영상.flv", "片段 クリップ 영상.mp3", {}},
        {"Accents", "café crème brûlée – Ærø.flv", "café crème brûlée – Ærø.mp3", {}},
        {"Emoji",
         "🎵 song 🎶👩‍👩‍👧.flv",
         "🎵 song 🎶👩‍👩‍👧.mp3",
         {}},
        {"Spaces", "  two  spaces  .flv", "  two  spaces  .mp3", {}},
        {"LeadingDash", "-o.flv", "-o.mp3", {}},
        {"LeadingDoubleDash", "--help.flv", "--help.mp3", {}},
        // Not a separator on Linux: part of the name like any other character.
        {"Backslash", "C:\\Video\\clip.flv", "C:\\Video\\clip.mp3", R"("C:\\Video\\clip.flv")"},
        // Control characters cannot forge status lines or steer the terminal.
        {"Newline", "two\nlines.flv", "two\nlines.mp3", R"("two\nlines.flv")"},
        {"TerminalEscape", "\x1b[2Jred.flv", "\x1b[2Jred.mp3", R"("\x1b[2Jred.flv")"},
        {"TabAndBackslash", "a\tb\\c.flv", "a\tb\\c.mp3", R"("a\tb\\c.flv")"},
        {"NotUtf8", "\xff\xfe latin-1 \xe9t\xe9.flv", "\xff\xfe latin-1 \xe9t\xe9.mp3", {}},
        {"TwoDots", "my.clip.flv", "my.clip.mp3", {}},
        {"Longest", repeat("x", kNameMax - 4) + ".flv", repeat("x", kNameMax - 4) + ".mp3", {}},
        // 83 three-byte characters: 249 bytes, and 255 with "ab.flv".
        {"LongestCjk", repeat("片", 83) + "ab.flv", repeat("片", 83) + "ab.mp3", {}},
    };
}

RunResult runOver(RecordingHost& host) {
    platform::PosixFileSystem files;
    ExtractionRun run(host, files);
    return run.run();
}

// A folder chain inside `root` whose path is `length` bytes long.
fs::path folderOfLength(const fs::path& root, std::size_t length) {
    std::string path = root.string();
    while (path.size() + 1 + 200 <= length) {
        path.append(1, '/').append(200, 'd');
    }
    if (path.size() + 2 <= length) {
        path.append(1, '/').append(length - path.size() - 1, 'e');
    }
    fs::create_directories(path);
    return path;
}

class AwkwardName : public ::testing::TestWithParam<NameCase> {};

} // namespace

TEST_P(AwkwardName, IsExtractedNextToItsInput) {
    TempFolder folder;
    const std::string input = folder.write(GetParam().input, kFlv);
    RecordingHost host({input});
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(readFile(folder.path() / GetParam().output), kPayload);
}

TEST_P(AwkwardName, IsExtractedIntoAFolderWithAnAwkwardNameToo) {
    TempFolder folder;
    const fs::path out = folder.path() / "-Ausgabe 片段 🎵 C:\\out";
    fs::create_directory(out);
    const std::string input = folder.write(GetParam().input, kFlv);
    RecordingHost host({input});
    host.answer = {true, false, out.string() + "/"};
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(readFile(out / GetParam().output), kPayload);
}

INSTANTIATE_TEST_SUITE_P(Names, AwkwardName, ::testing::ValuesIn(awkwardNames()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LongPaths, AnOutputNameTooLongForTheFileSystemIsAWriteError) {
    // The input's name fits in 255 bytes; with ".mp3" for ".f" the output's does not.
    TempFolder folder;
    const std::string input = folder.write(repeat("y", kNameMax - 2) + ".f", kFlv);
    RecordingHost host({input, folder.write("next.flv", kFlv)});
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::WriteError);
    EXPECT_EQ(readFile(input), kFlv);
    EXPECT_EQ(host.status(2), engine::RowStatus::Finished);
}

TEST(LongPaths, APathOfTheLongestLengthIsExtractedAndOneByteMoreIsRefused) {
    TempFolder folder;
    const fs::path deep = folderOfLength(folder.path(), kPathMax - 60);
    // Input and output paths both exactly as long as the system takes.
    const std::string fits =
        deep.string() + "/" + std::string(kPathMax - deep.string().size() - 1 - 4, 'a') + ".flv";
    ASSERT_EQ(fits.size(), kPathMax);
    // The input fits; ".mp3" for ".fl" makes its output one byte too long.
    std::string tooLong = fits;
    tooLong.replace(tooLong.size() - 4, 4, "b.fl");
    for (const std::string& path : {fits, tooLong}) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(kFlv.data()), std::streamsize(kFlv.size()));
        ASSERT_TRUE(fs::exists(path));
    }
    RecordingHost host({fits, tooLong});
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(readFile(fits.substr(0, fits.size() - 4) + ".mp3"), kPayload);
    EXPECT_EQ(host.status(2), engine::RowStatus::WriteError);
}

TEST(LongPaths, AnInputPathLongerThanTheSystemTakesIsAReadError) {
    // The file exists, made relative to its folder; only its full path is too long to open.
    TempFolder folder;
    const fs::path deep = folderOfLength(folder.path(), kPathMax - 60);
    const std::string name = std::string(100, 'z') + ".flv";
    {
        const int dir = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(dir, 0);
        const int fd = ::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, kFlv.data(), kFlv.size()), ssize_t(kFlv.size()));
        ::close(fd);
        ::close(dir);
    }
    const std::string input = deep.string() + "/" + name;
    ASSERT_GT(input.size(), kPathMax);
    RecordingHost host({input});
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::ReadError);
    // Cleaned up here: the folder's own removal works by full paths.
    const int dir = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    ::unlinkat(dir, name.c_str(), 0);
    ::close(dir);
}

namespace {

using CliResult = ProgramResult;

CliResult runCli(const TempFolder& work, const std::vector<std::string>& args) {
    return runProgram(QUILLON_CLI_PATH, work.path(), args);
}

} // namespace

TEST(CliPaths, EveryAwkwardNameIsExtractedAndReportedAsGiven) {
    TempFolder work;
    std::vector<std::string> args{"--"};
    std::string expectedOut;
    for (const NameCase& c : awkwardNames()) {
        work.write(c.input, kFlv);
        args.push_back(c.input);
        expectedOut += (c.shown.empty() ? c.input : c.shown) + ": " +
                       std::string(engine::statusText(engine::RowStatus::Finished)) + "\n";
    }
    const CliResult r = runCli(work, args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expectedOut);
    EXPECT_EQ(r.err, "");
    for (const NameCase& c : awkwardNames()) {
        EXPECT_EQ(readFile(work.path() / c.output), kPayload) << c.label;
    }
}

TEST(CliPaths, AnOutputFolderWithAnAwkwardNameAndALeadingDash) {
    TempFolder work;
    fs::create_directory(work.path() / "-片段 🎵");
    work.write("clip.flv", kFlv);
    const CliResult r = runCli(work, {"-o", "-片段 🎵", "clip.flv"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "clip.flv: Finished\n");
    EXPECT_EQ(readFile(work.path() / "-片段 🎵" / "clip.mp3"), kPayload);
}

TEST(CliPaths, NamesTooLongAreRefusedWithTheirStatusAndExitOne) {
    TempFolder work;
    const std::string longName = repeat("y", kNameMax - 2) + ".f";
    work.write(longName, kFlv);
    work.write("ok.flv", kFlv);
    const std::string missing = std::string(kPathMax + 10, 'q');
    const CliResult r = runCli(work, {longName, missing, "ok.flv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, longName + ": " +
                         std::string(engine::statusText(engine::RowStatus::WriteError)) + "\n" +
                         missing + ": " +
                         std::string(engine::statusText(engine::RowStatus::ReadError)) +
                         "\nok.flv: Finished\n");
}
