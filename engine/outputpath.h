// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace quillon::engine {

// The extension of an MP3 output.
inline constexpr std::string_view kMp3Extension = ".mp3";

// The file name of a path without its folder and without its last extension; empty when the
// name has no "." at all.
std::string GetBaseName(std::string_view path);

// Where the outputs of `input` go, short of the extension that the kind of audio found in it adds:
// `folder` + base name.
std::string outputBaseFor(std::string_view folder, std::string_view input);

// Where the MP3 of `input` goes: `folder` + base name + ".mp3".
std::string mp3PathFor(std::string_view folder, std::string_view input);

} // namespace quillon::engine
