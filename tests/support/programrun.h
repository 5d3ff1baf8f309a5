#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::testing {

struct ProgramResult {
    int exitCode = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a program in `workDir` with the arguments passed exactly as given (quoted for the shell),
// standard input empty, and collects what it printed.
ProgramResult runProgram(const std::string& program, const std::filesystem::path& workDir,
                         const std::vector<std::string>& args);

} // namespace quillon::testing
