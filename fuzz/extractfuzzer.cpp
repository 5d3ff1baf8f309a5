// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes through the real extraction run (reader, audio stage, MP3 writer), once
// from memory and once through the real file layer's mapped and buffered readers, and checks
// every outcome against a deliberately naive model of the container: a crash, a hang or a
// sanitizer report is a finding, and so is any output that differs from the model's (bytes that
// were not in the file, a lost tag, a failure reported as success).
#include "engine/extractionrun.h"
#include "platform/memoryfilesystem.h"
#include "platform/posixfilesystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

using quillon::platform::MemoryFileSystem;
using quillon::platform::PosixFileSystem;
using Bytes = MemoryFileSystem::Bytes;
namespace engine = quillon::engine;

// Reports a mismatch and aborts, so libFuzzer keeps the input that caused it.
[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "extractfuzzer: %s\n", what);
    std::abort();
}

void check(bool condition, const char* what) {
    if (!condition) {
        fail(what);
    }
}

// Lists two files, answers "Same as input path" and records what the run shows.
class FuzzHost final : public engine::RunHost {
public:
    explicit FuzzHost(std::vector<std::string> rows) : rows_(std::move(rows)) {}

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::string rowText(int row) const override { return rows_.at(std::size_t(row - 1)); }
    void setRowStatus(int row, engine::RowStatus status) override {
        statuses.resize(rows_.size(), engine::RowStatus::Ready);
        statuses.at(std::size_t(row - 1)) = status;
        currentRow_ = row;
        lastPercent_ = -1;
    }
    engine::OutputChoice showOutputFolderDialog() override { return {true, true, ""}; }
    void setProgress(int percent) override {
        check(percent >= 0 && percent <= 100, "percentage outside 0..100");
        // Within a file the reader only ever moves forward.
        check(percent == 0 || percent >= lastPercent_, "percentage went backwards");
        lastPercent_ = percent;
        if (currentRow_ == 1) {
            ++firstRowProgress;
        }
    }
    void PumpMessages() override {
        if (currentRow_ == 1) {
            ++firstRowPumps;
        }
    }
    void showNotice(engine::Notice) override {
        if (currentRow_ == 1) {
            ++firstRowMessages;
        }
    }

    std::vector<engine::RowStatus> statuses;
    int firstRowPumps = 0;
    int firstRowProgress = 0;
    int firstRowMessages = 0;

private:
    std::vector<std::string> rows_;
    int currentRow_ = 0;
    int lastPercent_ = -1;
};

// What a file should give, worked out by walking the bytes directly with 64-bit offsets and no
// buffers to reuse: the simplest reading of the container that can be written down.
struct Expected {
    bool readable = false;
    // The first audio tag with data: none, MP3 (extracted), or another format (skipped).
    enum class Audio { None, Mp3, Skipped } audio = Audio::None;
    std::optional<Bytes> output; // no value: no output file at all
    int counted = 0;
    // Counted tags breathe once each, and long stretches of uncounted ones now and then too.
    int pumps = 0;
    int messages = 0;
};

std::uint64_t bigEndian(std::span<const std::uint8_t> b, std::uint64_t at, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | b[at + std::uint64_t(i)];
    }
    return value;
}

