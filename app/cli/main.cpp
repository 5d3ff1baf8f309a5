#include "cliarguments.h"
#include "clirunhost.h"
#include "engine/extractionrun.h"
#include "platform/posixfilesystem.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFileFailed = 1;
constexpr int kExitUsage = 2;

// The output folder must exist and take new files.
bool folderIsUsable(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(path.c_str(), W_OK | X_OK) == 0;
}

} // namespace

int main(int argc, char** argv) {
    using quillon::cli::CliArguments;
    const CliArguments args = quillon::cli::parseArguments({argv + 1, argv + argc});
    switch (args.action) {
    case CliArguments::Action::Help:
        std::fputs(quillon::cli::kUsage, stdout);
        return kExitOk;
    case CliArguments::Action::Version:
        std::puts("quillon-cli " QUILLON_VERSION);
        return kExitOk;
    case CliArguments::Action::UsageError:
        std::fprintf(stderr, "quillon-cli: %s\n%s", args.error.c_str(), quillon::cli::kUsage);
        return kExitUsage;
    case CliArguments::Action::Extract:
        break;
    }
    if (args.outputDir && !folderIsUsable(*args.outputDir)) {
        std::fprintf(stderr, "Can not read %s\n", args.outputDir->c_str());
        return kExitUsage;
    }

    quillon::cli::CliRunHost host(args.files, args.outputDir, stdout, stderr,
                                  ::isatty(STDERR_FILENO) == 1);
    quillon::platform::PosixFileSystem files;
    quillon::engine::ExtractionRun run(host, files);
    run.run();
    return host.anyFailed() ? kExitFileFailed : kExitOk;
}
