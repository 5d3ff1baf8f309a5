// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace quillon::cli {

// A file name as it may go to a terminal or into a line of the command's output: control
// characters (C0, DEL and C1) are written as C escapes ("\n", "\t", "\x1b"), so a name can neither
// forge a line nor steer the terminal. In a name that needs escapes a backslash is written "\\",
// so the escaped form reads back unambiguously; any other name is printed as it is.
std::string printableName(std::string_view name);

// The longest tail of `text` that fits in `maxBytes` and starts at a character boundary.
std::string_view utf8Tail(std::string_view text, std::size_t maxBytes);

} // namespace quillon::cli
