// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace quillon::testing {

// Lower-case hex SHA-256 of the bytes, to compare outputs with stored hashes.
std::string sha256Hex(std::span<const std::byte> bytes);

} // namespace quillon::testing
