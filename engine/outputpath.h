// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace quillon::engine {

// The file name of a path without its folder and without its last extension; the whole name when
// it has no "." ("/dev/fd/63" gives "63").
std::string GetBaseName(std::string_view path);

// The folder part of a path, up to and including its last separator; empty for a bare name.
std::string folderOf(std::string_view path);

// Makes a folder usable as a prefix: appends a separator unless it already ends in one.
std::string withTrailingSeparator(std::string folder);

// Where the MP3 of `input` goes: `folder` + base name + ".mp3".
std::string mp3PathFor(std::string_view folder, std::string_view input);
// Where the AAC audio of `input` goes: `folder` + base name + ".aac".
std::string aacPathFor(std::string_view folder, std::string_view input);

} // namespace quillon::engine
