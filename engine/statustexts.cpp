// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/statustexts.h"

#include <string>

namespace quillon::engine {

namespace {

class ReadErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "quillon-read"; }
    std::string message(int error) const override {
        return std::string(readErrorText(static_cast<ReadError>(error)));
    }
};

} // namespace

std::error_code make_error_code(ReadError error) {
    static const ReadErrorCategory category;
    return {static_cast<int>(error), category};
}

std::string_view statusText(RowStatus status) {
    switch (status) {
    case RowStatus::Ready:
        return "Ready";
    case RowStatus::Extracting:
        return "Extracting...";
    case RowStatus::Finished:
        return "Finished";
    case RowStatus::ReadError:
        return "Error: Can not read the flv file";
    case RowStatus::WriteError:
        return "Error: Can not write the mp3 file";
    case RowStatus::Stopped:
        return "Stopped";
    }
    return {};
}

std::string_view noticeText(Notice notice) {
    switch (notice) {
    case Notice::AudioNotMp3:
        return "Can not get audio data";
    case Notice::NoVbrHeaderNoFrames:
        return "No VBR header written: no MPEG audio frames found";
    case Notice::NoVbrHeaderFreeFormat:
        return "No VBR header written: the stream is free format";
    case Notice::NoVbrHeaderFormatChange:
        return "No VBR header written: the sample rate or MPEG version changes";
    case Notice::NoVbrHeaderNotLayer3:
        return "No VBR header written: the stream is not MPEG layer III";
    case Notice::NoVbrHeaderTooLong:
        return "No VBR header written: the stream is longer than 4 GiB";
    }
    return {};
}

std::string_view readErrorText(ReadError error) {
    switch (error) {
    case ReadError::NotFlv:
        return "not an FLV file";
    case ReadError::BrokenWhileRead:
        return "could not be read to its end";
    }
    return {};
}

} // namespace quillon::engine
