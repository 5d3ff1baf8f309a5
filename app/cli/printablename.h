// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace quillon::cli {

// A file name as it may go to a terminal or into a line of the command's output. A name holding
// a control character (C0, DEL or C1, the last also as a lone byte in a name that is not UTF-8),
// a double quote or a backslash is printed in double quotes with C escapes inside ("\n", "\t",
// "\x1b", "\"", "\\"), as git quotes names; any other name is printed as it is. So a name can
// neither forge a line nor steer the terminal, and two names never print the same.
std::string printableName(std::string_view name);

// The longest tail of `text` that fits in `maxBytes` and starts at a character boundary.
std::string_view utf8Tail(std::string_view text, std::size_t maxBytes);

} // namespace quillon::cli
