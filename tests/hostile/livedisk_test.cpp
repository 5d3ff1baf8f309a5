// SPDX-License-Identifier: GPL-3.0-or-later
// The real file layer while the disk changes under a run: inputs deleted or cut short while they
// are read, the output folder removed, a small file system that fills up, many files in one run.
#include "engine/extractionrun.h"
#include "engine/statustexts.h"
#include "faultyfilesystem.h"
#include "platform/posixfilesystem.h"
#include "recordinghost.h"
#include "tempfolder.h"

#include <atomic>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;
namespace fs = std::filesystem;
using ReadMode = platform::PosixFileSystem::ReadMode;

namespace {

// An FLV of about `tags` × 64 KiB of audio whose payloads tell their position apart.
struct AudioFile {
    Bytes flv;
    Bytes mp3;
};

AudioFile audioFile(int tags, std::size_t payload = 64 * 1024) {
    FlvBuilder b = FlvBuilder::start();
    AudioFile f;
    for (int i = 0; i < tags; ++i) {
        const Bytes p = pattern(payload, i);
        b.audio(0x2F, p);
        f.mp3.insert(f.mp3.end(), p.begin(), p.end());
    }
    f.flv = b.bytes();
    return f;
}

std::size_t openDescriptors() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++n;
    }
    return n;
}

std::size_t mappings() {
    std::ifstream maps("/proc/self/maps");
    std::size_t n = 0;
    for (std::string line; std::getline(maps, line);) {
        ++n;
    }
    return n;
}

bool openHere(const fs::path& file) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        if (fs::read_symlink(entry.path(), ignored) == file) {
            return true;
        }
    }
    return false;
}

// Each case runs once with inputs mapped into memory and once read through a buffer.
class LiveDisk : public ::testing::TestWithParam<ReadMode> {
protected:
    RunResult run(RecordingHost& host) {
        platform::PosixFileSystem files(GetParam());
        ExtractionRun extraction(host, files);
        return extraction.run();
    }

    TempFolder folder;
    const AudioFile small = audioFile(1, 100);
};

} // namespace

