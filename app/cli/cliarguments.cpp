// SPDX-License-Identifier: GPL-3.0-or-later
#include "cliarguments.h"

namespace quillon::cli {

CliArguments parseArguments(const std::vector<std::string>& args) {
    CliArguments result;
    auto fail = [&result](std::string message) {
        result.action = CliArguments::Action::UsageError;
        result.error = std::move(message);
        return result;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            result.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            result.action = CliArguments::Action::Help;
            return result;
        } else if (arg == "--version") {
            result.action = CliArguments::Action::Version;
            return result;
        } else if (arg == "--vbr-header" || arg == "--xing") {
            result.vbrHeader = true;
        } else if (arg == "--aac") {
            result.aac = true;
        } else if (arg == "-o" || arg == "--output-dir") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return fail("option '" + arg + "' needs a folder");
            }
            result.outputDir = args[++i];
        } else if (arg.starts_with("--output-dir=")) {
            result.outputDir = arg.substr(std::string_view("--output-dir=").size());
            if (result.outputDir->empty()) {
                return fail("option '--output-dir' needs a folder");
            }
        } else if (arg.starts_with("-o") && arg.size() > 2) {
            result.outputDir = arg.substr(2);
        } else {
            return fail("unknown option '" + arg + "'");
        }
    }
    if (result.files.empty()) {
        return fail("no FLV files given");
    }
    return result;
}

} // namespace quillon::cli