Expected model(std::span<const std::uint8_t> b) {
    Expected e;
    const std::uint64_t size = b.size();
    if (size < 4 || b[0] != 'F' || b[1] != 'L' || b[2] != 'V' || b[3] != 1) {
        return e;
    }
    e.readable = true;
    // A header too short to hold the data offset leaves it at 0.
    const std::uint64_t dataOffset = size >= 9 ? bigEndian(b, 5, 4) : 0;
    bool decided = false;
    bool mp3 = false;
    std::uint64_t quiet = 0;
    for (std::uint64_t at = dataOffset + 4; at < size;) {
        const std::uint8_t type = b[at];
        const bool counted = type == 8 || type == 9 || type == 18;
        if (size - at < 11) {
            // A header cut short: its type still counts, its size is not there.
            e.counted += counted ? 1 : 0;
            e.pumps += counted ? 1 : 0;
            break;
        }
        const std::uint64_t claimed = bigEndian(b, at + 1, 3);
        const std::uint64_t dataAt = at + 11;
        const std::uint64_t present = std::min(claimed, size - dataAt);
        at = dataAt + claimed + 4;
        if (!counted) {
            quiet += 1 + present / 4096;
            if (quiet >= 1024) {
                quiet = 0;
                ++e.pumps;
            }
            continue;
        }
        quiet = 0;
        ++e.counted;
        ++e.pumps;
        if (type != 8 || present == 0) {
            continue;
        }
        if (!decided) {
            decided = true;
            // Sound format 2, or 14 for MP3 at 8 kHz.
            mp3 = (b[dataAt] >> 4) == 2 || (b[dataAt] >> 4) == 14;
            if (mp3) {
                e.output.emplace();
                e.audio = Expected::Audio::Mp3;
            } else {
                e.messages = 1;
                e.audio = Expected::Audio::Skipped;
            }
        }
        if (mp3) {
            for (std::uint64_t i = 1; i < present; ++i) {
                e.output->push_back(std::byte{b[dataAt + i]});
            }
        }
    }
    return e;
}

// A small, well-formed file listed after the fuzzed one: whatever the first file did, the second
// must come out whole, so no state may leak from one file to the next.
const Bytes& sentinelFile() {
    static const Bytes file = [] {
        Bytes f;
        auto put = [&f](std::initializer_list<int> v) {
            for (int x : v) {
                f.push_back(std::byte(x));
            }
        };
        put({'F', 'L', 'V', 1, 5, 0, 0, 0, 9, 0, 0, 0, 0});
        // One audio tag of 5 data bytes: header 0x2F, then the payload 1 2 3 4.
        put({8, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0x2F, 1, 2, 3, 4, 0, 0, 0, 16});
        return f;
    }();
    return file;
}

// Inputs under /proc/ come from the real file layer; everything else, outputs included, stays in
// memory, so a run touches no disk.
class RealInputs final : public quillon::platform::FileSystem {
public:
    RealInputs(PosixFileSystem::ReadMode mode, MemoryFileSystem& memory)
        : posix_(mode), memory_(memory) {}

    std::unique_ptr<quillon::platform::InputFile> openForReading(const std::string& path) override {
        return path.starts_with("/proc/") ? posix_.openForReading(path)
                                          : memory_.openForReading(path);
    }
    std::unique_ptr<quillon::platform::OutputFile> createOutput(const std::string& path) override {
        return memory_.createOutput(path);
    }
    bool removeFile(const std::string& path) override { return memory_.removeFile(path); }
    bool regularFileExists(const std::string& path) override {
        return memory_.regularFileExists(path);
    }
    bool sameFile(const std::string& a, const std::string& b) override {
        return memory_.sameFile(a, b);
    }
    std::error_code checkOutputFolder(const std::string& path) override {
        return memory_.checkOutputFolder(path);
    }

private:
    PosixFileSystem posix_;
    MemoryFileSystem& memory_;
};

// One anonymous in-memory file for the whole session, refilled with each input and opened again
// by name through /proc, as the real layer opens any file.
class InputFile {
public:
    InputFile() : fd_(::memfd_create("quillon-fuzz-input", 0)) { check(fd_ >= 0, "no memfd"); }
    ~InputFile() { ::close(fd_); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::string fill(std::span<const std::uint8_t> bytes) const {
        check(::ftruncate(fd_, 0) == 0, "memfd truncate");
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t put =
                ::pwrite(fd_, bytes.data() + done, bytes.size() - done, off_t(done));
            check(put > 0, "memfd write");
            done += std::size_t(put);
        }
        return "/proc/self/fd/" + std::to_string(fd_);
    }

private:
    int fd_;
};

