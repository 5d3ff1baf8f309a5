// SPDX-License-Identifier: GPL-3.0-or-later
#include "cliarguments.h"
#include "clirunhost.h"
#include "engine/extractionrun.h"
#include "outputclash.h"
#include "platform/pathparts.h"
#include "platform/posixfilesystem.h"
#include "platform/stopsignals.h"
#include "printablename.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFileFailed = 1;
constexpr int kExitUsage = 2;
// No file failed, but at least one yielded nothing: no audio, or audio that is not extracted.
constexpr int kExitNothingExtracted = 3;
// Stopped by a signal: the shell's own convention for a process ended by one.
constexpr int kExitSignalBase = 128;

// Refuses, before anything is written, a run in which two FILEs would write the same output.
bool reportOutputClashes(const quillon::cli::CliArguments& args) {
    using quillon::cli::printableName;
    const auto clashes = quillon::cli::findOutputClashes(args.files, args.outputDir);
    for (const auto& clash : clashes) {
        std::string inputs;
        for (const std::string& input : clash.inputs) {
            inputs += (inputs.empty() ? "" : ", ") + printableName(input);
        }
        std::string output = printableName(clash.output);
        if (args.aac) {
            output += " or " + printableName(clash.aacOutput);
        }
        std::fprintf(stderr, "quillon-cli: %s would be written by more than one FILE: %s\n",
                     output.c_str(), inputs.c_str());
    }
    return !clashes.empty();
}

// True for an input whose own folder is no place for an output: a name in the kernel's folders,
// /dev and /proc (/dev/stdin, /dev/fd/N from the shell's <(...), /proc/self/fd/N, /dev/sdb), which
// stands for a descriptor or a device even when it is open on a plain file. A named pipe in an
// ordinary folder gets its output next to it; a name that does not exist is left for the run,
// which reports it as unreadable.
bool needsAnOutputDir(const std::string& input) {
    struct stat info {};
    if (::stat(input.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    const std::string folder = quillon::platform::splitPath(input).folder;
    char resolved[PATH_MAX];
    if (::realpath(folder.empty() ? "." : folder.c_str(), resolved) == nullptr) {
        return false;
    }
    const std::string_view real(resolved);
    return real == "/dev" || real == "/proc" || real.starts_with("/proc/");
}

// Refuses, before anything is written, such inputs when no -o says where their outputs go.
bool reportInputsWithoutAFolder(const quillon::cli::CliArguments& args) {
    if (args.outputDir) {
        return false;
    }
    bool refused = false;
    for (const std::string& input : args.files) {
        if (needsAnOutputDir(input)) {
            std::fprintf(stderr,
                         "quillon-cli: %s is a pipe, a device or a descriptor, not a file in a "
                         "folder: give -o DIR for its output\n",
                         quillon::cli::printableName(input).c_str());
            refused = true;
        }
    }
    return refused;
}

} // namespace

int main(int argc, char** argv) {
    using quillon::cli::CliArguments;
    using quillon::platform::StopSignals;
    const CliArguments args = quillon::cli::parseArguments({argv + 1, argv + argc});
    switch (args.action) {
    case CliArguments::Action::Help:
        std::fputs(quillon::cli::kUsage, stdout);
        return kExitOk;
    case CliArguments::Action::Version:
        std::puts("quillon-cli " QUILLON_VERSION);
        return kExitOk;
    case CliArguments::Action::UsageError:
        std::fprintf(stderr, "quillon-cli: %s\nTry 'quillon-cli --help' for more information.\n",
                     args.error.c_str());
        return kExitUsage;
    case CliArguments::Action::Extract:
        break;
    }

    quillon::cli::CliRunHost host(args.files, args.outputDir, stdout, stderr,
                                  ::isatty(STDERR_FILENO) == 1);
    quillon::platform::PosixFileSystem files(quillon::platform::PosixFileSystem::ReadMode::Fastest,
                                             [&host] { return host.stopRequested(); });
    if (args.outputDir) {
        if (const std::error_code problem = files.checkOutputFolder(*args.outputDir)) {
            std::fprintf(stderr, "quillon-cli: output folder %s: %s\n",
                         quillon::cli::printableName(*args.outputDir).c_str(),
                         problem.message().c_str());
            return kExitUsage;
        }
    }
    if (reportInputsWithoutAFolder(args) || reportOutputClashes(args)) {
        return kExitUsage;
    }
    if (args.vbrHeader && args.aac) {
        std::fputs("quillon-cli: --vbr-header applies to .mp3 files only; .aac files are written "
                   "without one\n",
                   stderr);
    }

    const StopSignals signals;
    quillon::engine::ExtractionRun run(host, files, {.vbrHeader = args.vbrHeader, .aac = args.aac});
    run.run();

    if (host.stopRequested()) {
        return kExitSignalBase + StopSignals::received();
    }
    if (host.anyAacSkipped()) {
        std::fputs("quillon-cli: AAC audio is extracted (to NAME.aac) only with --aac\n", stderr);
    }
    if (host.statusWriteError() != 0) {
        std::fprintf(stderr, "quillon-cli: can not write the status lines: %s\n",
                     std::strerror(host.statusWriteError()));
        return kExitFileFailed;
    }
    if (host.anyFailed()) {
        return kExitFileFailed;
    }
    return host.anyExtractedNothing() ? kExitNothingExtracted : kExitOk;
}
