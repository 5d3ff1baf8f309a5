// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mappedinputfile.h"
#include "platform/posixfilesystem.h"
#include "platform/posixoutputfile.h"
#include "tempfolder.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {
std::span<const std::byte> asBytes(const Bytes& b) {
    return b;
}

using ReadMode = platform::PosixFileSystem::ReadMode;

// The readers of a file whose size is known: the one found fastest on this machine; mapped;
// buffered; mapped where the system refuses every mapping (read with plain reads instead); and a
// stream with a stated size, as a block device is read.
enum class Reader { Fastest, Mapped, Buffered, MappingRefused, Device };
const char* const kReaderNames[] = {"Fastest", "Mapped", "Buffered", "MappingRefused", "Device"};

// Every reading behaviour must hold for each of them alike.
class PosixInputFile : public ::testing::TestWithParam<Reader> {
protected:
    std::unique_ptr<platform::InputFile> open(const std::string& path) const {
        platform::FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        const auto size = static_cast<std::uint64_t>(fs::file_size(path));
        switch (GetParam()) {
        case Reader::Fastest:
            return platform::PosixFileSystem().openForReading(path);
        case Reader::Mapped:
            return platform::PosixFileSystem(ReadMode::Mapped).openForReading(path);
        case Reader::Buffered:
            return platform::PosixFileSystem(ReadMode::Buffered).openForReading(path);
        case Reader::MappingRefused:
            return std::make_unique<platform::MappedInputFile>(std::move(fd), size, false);
        case Reader::Device:
            return std::make_unique<platform::StreamInputFile>(std::move(fd), size,
                                                               platform::InterruptCheck{});
        }
        return nullptr;
    }

    TempFolder folder;
};
} // namespace

TEST_P(PosixInputFile, ReadsAcrossBufferBoundariesInAnyPieceSize) {
    // Several read buffers and mapped windows, read in uneven pieces, some larger than either.
    const Bytes content = pattern((27u << 20) / 2 + 13, 5);
    const std::string path = folder.write("data.bin", content);
    auto in = open(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->size(), content.size());
    Bytes got;
    const std::size_t pieces[] = {11, 4, 70'000, 3 << 20, 1, 999'999, 5 << 20};
    for (std::size_t i = 0; got.size() < content.size(); ++i) {
        const std::size_t want = pieces[i % std::size(pieces)];
        // Every other piece is asked for in place first, as tag headers and audio data are.
        const auto inPlace = i % 2 == 0 ? in->readInPlace(want) : std::span<const std::byte>{};
        ASSERT_TRUE(inPlace.empty() || inPlace.size() == want);
        Bytes piece(inPlace.begin(), inPlace.end());
        if (inPlace.empty()) {
            piece.resize(want);
            piece.resize(in->read(piece));
        }
        got.insert(got.end(), piece.begin(), piece.end());
        if (piece.empty()) {
            break;
        }
    }
    EXPECT_EQ(got, content);
    EXPECT_FALSE(in->failed());
}