// Runs the fuzzed file and the sentinel after it, and checks both against what they must give.
void runAndCheck(quillon::platform::FileSystem& files, const MemoryFileSystem& outputs,
                 const std::string& input, const std::string& stale, const Bytes& older,
                 const Expected& want) {
    FuzzHost host({input, "/in/sentinel.flv"});
    engine::ExtractionRun run(host, files);
    check(run.run() == engine::RunResult::Completed, "the run did not complete");

    const Bytes* output = outputs.file(stale);
    if (!want.readable) {
        check(host.statuses.at(0) == engine::RowStatus::ReadError, "unreadable file not reported");
        check(output && *output == older, "an unreadable file changed the older output");
    } else {
        const engine::RowStatus status = host.statuses.at(0);
        switch (want.audio) {
        case Expected::Audio::None:
            check(status == engine::RowStatus::NoAudio, "a file without audio not said so");
            break;
        case Expected::Audio::Mp3:
            check(status == engine::RowStatus::Finished, "readable file not finished");
            break;
        case Expected::Audio::Skipped:
            check(engine::extractedNothing(status) && status != engine::RowStatus::NoAudio,
                  "skipped audio not said so");
            break;
        }
        // The older output stays unless a complete new one replaces it.
        check(output && *output == want.output.value_or(older),
              "output bytes differ from the model");
        check(host.firstRowPumps == want.pumps, "counted tag number differs");
        check(host.firstRowProgress == want.counted / 6, "progress update number differs");
        check(host.firstRowMessages == want.messages, "notice number differs");
    }
    check(host.statuses.at(1) == engine::RowStatus::Finished, "the next file did not finish");
    const Bytes* next = outputs.file("/in/sentinel.mp3");
    check(next && next->size() == 4 && (*next)[0] == std::byte{1} && (*next)[3] == std::byte{4},
          "the next file's output is wrong");
    // The two inputs (when in memory), the outputs, and nothing left under a temporary name.
    const std::size_t inputsHere = outputs.file("/in/sentinel.flv") ? 1 : 0;
    const std::size_t held = inputsHere + (input.starts_with("/in/") ? 1 : 0) + 1 + 1;
    check(outputs.fileCount() == held, "a temporary or stray file was left");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const Expected want = model(input);
    // An older output of the fuzzed file: only a complete new one may replace it.
    const Bytes stale(3, std::byte{0xEE});
    {
        MemoryFileSystem files;
        Bytes content(size);
        for (std::size_t i = 0; i < size; ++i) {
            content[i] = std::byte{data[i]};
        }
        files.addFile("/in/fuzz.flv", std::move(content));
        files.addFile("/in/sentinel.flv", sentinelFile());
        files.addFile("/in/fuzz.mp3", stale);
        runAndCheck(files, files, "/in/fuzz.flv", "/in/fuzz.mp3", stale, want);
    }
    // Opening through the real layer costs a mapping or a 1 MiB buffer each time, several times
    // the whole run from memory; a quarter of the inputs, chosen by their last byte so that an
    // input always takes the same paths, keep the fuzzer fast where most of the logic is.
    if (size > 0 && data[size - 1] % 4 != 0) {
        return 0;
    }
    static const InputFile real;
    const std::string path = real.fill(input);
    // The name /proc/self/fd/N has no extension: it is all base name, and the output N.mp3.
    const std::string output = path + ".mp3";
    for (auto mode : {PosixFileSystem::ReadMode::Mapped, PosixFileSystem::ReadMode::Buffered,
                      PosixFileSystem::ReadMode::Streamed}) {
        MemoryFileSystem memory;
        memory.addFile("/in/sentinel.flv", sentinelFile());
        memory.addFile(output, stale);
        RealInputs files(mode, memory);
        runAndCheck(files, memory, path, output, stale, want);
    }
    return 0;
}
