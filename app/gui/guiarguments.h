// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <string>
#include <system_error>
#include <vector>

namespace quillon::gui {

// What the window's command line asks for. It is read before anything needs a display, so that
// --help, --version and a mistake are answered without opening a window.
struct GuiArguments {
    enum class Action { Open, Help, Version, UsageError };

    Action action = Action::Open;
    // The files to list at start-up, as full paths in the system's bytes (not necessarily UTF-8),
    // in the order given: those that exist.
    QList<QByteArray> files;
    // The FILEs that do not exist, as given, with the system's reason; unlike a drop, which
    // stops at the first missing item, they do not keep the others from being listed.
    struct NotFound {
        std::string name;
        std::error_code reason;
    };
    std::vector<NotFound> notFound;
    // What was wrong, for a usage error.
    std::string error;
};

// `args` are the words after the program's name; relative FILEs are taken from the current
// directory.
GuiArguments parseGuiArguments(const std::vector<std::string>& args);

inline constexpr const char* kGuiUsage =
    "Usage: quillon [OPTION]... [FILE]...\n"
    "Opens the Quillon window, which extracts the MP3 audio stream of FLV files,\n"
    "with the FILEs listed as if they had been dropped onto it; a FILE that does not\n"
    "exist is named on stderr, and the others are still listed.\n"
    "\n"
    "      --help      show this help and exit\n"
    "      --version   show the version and exit\n"
    "      --          treat every later argument as a FILE\n"
    "\n"
    "Exit status: 0 when the window is closed, 1 when there is no display to open it\n"
    "on (quillon-cli does the same work without one), 2 for a usage error.\n";

} // namespace quillon::gui
