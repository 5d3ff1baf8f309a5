// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace quillon::engine {

// The extensions of the outputs: MP3, and AAC as ADTS frames.
inline constexpr std::string_view kMp3Extension = ".mp3";
inline constexpr std::string_view kAacExtension = ".aac";

// The file name of a path without its folder and without its last extension; the whole name when
// it has no "." ("/dev/fd/63" gives "63").
std::string GetBaseName(std::string_view path);

// Where the outputs of `input` go, short of the extension that the kind of audio found in it adds:
// `folder` + base name.
std::string outputBaseFor(std::string_view folder, std::string_view input);

// Where the MP3 of `input` goes: `folder` + base name + ".mp3".
std::string mp3PathFor(std::string_view folder, std::string_view input);
// Where the AAC audio of `input` goes: `folder` + base name + ".aac".
std::string aacPathFor(std::string_view folder, std::string_view input);

} // namespace quillon::engine
