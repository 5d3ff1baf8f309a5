// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Set by --vbr-header / --xing.
    bool vbrHeader = false;
    // Set by --aac.
    bool aac = false;
    std::vector<std::string> files;
    // What was wrong, for a usage error.
    std::string error;
};

CliArguments parseArguments(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "Usage: quillon-cli [-o DIR | --output-dir DIR] [--vbr-header] [--aac] FILE...\n"
    "Extracts the MP3 audio stream of each FLV FILE into FILE's base name + .mp3.\n"
    "\n"
    "  -o, --output-dir DIR  write the MP3 files into DIR (default: next to each input)\n"
    "      --vbr-header, --xing\n"
    "                        start each MP3 with a VBR header frame (Xing, or Info for a\n"
    "                        constant bitrate): players then show the right duration and\n"
    "                        seek well in variable-bitrate audio\n"
    "      --aac             also extract AAC audio, as ADTS frames into base name + .aac\n"
    "      --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "      --                treat every later argument as a FILE\n"
    "\n"
    "Without --vbr-header the MP3 is the audio stream exactly as the FLV holds it.\n"
    "A stream that allows no header frame (free format, a change of sample rate,\n"
    "no MPEG audio frames) is written plain, with a line on stderr saying why.\n"
    "--vbr-header does not apply to .aac files.\n"
    "\n"
    "Prints 'FILE: STATUS' for each file, and on stderr why a file could not be read.\n"
    "A name holding a control character, a double quote or a backslash is printed\n"
    "in double quotes with C escapes inside (\\n, \\t, \\x1b, \\\" and \\\\), as git\n"
    "quotes names; other names are printed as they are.\n"
    "A file without audio prints 'No audio'; one whose audio is not extracted prints\n"
    "'Skipped: FORMAT audio' (AAC without --aac, Nellymoser, Speex, PCM, ...).\n"
    "\n"
    "The base name is the name up to its last dot, or the whole name if it has none.\n"
    "A FILE in /dev or /proc (/dev/stdin, <(...), a device) needs -o.\n"
    "Each output is written under a hidden temporary name (.NAME.mp3.XXXXXX.part) in its\n"
    "folder and renamed to NAME.mp3 only when it is complete. A file that fails or is\n"
    "stopped leaves no temporary file, and an older NAME.mp3 stays exactly as it was;\n"
    "a killed process can leave a .part file, never a truncated NAME.mp3.\n"
    "Ctrl-C, SIGTERM and SIGHUP stop at the next tag ('FILE: Stopped').\n"
    "\n"
    "Exit status: 0 when every file was extracted, 1 when any file ended in an error,\n"
    "2 for a usage error (also when two FILEs would write the same output),\n"
    "3 when no file failed but some yielded nothing (no audio, or audio skipped),\n"
    "128 + the signal number when stopped by a signal.\n";

} // namespace quillon::cli
