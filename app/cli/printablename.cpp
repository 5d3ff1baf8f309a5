// SPDX-License-Identifier: GPL-3.0-or-later
#include "printablename.h"

#include <algorithm>
#include <cstdio>

namespace quillon::cli {

namespace {

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the control character starting at name[i], or 0 when there is none there.
std::size_t controlLength(std::string_view name, std::size_t i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F) {
        return 1;
    }
    // U+0080..U+009F, encoded as C2 80..C2 9F.
    if (c == 0xC2 && i + 1 < name.size()) {
        const auto next = static_cast<unsigned char>(name[i + 1]);
        return next >= 0x80 && next <= 0x9F ? 2 : 0;
    }
    return 0;
}

bool needsEscapes(std::string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (controlLength(name, i) > 0) {
            return true;
        }
    }
    return false;
}

void appendEscaped(std::string& out, unsigned char c) {
    switch (c) {
    case '\n':
        out += "\\n";
        return;
    case '\t':
        out += "\\t";
        return;
    case '\r':
        out += "\\r";
        return;
    default:
        break;
    }
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    out += hex;
}

} // namespace

std::string printableName(std::string_view name) {
    if (!needsEscapes(name)) {
        return std::string(name);
    }
    std::string out;
    out.reserve(name.size() + 8);
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t control = controlLength(name, i);
        if (control == 0) {
            if (name[i] == '\\') {
                out += '\\';
            }
            out += name[i++];
            continue;
        }
        for (std::size_t k = 0; k < control; ++k) {
            appendEscaped(out, static_cast<unsigned char>(name[i++]));
        }
    }
    return out;
}

std::string_view utf8Tail(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t start = text.size() - maxBytes;
    while (start < text.size() && isContinuationByte(static_cast<unsigned char>(text[start]))) {
        ++start;
    }
    return text.substr(start);
}

} // namespace quillon::cli
