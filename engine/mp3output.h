// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/mp3framecounter.h"
#include "platform/filesystem.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon::engine {

// One file's MP3 output, from its creation to its final name. Its bytes go to a temporary file
// in the folder of Mp3Path, and finish() gives them that name. An output destroyed unfinished is
// removed with everything written to it, so no partial file is ever left under either name.
//
// Asked for a VBR header frame, it walks the frames as they are written and puts the header frame
// in front of them in the same pass: the bytes are held back until the stream's first frame is
// known, then a place of the header frame's size is kept at the start and filled in at the end.
// A stream that turns out to allow no header frame is left as the plain stream.
class Mp3Output {
public:
    // Null when the folder takes no new file.
    static std::unique_ptr<Mp3Output> create(platform::FileSystem& files,
                                             const std::string& Mp3Path, bool withVbrHeader);

    // False once any write has failed; later writes then do nothing.
    bool write(std::span<const std::byte> bytes) {
        return counter_ ? writeCounted(bytes) : writeThrough(bytes);
    }
    // True when the whole stream (with its header frame, if asked and possible) now stands under
    // Mp3Path.
    bool finish();
    // After finish(): why a header frame that was asked for could not be made; None otherwise.
    VbrHeaderObstacle vbrHeaderObstacle() const { return obstacle_; }

private:
    // Where the header frame goes, while the stream is written.
    enum class HeaderPlace {
        Pending, // bytes held back until the first frame tells the header frame's size
        Kept,    // reserved_ bytes kept at the start
        Given,   // the stream is plain: no header frame can be made
    };

    Mp3Output(std::unique_ptr<platform::OutputFile> file, bool withVbrHeader);
    bool writeThrough(std::span<const std::byte> bytes) {
        failed_ = failed_ || !file_->write(bytes);
        return !failed_;
    }
    bool writeCounted(std::span<const std::byte> bytes);
    void decidePlace();
    void finishHeader();

    std::unique_ptr<platform::OutputFile> file_;
    bool failed_ = false;
    std::optional<Mp3FrameCounter> counter_;
    HeaderPlace place_ = HeaderPlace::Pending;
    std::vector<std::byte> held_;
    std::size_t reserved_ = 0;
    VbrHeaderObstacle obstacle_ = VbrHeaderObstacle::None;
};

} // namespace quillon::engine
