#include "platform/posixfilesystem.h"
#include "tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {
std::span<const std::byte> asBytes(const Bytes& b) {
    return b;
}

using ReadMode = platform::PosixFileSystem::ReadMode;

// Every reading behaviour must hold for mapped and for buffered inputs alike.
class PosixInputFile : public ::testing::TestWithParam<ReadMode> {
protected:
    platform::PosixFileSystem files{GetParam()};
    TempFolder folder;
};
} // namespace

TEST_P(PosixInputFile, ReadsAcrossBufferBoundariesInAnyPieceSize) {
    // Several read buffers and mapped windows, read in uneven pieces, some larger than either.
    const Bytes content = pattern((27u << 20) / 2 + 13, 5);
    const std::string path = folder.write("data.bin", content);
    auto in = files.openForReading(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->size(), content.size());
    Bytes got;
    const std::size_t pieces[] = {11, 4, 70'000, 3 << 20, 1, 999'999, 5 << 20};
    for (std::size_t i = 0; got.size() < content.size(); ++i) {
        Bytes piece(pieces[i % std::size(pieces)]);
        piece.resize(in->read(piece));
        got.insert(got.end(), piece.begin(), piece.end());
        if (piece.empty()) {
            break;
        }
    }
    EXPECT_EQ(got, content);
    EXPECT_FALSE(in->failed());
}

TEST_P(PosixInputFile, AtTheEndReadsReturnZeroAndLeaveTheDestinationAlone) {
    auto in = files.openForReading(folder.write("small.bin", pattern(5)));
    Bytes dest = bytesOf({9, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(in->read(dest), 5u);
    EXPECT_EQ(dest, bytesOf({0, 1, 2, 3, 4, 9, 9, 9}));
    Bytes again = bytesOf({7, 7});
    EXPECT_EQ(in->read(again), 0u);
    EXPECT_EQ(again, bytesOf({7, 7}));
    EXPECT_FALSE(in->failed());
}

TEST_P(PosixInputFile, SkipAndSeekKeepReadsInStep) {
    const Bytes content = pattern(3 << 20, 1);
    auto in = files.openForReading(folder.write("data.bin", content));
    Bytes one(1);
    ASSERT_EQ(in->read(one), 1u);
    // Within the buffer, then far beyond it.
    EXPECT_EQ(in->skip(10), 10u);
    ASSERT_EQ(in->read(one), 1u);
    EXPECT_EQ(one[0], content[11]);
    EXPECT_EQ(in->skip(2 << 20), std::uint64_t(2 << 20));
    ASSERT_EQ(in->read(one), 1u);
    EXPECT_EQ(one[0], content[12 + (2 << 20)]);
    // Skipping past the end passes over only what is there.
    const std::uint64_t left = content.size() - (13 + (2 << 20));
    EXPECT_EQ(in->skip(std::uint64_t(1) << 40), left);
    EXPECT_EQ(in->read(one), 0u);
    ASSERT_TRUE(in->seek(7));
    ASSERT_EQ(in->read(one), 1u);
    EXPECT_EQ(one[0], content[7]);
}

TEST_P(PosixInputFile, AFileThatShrinksWhileBeingReadFailsInsteadOfCrashing) {
    const std::string path = folder.write("data.bin", pattern(20 << 20));
    auto in = files.openForReading(path);
    Bytes piece(1 << 20);
    ASSERT_EQ(in->read(piece), piece.size());
    std::filesystem::resize_file(path, 4096);
    // Far past the new end: the old pages are gone.
    in->skip(10 << 20);
    EXPECT_LT(in->read(piece), piece.size());
    EXPECT_TRUE(in->failed());
}

INSTANTIATE_TEST_SUITE_P(Modes, PosixInputFile,
                         ::testing::Values(ReadMode::Mapped, ReadMode::Buffered),
                         [](const auto& info) {
                             return info.param == ReadMode::Mapped ? "Mapped" : "Buffered";
                         });

TEST(PosixFileSystem, CreateNewRefusesExistingFilesAndCreateAlwaysEmptiesThem) {
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string path = folder.write("out.mp3", pattern(100));
    EXPECT_EQ(files.createNew(path), nullptr);
    auto out = files.createAlways(path);
    ASSERT_NE(out, nullptr);
    const Bytes small = pattern(3, 40);
    EXPECT_TRUE(out->write(asBytes(small)));
    EXPECT_TRUE(out->close());
    EXPECT_EQ(readFile(path), small);
}

TEST(PosixOutputFile, BufferedAndDirectWritesKeepTheirOrder) {
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string path = folder.file("out.bin");
    auto out = files.createNew(path);
    ASSERT_NE(out, nullptr);
    Bytes expected;
    for (std::size_t size : {10u, 1u << 20, 5u, (3u << 20) + 7, 1u}) {
        const Bytes piece = pattern(size, int(size));
        EXPECT_TRUE(out->write(asBytes(piece)));
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    EXPECT_TRUE(out->close());
    EXPECT_EQ(readFile(path), expected);
}

TEST(PosixFileSystem, OnlyRegularFilesExistAndLinksCountAsTheirTarget) {
    TempFolder folder;
    platform::PosixFileSystem files;
    const std::string file = folder.write("a.mp3", pattern(1));
    fs::create_directory(folder.path() / "dir.mp3");
    fs::create_symlink(file, folder.path() / "link.mp3");
    fs::create_hard_link(file, folder.path() / "hard.mp3");
    EXPECT_TRUE(files.regularFileExists(file));
    EXPECT_FALSE(files.regularFileExists(folder.file("dir.mp3")));
    EXPECT_FALSE(files.regularFileExists(folder.file("none.mp3")));
    EXPECT_TRUE(files.sameFile(file, folder.file("link.mp3")));
    EXPECT_TRUE(files.sameFile(file, folder.file("hard.mp3")));
    EXPECT_FALSE(files.sameFile(file, folder.file("none.mp3")));
    EXPECT_EQ(files.openForReading(folder.file("dir.mp3")), nullptr);
    EXPECT_TRUE(files.removeFile(folder.file("link.mp3")));
    EXPECT_TRUE(fs::exists(file));
}
