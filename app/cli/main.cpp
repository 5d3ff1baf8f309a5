// SPDX-License-Identifier: GPL-3.0-or-later
#include "cliarguments.h"
#include "clirunhost.h"
#include "engine/extractionrun.h"
#include "outputclash.h"
#include "platform/posixfilesystem.h"
#include "platform/stopsignals.h"
#include "printablename.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFileFailed = 1;
constexpr int kExitUsage = 2;
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
        std::fprintf(stderr, "quillon-cli: %s would be written by more than one FILE: %s\n",
                     printableName(clash.output).c_str(), inputs.c_str());
    }
    return !clashes.empty();
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
    if (reportOutputClashes(args)) {
        return kExitUsage;
    }

    const StopSignals signals;
    // An older output stays as it was unless a complete new one replaces it.
    quillon::engine::ExtractionRun run(
        host, files, {.removeOlderOutputFirst = false, .vbrHeader = args.vbrHeader});
    run.run();

    if (host.stopRequested()) {
        return kExitSignalBase + StopSignals::received();
    }
    if (host.statusWriteError() != 0) {
        std::fprintf(stderr, "quillon-cli: can not write the status lines: %s\n",
                     std::strerror(host.statusWriteError()));
        return kExitFileFailed;
    }
    return host.anyFailed() ? kExitFileFailed : kExitOk;
}
