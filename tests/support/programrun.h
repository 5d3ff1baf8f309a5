// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quillon::testing {

struct ProgramResult {
    int exitCode = -1; // -1 when the program did not exit normally
    int killedBy = 0;  // the signal that ended it, if one did
    std::string out;
    std::string err;
};

// Runs a program in `workDir` with the arguments passed exactly as given (quoted for the shell),
// standard input empty, and collects what it printed.
ProgramResult runProgram(const std::string& program, const std::filesystem::path& workDir,
                         const std::vector<std::string>& args);

// Runs a bash command line in `workDir` (for redirections, process substitution, limits), standard
// input empty, and collects what it printed.
ProgramResult runInBash(const std::filesystem::path& workDir, const std::string& commandLine);

// `text` quoted for a shell command line.
std::string shellQuote(const std::string& text);

// A program started in the background, so a test can act on it while it runs.
class RunningProgram {
public:
    // `ignoredSignals` are ignored when the program starts, as nohup or a shell's background job
    // would leave them.
    RunningProgram(const std::string& program, const std::filesystem::path& workDir,
                   const std::vector<std::string>& args,
                   const std::vector<int>& ignoredSignals = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    void signal(int number) const;
    pid_t pid() const { return pid_; }
    // Waits for the end and collects what it printed.
    ProgramResult wait();

private:
    pid_t pid_ = -1;
    std::filesystem::path outPath_;
    std::filesystem::path errPath_;
};

} // namespace quillon::testing
