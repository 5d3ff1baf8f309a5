// SPDX-License-Identifier: GPL-3.0-or-later
#include "flvbuilder.h"

namespace quillon::testing {

namespace {
void putBigEndian(Bytes& out, std::uint64_t value, int size) {
    for (int i = size - 1; i >= 0; --i) {
        out.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFF));
    }
}
} // namespace

Bytes bytesOf(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) {
        out.push_back(static_cast<std::byte>(v));
    }
    return out;
}

Bytes bytesOf(const std::string& text) {
    Bytes out;
    for (char c : text) {
        out.push_back(static_cast<std::byte>(c));
    }
    return out;
}

Bytes pattern(std::size_t size, int seed) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::byte>((i + static_cast<std::size_t>(seed)) & 0xFF);
    }
    return out;
}

FlvBuilder FlvBuilder::start() {
    FlvBuilder b;
    b.header().firstBackPointer();
    return b;
}

FlvBuilder& FlvBuilder::header(const std::string& signature, int version, int flags,
                               std::uint32_t dataOffset) {
    raw(bytesOf(signature));
    bytes_.push_back(static_cast<std::byte>(version));
    bytes_.push_back(static_cast<std::byte>(flags));
    putBigEndian(bytes_, dataOffset, 4);
    while (bytes_.size() < dataOffset && dataOffset < 4096) {
        bytes_.push_back(std::byte{0xEE});
    }
    return *this;
}

FlvBuilder& FlvBuilder::firstBackPointer() {
    putBigEndian(bytes_, 0, 4);
    return *this;
}

FlvBuilder& FlvBuilder::tag(int type, const Bytes& data, std::int64_t claimedSize) {
    const std::uint64_t size =
        claimedSize < 0 ? data.size() : static_cast<std::uint64_t>(claimedSize);
    bytes_.push_back(static_cast<std::byte>(type));
    putBigEndian(bytes_, size, 3);
    putBigEndian(bytes_, timestamp_ & 0xFFFFFF, 3);
    bytes_.push_back(static_cast<std::byte>(timestamp_ >> 24));
    putBigEndian(bytes_, 0, 3);
    raw(data);
    putBigEndian(bytes_, 11 + data.size(), 4);
    timestamp_ += 26;
    return *this;
}

FlvBuilder& FlvBuilder::audio(int audioHeader, const Bytes& payload) {
    Bytes data{static_cast<std::byte>(audioHeader)};
    data.insert(data.end(), payload.begin(), payload.end());
    return tag(8, data);
}

FlvBuilder& FlvBuilder::video(std::size_t size) {
    return tag(9, pattern(size, 0x40));
}

FlvBuilder& FlvBuilder::script(std::size_t size) {
    return tag(18, pattern(size, 0x80));
}

FlvBuilder& FlvBuilder::raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

FlvBuilder& FlvBuilder::truncate(std::size_t size) {
    bytes_.resize(size);
    return *this;
}

} // namespace quillon::testing
