// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace quillon::platform {

// Copies bytes out of a file mapping. If the file shrank under the mapping since it was made,
// touching the lost pages raises SIGBUS; this returns false instead of letting that end the
// process.
bool guardedCopy(void* to, const void* from, std::size_t count);

} // namespace quillon::platform
