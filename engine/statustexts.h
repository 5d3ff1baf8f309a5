#pragma once

#include <string_view>

namespace quillon::engine {

// The texts a row of the file list can show.
inline constexpr std::string_view kStatusReady = "Ready";
inline constexpr std::string_view kStatusExtracting = "Extracting...";
inline constexpr std::string_view kStatusFinished = "Finished";
inline constexpr std::string_view kStatusReadError = "Error: Can not read the flv file";
inline constexpr std::string_view kStatusWriteError = "Error: Can not write the mp3 file";

// Shown once for a file whose first audio tag is not MP3.
inline constexpr std::string_view kNoticeNotMp3 = "Can not get audio data";

} // namespace quillon::engine
