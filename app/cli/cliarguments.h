#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

struct CliArguments {
    enum class Action { Extract, Help, Version, UsageError };

    Action action = Action::Extract;
    // Set by -o / --output-dir; without it each output goes next to its input.
    std::optional<std::string> outputDir;
    std::vector<std::string> files;
    // What was wrong, for a usage error.
    std::string error;
};

CliArguments parseArguments(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "Usage: quillon-cli [-o DIR | --output-dir DIR] FILE...\n"
    "Extracts the MP3 audio stream of each FLV FILE into FILE's base name + .mp3.\n"
    "\n"
    "  -o, --output-dir DIR  write the MP3 files into DIR (default: next to each input)\n"
    "      --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "      --                treat every later argument as a FILE\n"
    "\n"
    "Prints 'FILE: STATUS' for each file. Exit status: 0 when every file finished,\n"
    "1 when any file ended in an error, 2 for a usage error.\n";

} // namespace quillon::cli
