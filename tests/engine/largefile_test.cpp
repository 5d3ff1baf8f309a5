// SPDX-License-Identifier: GPL-3.0-or-later
// A file beyond 2 GiB, made sparse so the test needs little disk and time: real tags at its start
// and end, and between them video tags whose data is a hole in the file.
#include "engine/extractionrun.h"
#include "engine/statustexts.h"
#include "platform/posixfilesystem.h"
#include "recordinghost.h"
#include "tempfolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;

namespace {

constexpr std::uint32_t kHugeTag = 0xFFFFFF;

// Writes `bytes` at the file's current end, or leaves a hole when `hole` is set.
void append(int fd, const Bytes& bytes) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

Bytes tagHeader(int type, std::uint32_t size) {
    return bytesOf({type, int(size >> 16) & 0xFF, int(size >> 8) & 0xFF, int(size) & 0xFF, 0, 0, 0,
                    0, 0, 0, 0});
}

} // namespace

TEST(LargeFile, BeyondTwoGibibytesIsExtractedInFull) {
    TempFolder folder;
    const std::string input = folder.file("huge.flv");
    const Bytes first = pattern(300, 1);
    const Bytes last = pattern(300, 2);
    {
        const int fd = ::open(input.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        append(fd, FlvBuilder::start().audio(0x2F, first).bytes());
        // 150 video tags of 16 MiB each: about 2.5 GiB, almost all of it a hole.
        for (int i = 0; i < 150; ++i) {
            append(fd, tagHeader(9, kHugeTag));
            ASSERT_GE(::lseek(fd, kHugeTag, SEEK_CUR), 0);
            append(fd, bytesOf({0, 0, 0, 0}));
        }
        Bytes tail = FlvBuilder().audio(0x2F, last).bytes();
        append(fd, tail);
        ::close(fd);
    }
    RecordingHost host({input});
    platform::PosixFileSystem files;
    ExtractionRun run(host, files);
    EXPECT_EQ(run.run(), RunResult::Completed);
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(readFile(folder.file("huge.mp3")), [&] {
        Bytes both = first;
        both.insert(both.end(), last.begin(), last.end());
        return both;
    }());
    // 152 counted tags: the bar moves 25 times, rising steadily, then returns to 0.
    ASSERT_EQ(host.progress.size(), 26u);
    for (std::size_t i = 1; i + 1 < host.progress.size(); ++i) {
        EXPECT_GT(host.progress[i], host.progress[i - 1]);
    }
    // After the audio tag and five huge tags: 83,886,479 of 2,516,585,144 bytes.
    EXPECT_EQ(host.progress[0], 3);
    EXPECT_EQ(host.progress[24], 99);
    EXPECT_EQ(host.progress.back(), 0);
}
