#include "engine/statustexts.h"

namespace quillon::engine {

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
    }
    return {};
}

} // namespace quillon::engine
