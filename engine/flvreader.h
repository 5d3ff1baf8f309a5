// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/audiostage.h"
#include "engine/flvformat.h"
#include "engine/runhost.h"
#include "platform/filesystem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillon::engine {

// The reader's per-file state; a new file starts from a fresh one.
struct FlvReaderState {
    static constexpr std::uint32_t kInitialTagBufferCapacity = 4096;

    std::unique_ptr<platform::InputFile> InputHandle;
    std::size_t BytesRead = 0;
    // The offset of the next unread byte, advanced by the sizes the headers claim.
    std::uint64_t Position = 0;
    // Nothing for an input whose end shows only when it is reached (a pipe).
    std::optional<std::uint64_t> FileSize;
    std::uint8_t HeaderFlags = 0;
    std::uint64_t DataOffset = 0;
    // Receives the fixed-size pieces: the file header, tag headers and back-pointers.
    std::array<std::byte, flv::kTagHeaderSize> HeaderBuffer{};
    std::unique_ptr<std::byte[]> TagBuffer =
        std::make_unique_for_overwrite<std::byte[]>(kInitialTagBufferCapacity);
    std::uint32_t TagBufferCapacity = kInitialTagBufferCapacity;
    std::uint8_t TagType = 0;
    std::uint32_t TagDataSize = 0;
    // How many of the current tag's data bytes the file actually held; less than TagDataSize
    // only for a tag cut short by the end of the file.
    std::uint32_t TagBytesPresent = 0;
    // The current audio tag's data: in the tag buffer, or where the input holds it.
    std::span<const std::byte> TagData;
    // Counted tags since the bar last moved.
    int ProgressCount = 0;
    // What uncounted tags have cost since the window last breathed.
    std::uint64_t QuietWork = 0;
};

// How a file's tag loop ended.
enum class TagLoopOutcome {
    Finished,   // every tag read and handed on
    AudioDone,  // the audio stage wanted nothing more (its output broke), so reading stopped
    ReadFailed, // the input could not be read to its end
    Stopped,    // the host asked to stop
};

// Reads one FLV file tag by tag and hands the audio tags' data to the file's audio stage, and
// nothing more; reports the read percentage and lets the user interface handle its events as it
// goes.
class FlvReader {
public:
    static constexpr int kProgressEveryNthTag = 6;

    FlvReader(RunHost& host, platform::FileSystem& files) : host_(host), files_(files) {}

    // Opens the file and checks its header; true when the reader stands at the first
    // back-pointer. On false no file is left open, and openError() says why.
    bool OpenFlv(const std::string& path);
    std::error_code openError() const { return openError_; }
    // Reads every tag, handing each audio tag's data to `audio`.
    TagLoopOutcome ReadTags(AudioStage& audio);
    void CloseFlv();

    const FlvReaderState& state() const { return state_; }

private:
    void ResetFlvState() { state_ = FlvReaderState{}; }
    std::size_t readInto(std::span<std::byte> destination);
    std::span<const std::byte> take(std::span<std::byte> buffer);
    bool moreTags() const;
    void readTagData();
    void growTagBuffer(std::uint32_t capacity, std::uint32_t keep);
    void reportProgress();
    // Lets the window handle its events; false when the user wants to stop.
    bool breathe();
    bool passedQuietly(std::uint32_t bytesPassed);

    RunHost& host_;
    platform::FileSystem& files_;
    FlvReaderState state_;
    std::error_code openError_;
};

} // namespace quillon::engine
