// SPDX-License-Identifier: GPL-3.0-or-later
#include "programrun.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon::testing {

namespace {

std::string slurpAndRemove(const std::filesystem::path& path) {
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove(path);
    return text;
}

ProgramResult collect(int status, const std::filesystem::path& outPath,
                      const std::filesystem::path& errPath) {
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.killedBy = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = slurpAndRemove(outPath);
    result.err = slurpAndRemove(errPath);
    return result;
}

} // namespace

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

ProgramResult runInBash(const std::filesystem::path& workDir, const std::string& commandLine) {
    const auto outPath = workDir / ".program-out";
    const auto errPath = workDir / ".program-err";
    const std::string script = "cd " + shellQuote(workDir.string()) + " && { " + commandLine +
                               " ; } >" + shellQuote(outPath.string()) + " 2>" +
                               shellQuote(errPath.string()) + " </dev/null";
    const std::string command = "bash -c " + shellQuote(script);
    return collect(std::system(command.c_str()), outPath, errPath);
}

ProgramResult runProgram(const std::string& program, const std::filesystem::path& workDir,
                         const std::vector<std::string>& args) {
    std::string commandLine = shellQuote(program);
    for (const auto& arg : args) {
        commandLine.push_back(' ');
        commandLine.append(shellQuote(arg));
    }
    return runInBash(workDir, commandLine);
}

RunningProgram::RunningProgram(const std::string& program, const std::filesystem::path& workDir,
                               const std::vector<std::string>& args,
                               const std::vector<int>& ignoredSignals)
    : outPath_(workDir / ".program-out"), errPath_(workDir / ".program-err") {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || ::chdir(workDir.c_str()) != 0) {
            ::_exit(127);
        }
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        for (const int number : ignoredSignals) {
            ::signal(number, SIG_IGN);
        }
        std::vector<char*> pointers;
        pointers.reserve(argv.size() + 1);
        for (auto& a : argv) {
            pointers.push_back(a.data());
        }
        pointers.push_back(nullptr);
        ::execv(program.c_str(), pointers.data());
        ::_exit(127);
    }
}

RunningProgram::~RunningProgram() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void RunningProgram::signal(int number) const {
    ::kill(pid_, number);
}

ProgramResult RunningProgram::wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return collect(status, outPath_, errPath_);
}

} // namespace quillon::testing
