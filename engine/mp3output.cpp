#include "engine/mp3output.h"

namespace quillon::engine {

std::unique_ptr<Mp3Output> Mp3Output::create(platform::FileSystem& files,
                                             const std::string& Mp3Path) {
    auto file = files.createOutput(Mp3Path);
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<Mp3Output>(new Mp3Output(std::move(file)));
}

bool Mp3Output::write(std::span<const std::byte> bytes) {
    failed_ = failed_ || !file_->write(bytes);
    return !failed_;
}

bool Mp3Output::finish() {
    return !failed_ && file_->commit();
}

} // namespace quillon::engine
