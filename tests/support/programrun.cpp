#include "programrun.h"

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace quillon::testing {

namespace {

std::string shellQuote(const std::string& text) {
    std::string quoted(1, '\'');
    for (char c : text) {
        if (c == '\'') {
            quoted.append("'\\''");
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('\'');
    return quoted;
}

std::string slurpAndRemove(const std::filesystem::path& path) {
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove(path);
    return text;
}

} // namespace

ProgramResult runProgram(const std::string& program, const std::filesystem::path& workDir,
                         const std::vector<std::string>& args) {
    const auto outPath = workDir / ".program-out";
    const auto errPath = workDir / ".program-err";
    std::string command = "cd ";
    command.append(shellQuote(workDir.string()));
    command.append(" && ");
    command.append(shellQuote(program));
    for (const auto& arg : args) {
        command.push_back(' ');
        command.append(shellQuote(arg));
    }
    command.append(" >");
    command.append(shellQuote(outPath.string()));
    command.append(" 2>");
    command.append(shellQuote(errPath.string()));
    command.append(" </dev/null");

    const int status = std::system(command.c_str());
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurpAndRemove(outPath);
    result.err = slurpAndRemove(errPath);
    return result;
}

} // namespace quillon::testing
