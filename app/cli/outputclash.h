// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

// Two or more FILEs whose outputs would be one and the same file: extracting them in one run
// would leave only the last one's. Inputs of one base name clash whatever their audio: which of
// NAME.mp3 and NAME.aac a file gives shows only once it is read.
struct OutputClash {
    std::string output;    // NAME.mp3
    std::string aacOutput; // NAME.aac
    std::vector<std::string> inputs;
};

// The clashes among `files` with outputs next to each input, or in `outputDir` when given. Folders
// are told apart by identity on disk, so "a/x.flv" and "a/./x.flv" clash as well.
std::vector<OutputClash> findOutputClashes(const std::vector<std::string>& files,
                                           const std::optional<std::string>& outputDir);

} // namespace quillon::cli
