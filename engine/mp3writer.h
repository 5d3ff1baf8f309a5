#pragma once

#include "platform/filesystem.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace quillon::engine {

// Writes one file's MP3 stream: the audio payload of every audio tag, in file order, with nothing
// before or after it. An output that could not be made whole is never left behind.
class Mp3Writer {
public:
    explicit Mp3Writer(platform::FileSystem& files) : files_(files) {}
    ~Mp3Writer();
    Mp3Writer(const Mp3Writer&) = delete;
    Mp3Writer& operator=(const Mp3Writer&) = delete;

    // Where the next file's output goes.
    void setMp3Path(std::string path) { Mp3Path = std::move(path); }
    const std::string& mp3Path() const { return Mp3Path; }

    // Marks the output not open and forgets the last file's failure, without closing anything.
    void ResetMp3();
    // Creates the output at Mp3Path, replacing an existing file if it must. True when the output
    // is open, or when this file's audio is skipped anyway.
    bool OpenMp3();
    // Appends a tag's audio payload (its data less the audio header byte).
    void WriteMp3(std::span<const std::byte> payload);
    // Closes the output. If anything failed, the partial output is removed.
    void CloseMp3();
    // Closes and removes the output of the file being read (the run was stopped, or the input
    // broke mid-read).
    void discardOutput();

    bool SkipAudio = false;

    bool isOpen() const { return output_ != nullptr; }
    // True once the output could not be created or a write to it failed.
    bool writeFailed() const { return writeFailed_; }

private:
    void removeCreated();

    platform::FileSystem& files_;
    std::string Mp3Path;
    std::unique_ptr<platform::OutputFile> output_;
    // The file this writer created for the current input, so a failure removes only that.
    std::string createdPath_;
    bool writeFailed_ = false;
};

} // namespace quillon::engine
