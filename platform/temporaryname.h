// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace quillon::platform {

// The hidden name an output lives under until it is whole: ".NAME.UNIQUE.part", which says what
// it is and whose it is. A NAME too long for the file system's name limit is shortened at a
// character boundary.
std::string temporaryNameFor(std::string_view finalName, std::string_view unique);

} // namespace quillon::platform
