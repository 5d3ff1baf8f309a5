// SPDX-License-Identifier: GPL-3.0-or-later
// Runs over real files on disk through the real file layer.
#include "engine/extractionrun.h"
#include "engine/statustexts.h"
#include "platform/posixfilesystem.h"
#include "recordinghost.h"
#include "sha256.h"
#include "tempfolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;
namespace fs = std::filesystem;

namespace {

struct ExpectedOutput {
    std::string hash;
    std::uintmax_t size = 0;
};

// expected.sha256 and expected-aac.sha256 hold "hash size fixture" lines, written by
// make-fixtures.sh from ffmpeg's own stream copy of each fixture's audio (as MP3, and as ADTS).
std::map<std::string, ExpectedOutput> expectedOutputs(const std::string& list) {
    std::ifstream in(fixturePath(list));
    std::map<std::string, ExpectedOutput> result;
    std::string hash, name;
    std::uintmax_t size = 0;
    while (in >> hash >> size >> name) {
        result[name] = {hash, size};
    }
    return result;
}

RunResult runOver(RecordingHost& host, RunOptions options = {}) {
    platform::PosixFileSystem files;
    ExtractionRun run(host, files, options);
    return run.run();
}

struct FfmpegCopy {
    const char* name;
    const char* list;      // the expected hashes
    const char* extension; // of the outputs
    std::size_t fixtures;
    bool aac;
};
using OutputsOfFixtures = ::testing::TestWithParam<FfmpegCopy>;

} // namespace

TEST_P(OutputsOfFixtures, EqualFfmpegsStreamCopyByteForByte) {
    const auto expected = expectedOutputs(GetParam().list);
    ASSERT_EQ(expected.size(), GetParam().fixtures);
    TempFolder out;
    RecordingHost host;
    for (const auto& [name, _] : expected) {
        host.rows.push_back(fixturePath(name).string());
    }
    host.answer = {true, false, out.path().string() + "/"};
    EXPECT_EQ(runOver(host, {.aac = GetParam().aac}), RunResult::Completed);
    for (const auto& [name, want] : expected) {
        const fs::path output =
            out.path() / (fs::path(name).stem().string() + GetParam().extension);
        ASSERT_TRUE(fs::exists(output)) << output;
        EXPECT_EQ(fs::file_size(output), want.size) << name;
        EXPECT_EQ(sha256Hex(readFile(output)), want.hash) << name;
    }
    EXPECT_TRUE(host.notices.empty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OutputsOfFixtures,
                         ::testing::Values(FfmpegCopy{"Mp3", "expected.sha256", ".mp3", 2, false},
                                           FfmpegCopy{"AacAsAdts", "expected-aac.sha256", ".aac", 3,
                                                      true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DiskRun, AacAndVideoOnlyFixturesSayWhyThereIsNoOutput) {
    TempFolder out;
    RecordingHost host({fixturePath("aac.flv").string(), fixturePath("video-only.flv").string()});
    host.answer = {true, false, out.path().string() + "/"};
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::SkippedAac);
    EXPECT_EQ(host.status(2), engine::RowStatus::NoAudio);
    EXPECT_EQ(host.notices, std::vector<engine::Notice>{kAudioNotExtracted});
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST(DiskRun, UnicodeAndSpacesInNamesWork) {
    TempFolder folder;
    const fs::path sub = folder.path() / "Vidéos 片段 🎵";
    fs::create_directory(sub);
    const fs::path input = sub / "mein Clip – ünïcode.flv";
    fs::copy_file(fixturePath("mp3-only.flv"), input);
    RecordingHost host({input.string()});
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_TRUE(fs::exists(sub / "mein Clip – ünïcode.mp3"));
}

TEST(DiskRun, AnOutputThatCannotBeCreatedEndsAsWriteError) {
    TempFolder folder;
    const std::string input = folder.file("clip.flv");
    fs::copy_file(fixturePath("mp3-only.flv"), input);
    // A folder where the output should go: it is neither deleted nor replaced.
    fs::create_directory(folder.path() / "clip.mp3");
    RecordingHost host({input});
    host.answer = {true, true, ""};
    runOver(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::WriteError);
    EXPECT_TRUE(fs::is_directory(folder.path() / "clip.mp3"));

    // An output folder that does not exist.
    RecordingHost elsewhere({input});
    elsewhere.answer = {true, false, folder.file("no such folder") + "/"};
    runOver(elsewhere);
    EXPECT_EQ(elsewhere.status(1), engine::RowStatus::WriteError);
}
