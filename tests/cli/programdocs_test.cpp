// SPDX-License-Identifier: GPL-3.0-or-later
// Each program as a user first meets it: --help, --version and a wrong option answered at once,
// without a display, and --help naming the very options that its manual page (and, for the
// command line, its bash completion) name. A new option missing from one of them fails here.
#include "programrun.h"
#include "tempfolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

using namespace quillon::testing;

namespace {

using Options = std::set<std::string>;

struct Program {
    const char* name;
    const char* path;
    const char* manPage;    // source under dist/man
    const char* completion; // under dist/completion, or null
    // What `name gone.flv` prints without a display to open a window on.
    const char* missingFileOut;
    const char* missingFileErr;
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.name;
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The dashed words of `text`, up to the first that is not an option ("-o DIR, --output-dir DIR"
// gives -o and --output-dir).
void addOptionWords(const std::string& text, Options& options) {
    static const std::regex word(R"((^|[\s,])(--?[A-Za-z0-9][A-Za-z0-9-]*|--)(?=[\s,=]|$))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word);
         it != std::sregex_iterator(); ++it) {
        options.insert((*it)[2].str());
    }
}

// --help lists one option per line: indented, dashed names, two spaces, what it does.
Options helpOptions(const std::string& help) {
    Options options;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        const auto start = line.find_first_not_of(' ');
        if (start == 0 || start == std::string::npos || line[start] != '-') {
            continue;
        }
        addOptionWords(line.substr(start, line.find("  ", start) - start), options);
    }
    return options;
}

// The manual page's OPTIONS section: each .TP item's tag line names its options.
Options manPageOptions(const std::string& source) {
    Options options;
    std::istringstream lines(source);
    bool inOptions = false;
    bool tagLine = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(".SH")) {
            inOptions = line == ".SH OPTIONS";
        } else if (inOptions && line == ".TP") {
            tagLine = true;
        } else if (tagLine) {
            tagLine = false;
            line = std::regex_replace(line, std::regex(R"(\\f[BIRP])"), "");
            line = std::regex_replace(line, std::regex(R"(^\.[BI]R?\s+|\\(?=-))"), "");
            addOptionWords(line, options);
        }
    }
    return options;
}

// The words the completion offers for a word that begins with a dash.
Options completionOptions(const std::string& script) {
    std::smatch words;
    Options options;
    if (std::regex_search(script, words, std::regex(R"(compgen -W '([^']*)')"))) {
        addOptionWords(words[1].str(), options);
    }
    return options;
}

class ProgramDocs : public ::testing::TestWithParam<Program> {
protected:
    // Runs the program with no display to open a window on, or with one that is named but
    // cannot be reached.
    ProgramResult run(const std::string& arg, bool unreachableDisplay = false) {
        return runProgram("env", work.path(),
                          {"-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM",
                           unreachableDisplay ? "DISPLAY=:no-such-display" : "-u",
                           unreachableDisplay ? "XAUTHORITY=/dev/null" : "DISPLAY", GetParam().path,
                           arg});
    }
    TempFolder work;
};

TEST_P(ProgramDocs, HelpNamesTheOptionsOfTheManualPageAndTheCompletion) {
    const Program& program = GetParam();
    const ProgramResult help = run("--help");
    ASSERT_EQ(help.exitCode, 0) << help.err;
    EXPECT_EQ(help.err, "");
    const Options options = helpOptions(help.out);
    EXPECT_TRUE(options.contains("--help") && options.contains("--version")) << help.out;
    EXPECT_EQ(options,
              manPageOptions(readText(std::string(QUILLON_DIST_DIR "/man/") + program.manPage)));
    if (program.completion != nullptr) {
        EXPECT_EQ(options, completionOptions(readText(std::string(QUILLON_DIST_DIR "/completion/") +
                                                      program.completion)));
    }
}

TEST_P(ProgramDocs, VersionAndAWrongOptionAreAnsweredWithoutAWindow) {
    const Program& program = GetParam();
    const ProgramResult version = run("--version");
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, std::string(program.name) + " " QUILLON_EXPECTED_VERSION "\n");

    const ProgramResult wrong = run("--no-such-option");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("'--no-such-option'"), std::string::npos) << wrong.err;
    EXPECT_EQ(wrong.err, std::string(program.name) + ": unknown option '--no-such-option'\nTry '" +
                             program.name + " --help' for more information.\n");
}

TEST_P(ProgramDocs, AMissingFileWithoutADisplayIsNamedAndTheExitStatusIsOne) {
    const Program& program = GetParam();
    const ProgramResult r = run("gone.flv");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, program.missingFileOut);
    EXPECT_EQ(r.err, program.missingFileErr);

    // Qt may add its own words about the display it could not reach, but must not abort.
    const ProgramResult unreachable = run("gone.flv", true);
    EXPECT_EQ(unreachable.exitCode, 1) << unreachable.err;
    const std::string err = program.missingFileErr;
    EXPECT_TRUE(unreachable.err.ends_with(err.substr(err.rfind('\n', err.size() - 2) + 1)))
        << unreachable.err;
}

const Program kPrograms[] = {
#ifdef QUILLON_GUI_PATH
    {"quillon", QUILLON_GUI_PATH, "quillon.1.in", nullptr, "",
     "quillon: gone.flv: No such file or directory\nquillon: no display; use quillon-cli\n"},
#endif
    {"quillon-cli", QUILLON_CLI_PATH, "quillon-cli.1.in", "quillon-cli",
     "gone.flv: Error: Can not read the flv file\n",
     "quillon-cli: gone.flv: No such file or directory\n"},
};

INSTANTIATE_TEST_SUITE_P(Programs, ProgramDocs, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) {
                             return std::regex_replace(info.param.name, std::regex("-"), "_");
                         });

} // namespace