TEST_P(LiveDisk, AnInputDeletedWhileBeingReadIsStillReadToTheEnd) {
    // An open file outlives its name, so every byte the run reads was in the file.
    const AudioFile big = audioFile(64);
    const std::string input = folder.write("clip.flv", big.flv);
    RecordingHost host({input});
    host.duringPump = [&] { fs::remove(input); };
    run(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(readFile(folder.file("clip.mp3")), big.mp3);
}

TEST_P(LiveDisk, AnInputCutShortWhileBeingReadIsAReadErrorWithNoOutput) {
    // 4 MiB of audio, cut at the first tag to a length that is no multiple of a page: bytes past
    // the new end must not be taken for data, wherever the cut falls.
    const AudioFile big = audioFile(64);
    for (const std::uint64_t cutAt :
         {std::uint64_t{1} << 20, std::uint64_t{(3u << 20) + 1000}, big.flv.size() - 100}) {
        SCOPED_TRACE(cutAt);
        TempFolder here;
        const std::string input = here.write("clip.flv", big.flv);
        const std::string next = here.write("next.flv", small.flv);
        RecordingHost host({input, next});
        bool cut = false;
        host.duringPump = [&] {
            if (!cut) {
                fs::resize_file(input, cutAt);
                cut = true;
            }
        };
        run(host);
        EXPECT_EQ(host.status(1), engine::RowStatus::ReadError);
        EXPECT_FALSE(fs::exists(here.file("clip.mp3")));
        EXPECT_EQ(host.status(2), engine::RowStatus::Finished);
        EXPECT_EQ(readFile(here.file("next.mp3")), small.mp3);
    }
}

TEST_P(LiveDisk, AnOutputFolderRemovedMidRunFailsEveryLaterFileAndLeavesNothing) {
    const fs::path out = folder.path() / "out";
    fs::create_directory(out);
    const std::string first = folder.write("first.flv", audioFile(8).flv);
    const std::string second = folder.write("second.flv", small.flv);
    RecordingHost host({first, second});
    host.answer = {true, false, out.string() + "/"};
    host.duringPump = [&] { fs::remove_all(out); };
    run(host);
    // The first output went with its folder while being written: it cannot be called finished.
    EXPECT_EQ(host.status(1), engine::RowStatus::WriteError);
    EXPECT_EQ(host.status(2), engine::RowStatus::WriteError);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(host.progress.back(), 0);
}

TEST_P(LiveDisk, AThousandFilesInOneRunLeaveNoDescriptorOrMappingOpen) {
    // More files than a process may usually hold open at once, half of them unreadable.
    const std::size_t before = openDescriptors();
    const std::size_t mappedBefore = mappings();
    RecordingHost host;
    for (int i = 0; i < 1100; ++i) {
        std::string name = std::to_string(i);
        name.insert(0, 1, 'f').append(".flv");
        host.rows.push_back(folder.write(name, i % 2 ? small.flv : bytesOf("no flv")));
    }
    run(host);
    EXPECT_EQ(openDescriptors(), before);
    // The allocator may map a few regions of its own (more under a sanitizer); a window left
    // mapped would add one per file.
    EXPECT_LT(mappings(), mappedBefore + 50);
    for (int row = 1; row <= 1100; ++row) {
        ASSERT_EQ(host.status(row),
                  row % 2 ? engine::RowStatus::ReadError : engine::RowStatus::Finished)
            << row;
    }
    EXPECT_EQ(readFile(folder.file("f1099.mp3")), small.mp3);
}

TEST_P(LiveDisk, PipesAndDevicesUnderTheNamesNeitherHangNorSwallowTheOutput) {
    // A pipe with nobody at the other end blocks a plain open forever; a link to /dev/null
    // would take the whole stream and keep nothing. The outputs take the place of both.
    // A link to a file elsewhere must not be written through either. A named pipe given as an
    // input is read once its writer comes, however late, as `cat` would read it.
    const std::string clip = folder.write("clip.flv", small.flv);
    const std::string other = folder.write("other.flv", small.flv);
    ASSERT_EQ(::mkfifo(folder.file("clip.mp3").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", folder.path() / "other.mp3");
    ASSERT_EQ(::mkfifo(folder.file("pipe.flv").c_str(), 0644), 0);
    fs::create_directory(folder.path() / "elsewhere");
    const std::string victim = folder.write("elsewhere/victim.dat", pattern(30));
    fs::create_symlink("elsewhere/victim.dat", folder.path() / "last.mp3");
    RecordingHost host({clip, other, folder.file("pipe.flv"), folder.write("last.flv", small.flv)});
    std::atomic<bool> ran = false;
    std::thread writer([&] {
        while (!openHere(folder.path() / "pipe.flv") && !ran) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        // Long enough for the reader to have found nobody there.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        platform::FileDescriptor pipe(
            ::open(folder.file("pipe.flv").c_str(), O_WRONLY | O_NONBLOCK));
        if (pipe.valid()) {
            EXPECT_EQ(::write(pipe.get(), small.flv.data(), small.flv.size()),
                      ssize_t(small.flv.size()));
        }
    });
    run(host);
    ran = true;
    writer.join();
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(host.status(2), engine::RowStatus::Finished);
    EXPECT_EQ(host.status(3), engine::RowStatus::Finished);
    EXPECT_EQ(host.status(4), engine::RowStatus::Finished);
    for (const char* output : {"clip.mp3", "other.mp3", "pipe.mp3", "last.mp3"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder.path() / output))) << output;
        EXPECT_EQ(readFile(folder.file(output)), small.mp3) << output;
    }
    EXPECT_EQ(readFile(victim), pattern(30));
}

