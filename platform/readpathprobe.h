// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::platform {

// Whether this machine reads a page-cached file faster through a mapping of it than with plain
// reads into a buffer, measured on the start of the open file `fd`. On an ordinary machine a
// mapping wins: a page costs a share of one fault instead of a copy. Where the hypervisor shadows
// the page tables (a PVM guest), every first touch of a mapped page exits to it and plain reads
// win by a factor of several. Costs about a millisecond where mapping is dear, far less elsewhere;
// false when the file is too short to tell or the measurement fails, since plain reads are never
// far from the best.
bool mappedReadsAreFaster(int fd);

// The file size from which mappedReadsAreFaster() can tell.
inline constexpr unsigned long kReadPathProbeBytes = 128 << 10;

} // namespace quillon::platform
