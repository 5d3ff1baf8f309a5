// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

// Multi-byte fields of the FLV container and of MPEG audio are big-endian: the first byte is the
// most significant. Every read and write of one goes through here.
namespace quillon::engine {

// The `Bytes` bytes at `at` as one number.
// Spelled as one expression of shifts, which compilers turn into a single load and byte swap.
template <std::size_t Bytes>
constexpr std::uint32_t readBigEndian(const std::byte* at) {
    static_assert(Bytes >= 1 && Bytes <= 4);
    return [at]<std::size_t... I>(std::index_sequence<I...>) {
        return ((std::to_integer<std::uint32_t>(at[I]) << (8 * (Bytes - 1 - I))) | ...);
    }
    (std::make_index_sequence<Bytes>{});
}

constexpr std::uint32_t readBigEndian32(const std::byte* at) {
    return readBigEndian<4>(at);
}

// Writes `value` as four bytes at `at`; returns where the next field starts.
constexpr std::byte* putBigEndian32(std::byte* at, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        *at++ = static_cast<std::byte>(value >> shift);
    }
    return at;
}

} // namespace quillon::engine
