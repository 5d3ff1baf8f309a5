// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace quillon::engine {

// How much of a file has been read, as a whole percentage 0..100: rounded to the nearest integer
// with halves to even, and never above 100 even when the position has run past the end.
int readPercent(std::uint64_t position, std::uint64_t fileSize);

} // namespace quillon::engine
