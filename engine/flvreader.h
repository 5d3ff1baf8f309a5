#pragma once

#include "engine/extractionrun.h"
#include "engine/flvformat.h"
#include "engine/mp3writer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon::engine {

// The reader's per-file state, reset at the start of every file.
struct FlvReaderState {
    static constexpr std::uint32_t kInitialTagBufferCapacity = 4096;

    std::unique_ptr<platform::InputFile> InputHandle;
    std::size_t BytesRead = 0;
    // The offset of the next unread byte, advanced by the sizes the headers claim.
    std::uint64_t Position = 0;
    std::uint64_t FileSize = 0;
    std::uint8_t HeaderFlags = 0;
    std::uint64_t DataOffset = 0;
    // Receives the fixed-size pieces: signature, data offset, tag headers and back-pointers.
    std::array<std::byte, flv::kTagHeaderSize> HeaderBuffer{};
    std::unique_ptr<std::byte[]> TagBuffer;
    std::uint32_t TagBufferCapacity = 0;
    std::uint8_t TagType = 0;
    std::uint32_t TagDataSize = 0;
    // How many of the current tag's data bytes the file actually held; less than TagDataSize
    // only for a tag cut short by the end of the file.
    std::uint32_t TagBytesPresent = 0;
};

// How a file's tag loop ended.
enum class TagLoopOutcome {
    Finished,    // every tag read; the output (if any) is complete
    ReadFailed,  // the input could not be read to its end; no output is left
    WriteFailed, // the output could not be created or written; no output is left
    Stopped,     // the host asked to stop; no output is left
};

// Reads one FLV file tag by tag, hands audio tags to the MP3 writer, reports the read percentage
// and lets the user interface handle its events as it goes.
class FlvReader {
public:
    static constexpr int kProgressEveryNthTag = 6;

    FlvReader(RunHost& host, platform::FileSystem& files);

    // Opens the file and checks its header; true when the reader stands at the first
    // back-pointer. On false no file is left open.
    bool OpenFlv(const std::string& path);
    TagLoopOutcome ReadTags();
    void CloseFlv();

    Mp3Writer& mp3Writer() { return writer_; }
    const FlvReaderState& state() const { return state_; }
    bool AudioStarted = false;

private:
    void ResetFlvState();
    std::size_t readInto(std::span<std::byte> destination);
    void growTagBuffer(std::uint32_t size);
    void readTagData();
    void HandleAudioTag();

    RunHost& host_;
    platform::FileSystem& files_;
    FlvReaderState state_;
    Mp3Writer writer_;
};

} // namespace quillon::engine