TEST_P(PosixInputFile, AtTheEndReadsReturnZeroAndLeaveTheDestinationAlone) {
    auto in = open(folder.write("small.bin", pattern(5)));
    Bytes dest = bytesOf({9, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(in->read(dest), 5u);
    EXPECT_EQ(dest, bytesOf({0, 1, 2, 3, 4, 9, 9, 9}));
    Bytes again = bytesOf({7, 7});
    EXPECT_EQ(in->read(again), 0u);
    EXPECT_EQ(again, bytesOf({7, 7}));
    EXPECT_FALSE(in->failed());
}

TEST_P(PosixInputFile, SkipAndSeekKeepReadsInStep) {
    const Bytes content = pattern(6 << 20, 1);
    auto in = open(folder.write("data.bin", content));
    Bytes one(1);
    const auto next = [&] {
        EXPECT_EQ(in->read(one), 1u);
        return one[0];
    };
    EXPECT_EQ(next(), content[0]);
    // Within the buffer, then far beyond it.
    EXPECT_EQ(in->skip(10), 10u);
    EXPECT_EQ(next(), content[11]);
    // Back into the start, as a data offset pointing into the file header asks.
    ASSERT_TRUE(in->seek(7));
    EXPECT_EQ(next(), content[7]);
    EXPECT_EQ(in->skip(2 << 20), std::uint64_t(2 << 20));
    EXPECT_EQ(next(), content[8 + (2 << 20)]);
    // Forward, to a byte at hand and then past every buffer and window.
    ASSERT_TRUE(in->seek(20 + (2 << 20)));
    EXPECT_EQ(next(), content[20 + (2 << 20)]);
    ASSERT_TRUE(in->seek(1 + (5 << 20)));
    EXPECT_EQ(next(), content[1 + (5 << 20)]);
    // Skipping past the end passes over only what is there.
    EXPECT_EQ(in->skip(std::uint64_t(1) << 40), content.size() - (2 + (5 << 20)));
    EXPECT_EQ(in->read(one), 0u);
    EXPECT_FALSE(in->failed());
}

TEST_P(PosixInputFile, AFileThatShrinksWhileBeingReadFailsInsteadOfCrashing) {
    const std::string path = folder.write("data.bin", pattern(20 << 20));
    auto in = open(path);
    Bytes piece(1 << 20);
    ASSERT_EQ(in->read(piece), piece.size());
    std::filesystem::resize_file(path, 4096);
    // Far past the new end: the old pages are gone.
    in->skip(10 << 20);
    EXPECT_LT(in->read(piece), piece.size());
    EXPECT_TRUE(in->failed());
}

INSTANTIATE_TEST_SUITE_P(Readers, PosixInputFile,
                         ::testing::Values(Reader::Fastest, Reader::Mapped, Reader::Buffered,
                                           Reader::MappingRefused, Reader::Device),
                         [](const auto& info) { return kReaderNames[int(info.param)]; });

namespace {

// Every name in the folder but the ones a test made itself.
std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// What may stand in the folder before the output is committed: under its final name, or under
// the temporary name it tries first (another run's work in progress).
enum class AlreadyThere { Nothing, OlderFile, LinkToElsewhere, DanglingLink, TemporaryNameTaken };
const char* const kAlreadyThereNames[] = {"Nothing", "OlderFile", "LinkToElsewhere", "DanglingLink",
                                          "TemporaryNameTaken"};

const Bytes kOthersWork = pattern(40, 5);

// An older file is removed in place, as where removals are quick, or handed to a helper thread at
// once, as where freeing blocks waits for the disk.
enum class Removal { InPlace, OnAThread };

class PosixOutputFile : public ::testing::TestWithParam<std::tuple<AlreadyThere, Removal>> {
protected:
    PosixOutputFile() {
        switch (there()) {
        case AlreadyThere::Nothing:
            break;
        case AlreadyThere::OlderFile:
            folder.write("out.mp3", pattern(100));
            break;
        case AlreadyThere::LinkToElsewhere:
            fs::create_symlink("victim.dat", path);
            break;
        case AlreadyThere::DanglingLink:
            fs::create_symlink("nowhere/else.mp3", path);
            break;
        case AlreadyThere::TemporaryNameTaken:
            folder.write(".out.mp3.first.part", kOthersWork);
            break;
        }
    }
    AlreadyThere there() const { return std::get<0>(GetParam()); }
    bool onAThread() const { return std::get<1>(GetParam()) == Removal::OnAThread; }
    // Tries the name of the first unique tag before any other.
    std::unique_ptr<platform::OutputFile> create(const std::string& at) {
        return platform::PosixOutputFile::create(at, remover, [n = 0]() mutable {
            return n++ == 0 ? std::string("first") : std::to_string(n);
        });
    }
    void expectOthersWorkUntouched() const {
        if (there() == AlreadyThere::TemporaryNameTaken) {
            EXPECT_EQ(readFile(folder.path() / ".out.mp3.first.part"), kOthersWork);
        }
    }

    TempFolder folder;
    std::shared_ptr<platform::FileRemover> remover =
        onAThread() ? std::make_shared<platform::FileRemover>(0)
                    : std::make_shared<platform::FileRemover>();
    const std::string path = folder.file("out.mp3");
    const std::string victim = folder.write("victim.dat", pattern(50, 9));
};

} // namespace

TEST_P(PosixOutputFile, IsWrittenUnderAHiddenNameAndReplacesWhateverHadTheFinalNameOnCommit) {
    const auto before = namesIn(folder.path());
    const Bytes older = there() == AlreadyThere::OlderFile ? readFile(path) : Bytes{};

    auto out = create(path);
    ASSERT_NE(out, nullptr);
    Bytes expected;
    // Buffered and direct writes in order, then a header filled in at the end.
    for (std::size_t size : {10u, 1u << 20, 5u, (3u << 20) + 7, 1u}) {
        const Bytes piece = pattern(size, int(size));
        EXPECT_TRUE(out->write(asBytes(piece)));
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    const Bytes header = pattern(6, 77);
    EXPECT_TRUE(out->writeAt(2, asBytes(header)));
    std::copy(header.begin(), header.end(), expected.begin() + 2);

    // Until the commit the final name is as it was, and the work in progress says what it is.
    auto during = namesIn(folder.path());
    ASSERT_EQ(during.size(), before.size() + 1);
    std::string temporary;
    for (const auto& name : during) {
        if (!before.contains(name)) {
            temporary = name;
        }
    }
    EXPECT_TRUE(temporary.starts_with(".out.mp3.") && temporary.ends_with(".part")) << temporary;
    if (there() == AlreadyThere::OlderFile) {
        EXPECT_EQ(readFile(path), older);
    }

    // A place kept at the front and given up again just before the end, as a header frame that
    // could not be made is: the file is that much shorter.
    EXPECT_TRUE(out->dropFront(3));
    expected.erase(expected.begin(), expected.begin() + 3);
    ASSERT_TRUE(out->commit());
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(readFile(victim), pattern(50, 9));
    expectOthersWorkUntouched();
    // Removed in place, the older file is gone with the commit; handed over, once the remover is.
    if (onAThread()) {
        out.reset();
        remover.reset();
    }
    during.erase(temporary);
    during.insert("out.mp3");
    EXPECT_EQ(namesIn(folder.path()), during);
}

TEST_P(PosixOutputFile, LeavesNothingWhenDroppedUncommittedOrWhenItsFolderIsGone) {
    const auto before = namesIn(folder.path());
    {
        auto out = create(path);
        ASSERT_NE(out, nullptr);
        EXPECT_TRUE(out->write(asBytes(pattern(3000))));
    }
    EXPECT_EQ(namesIn(folder.path()), before);
    expectOthersWorkUntouched();

    fs::create_directory(folder.path() / "sub");
    auto out = create(folder.file("sub/out.mp3"));
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(out->write(asBytes(pattern(10))));
    fs::remove_all(folder.path() / "sub");
    EXPECT_FALSE(out->commit());
    EXPECT_EQ(create(folder.file("sub/out.mp3")), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    AlreadyThere, PosixOutputFile,
    ::testing::Combine(::testing::Values(AlreadyThere::Nothing, AlreadyThere::OlderFile,
                                         AlreadyThere::LinkToElsewhere, AlreadyThere::DanglingLink,
                                         AlreadyThere::TemporaryNameTaken),
                       ::testing::Values(Removal::InPlace, Removal::OnAThread)),
    [](const auto& info) {
        return std::string(kAlreadyThereNames[int(std::get<0>(info.param))]) +
               (std::get<1>(info.param) == Removal::OnAThread ? "RemovedOnAThread" : "");
    });

TEST(PosixFileSystem, StreamsAreReadToTheirEndWhateverTheirPace) {
    // A pipe under a /dev/fd name, as a shell's <(...) gives, delivering in bursts with pauses:
    // everything must arrive, and a seek back into the start (a data offset pointing into the
    // file header) must still work after several bursts, though no longer once the reader is
    // past the first buffer's worth.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const Bytes content = pattern((5u << 20) / 2 + 3, 8);
    std::thread writer([&] {
        for (std::size_t at = 0; at < content.size();) {
            const std::size_t n = std::min<std::size_t>(content.size() - at, 100'000);
            ASSERT_EQ(::write(ends[1], content.data() + at, n), ssize_t(n));
            at += n;
            std::this_thread::sleep_for(std::chrono::microseconds(at % 3 == 0 ? 2000 : 0));
        }
        ::close(ends[1]);
    });
    platform::PosixFileSystem files;
    auto in = files.openForReading("/dev/fd/" + std::to_string(ends[0]));
    ::close(ends[0]);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->size(), std::nullopt);
    // The writer thread must be joined whatever fails, so no step below returns early.
    Bytes head(300'009);
    EXPECT_EQ(in->read(head), head.size());
    EXPECT_TRUE(in->seek(5));
    Bytes got(4);
    EXPECT_EQ(in->read(got), 4u);
    EXPECT_EQ(got, Bytes(content.begin() + 5, content.begin() + 9));
    EXPECT_EQ(in->skip(1u << 20), std::uint64_t(1u << 20));
    EXPECT_FALSE(in->seek(5));
    Bytes rest(content.size());
    rest.resize(in->read(rest));
    writer.join();
    EXPECT_EQ(rest, Bytes(content.begin() + 9 + (1 << 20), content.end()));
    EXPECT_FALSE(in->failed());
}

TEST(PosixFileSystem, FilesOpenAtOnceHaveBuffersOfTheirOwnAndALaterFileSeesOnlyItsBytes) {
    // Buffers pass from file to file. Two inputs and two outputs open at once, each holding part
    // of its data in its buffer, must not share one; a short input opened after a long one has
    // closed must not show what the long one left in the buffer it gets.
    TempFolder folder;
    platform::PosixFileSystem files(ReadMode::Buffered);
    const Bytes a = pattern(600'000, 1);
    const Bytes b = pattern(70'000, 2);
    {
        auto inA = files.openForReading(folder.write("a.flv", a));
        auto inB = files.openForReading(folder.write("b.flv", b));
        auto outA = files.createOutput(folder.file("a.mp3"));
        auto outB = files.createOutput(folder.file("b.mp3"));
        ASSERT_TRUE(inA && inB && outA && outB);
        for (int piece = 0; piece < 8; ++piece) {
            const auto fromA = inA->readInPlace(1000);
            const auto fromB = inB->readInPlace(1000);
            ASSERT_EQ(fromA.size(), 1000u);
            ASSERT_EQ(fromB.size(), 1000u);
            EXPECT_TRUE(outA->write(fromA) && outB->write(fromB));
        }
        EXPECT_TRUE(outA->commit() && outB->commit());
    }
    EXPECT_EQ(readFile(folder.file("a.mp3")), Bytes(a.begin(), a.begin() + 8000));
    EXPECT_EQ(readFile(folder.file("b.mp3")), Bytes(b.begin(), b.begin() + 8000));

    const Bytes c = pattern(1000, 3);
    auto inC = files.openForReading(folder.write("c.flv", c));
    ASSERT_NE(inC, nullptr);
    Bytes got(c.size() + 10);
    got.resize(inC->read(got));
    EXPECT_EQ(got, c);
    EXPECT_TRUE(inC->seek(990));
    EXPECT_TRUE(inC->readInPlace(11).empty());
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
