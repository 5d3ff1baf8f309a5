// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::testing {

using Bytes = std::vector<std::byte>;

Bytes bytesOf(std::initializer_list<int> values);
Bytes bytesOf(const std::string& text);

// Builds FLV files byte by byte for the tests. Layout it writes:
//
//   "FLV" version flags offset(4, big-endian)  ...padding up to offset...
//   back-pointer(4)  { type(1) size(3) timestamp(3) ext(1) stream(3)  data  back-pointer(4) }*
class FlvBuilder {
public:
    FlvBuilder& header(const std::string& signature = "FLV", int version = 1, int flags = 5,
                       std::uint32_t dataOffset = 9);
    FlvBuilder& firstBackPointer();
    // A tag whose data size field says `claimedSize` (defaults to data.size()).
    FlvBuilder& tag(int type, const Bytes& data, std::int64_t claimedSize = -1);
    FlvBuilder& audio(int audioHeader, const Bytes& payload);
    FlvBuilder& video(std::size_t size = 20);
    FlvBuilder& script(std::size_t size = 30);
    FlvBuilder& raw(const Bytes& bytes);
    // Cuts the file to its first `size` bytes.
    FlvBuilder& truncate(std::size_t size);

    // A standard header and first back-pointer.
    static FlvBuilder start();
    const Bytes& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

private:
    Bytes bytes_;
    std::uint32_t timestamp_ = 0;
};

// A payload of `size` bytes counting up from `seed`, so misplaced bytes show in a comparison.
Bytes pattern(std::size_t size, int seed = 0);

} // namespace quillon::testing
