#pragma once

#include "platform/filesystem.h"

#include <memory>
#include <span>
#include <string>

namespace quillon::engine {

// One file's MP3 output, from its creation to its final name. Its bytes go to a temporary file
// in the folder of Mp3Path, and finish() gives them that name. An output destroyed unfinished is
// removed with everything written to it, so no partial file is ever left under either name.
class Mp3Output {
public:
    // Null when the folder takes no new file.
    static std::unique_ptr<Mp3Output> create(platform::FileSystem& files,
                                             const std::string& Mp3Path);

    // False once any write has failed; later writes then do nothing.
    bool write(std::span<const std::byte> bytes);
    // True when the whole stream now stands under Mp3Path.
    bool finish();

private:
    explicit Mp3Output(std::unique_ptr<platform::OutputFile> file) : file_(std::move(file)) {}

    std::unique_ptr<platform::OutputFile> file_;
    bool failed_ = false;
};

} // namespace quillon::engine