TEST_P(LiveDisk, ARunThatFailsRemovesOnlyWhatItWrote) {
    // Another run (another process) has just finished clip.mp3; this one, writing the same name,
    // runs out of disk. Its failure must cost the other run nothing.
    const std::string clip = folder.write("clip.flv", audioFile(4).flv);
    const Bytes theirs = pattern(500, 7);
    folder.write("clip.mp3", theirs);
    platform::PosixFileSystem disk(GetParam());
    FaultyFileSystem faulty(disk);
    faulty.writeBudget = 100'000;
    RecordingHost host({clip});
    ExtractionRun extraction(host, faulty);
    extraction.run();
    EXPECT_EQ(host.status(1), engine::RowStatus::WriteError);
    EXPECT_EQ(readFile(folder.file("clip.mp3")), theirs);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

// A real file system that fills up: a 1 MiB tmpfs. Mounting needs privileges a container or an
// ordinary user may not have; the case is skipped there.
class SmallTmpfs {
public:
    explicit SmallTmpfs(const fs::path& at) : at_(at) {
        fs::create_directory(at_);
        mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, "size=1m") == 0;
    }
    ~SmallTmpfs() {
        if (mounted_) {
            ::umount(at_.c_str());
        }
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool mounted() const { return mounted_; }

private:
    fs::path at_;
    bool mounted_ = false;
};

TEST_P(LiveDisk, AFullFileSystemIsAWriteErrorAndTheNextFileStillFits) {
    SmallTmpfs disk(folder.path() / "disk");
    if (!disk.mounted()) {
        GTEST_SKIP() << "this machine does not allow mounting a tmpfs";
    }
    const AudioFile big = audioFile(24); // 1.5 MiB of audio
    const std::string input = folder.write("big.flv", big.flv);
    const std::string next = folder.write("small.flv", small.flv);
    RecordingHost host({input, next});
    host.answer = {true, false, (folder.path() / "disk").string() + "/"};
    run(host);
    EXPECT_EQ(host.status(1), engine::RowStatus::WriteError);
    EXPECT_FALSE(fs::exists(folder.path() / "disk" / "big.mp3"));
    // The partial output was removed, so its room is free again.
    EXPECT_EQ(host.status(2), engine::RowStatus::Finished);
    EXPECT_EQ(readFile(folder.path() / "disk" / "small.mp3"), small.mp3);
}

INSTANTIATE_TEST_SUITE_P(Modes, LiveDisk, ::testing::Values(ReadMode::Mapped, ReadMode::Buffered),
                         [](const auto& info) {
                             return info.param == ReadMode::Mapped ? "Mapped" : "Buffered";
                         });

TEST(Devices, ABlockDeviceHoldingAnFlvGivesWhatTheSameBytesInAFileGive) {
    // A device is read to its end with plain reads; unlike a pipe its size is known, so the bar
    // moves. The zeros after the FLV are empty tags of a type that is not counted.
    TempFolder folder;
    const AudioFile clip = audioFile(12, 1000);
    Bytes image = clip.flv;
    image.resize(1 << 20);
    const std::string imagePath = folder.write("image.flv", image);
    std::string device;
    if (std::FILE* losetup =
            ::popen(("losetup -f --show " + imagePath + " 2>/dev/null").c_str(), "r")) {
        char line[256] = {};
        if (std::fgets(line, sizeof line, losetup) != nullptr) {
            device = std::string(line).substr(0, std::string(line).find('\n'));
        }
        ::pclose(losetup);
    }
    if (device.empty()) {
        GTEST_SKIP() << "this machine does not allow loop devices";
    }
    fs::create_directory(folder.path() / "out");
    RecordingHost host({device, imagePath});
    host.answer = {true, false, (folder.path() / "out").string() + "/"};
    platform::PosixFileSystem files;
    ExtractionRun(host, files).run();
    (void)std::system(("losetup -d " + device).c_str());
    EXPECT_EQ(host.status(1), engine::RowStatus::Finished);
    EXPECT_EQ(host.status(2), engine::RowStatus::Finished);
    // The device's name has no extension: its output is named after it ("loop3.mp3").
    EXPECT_EQ(readFile(folder.path() / "out" / (fs::path(device).filename().string() + ".mp3")),
              clip.mp3);
    EXPECT_EQ(readFile(folder.path() / "out" / "image.mp3"), clip.mp3);
    ASSERT_GE(host.progress.size(), 2u);
    EXPECT_GT(host.progress[0], 0);
}
