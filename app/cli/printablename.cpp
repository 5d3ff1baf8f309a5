// SPDX-License-Identifier: GPL-3.0-or-later
#include "printablename.h"

#include <cstdio>

namespace quillon::cli {

namespace {

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 character starting at text[i], or 0 when the byte there
// starts none (a stray continuation byte, a lead byte cut short, an overlong form, a surrogate).
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    // The range the second byte must fall in, narrower than 80..BF after some lead bytes.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (text.size() - i < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!isContinuationByte(static_cast<unsigned char>(text[i + k]))) {
            return 0;
        }
    }
    return length;
}

// One piece of a name: a character or a lone byte, and whether it must be escaped.
struct Piece {
    std::size_t length;
    bool escaped;
};

Piece pieceAt(std::string_view name, std::size_t i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
        return {1, c < 0x20 || c == 0x7F || c == '"' || c == '\\'};
    }
    if (const std::size_t length = utf8Length(name, i); length > 0) {
        // U+0080..U+009F, encoded as C2 80..C2 9F, are the C1 controls.
        const bool c1 = c == 0xC2 && static_cast<unsigned char>(name[i + 1]) <= 0x9F;
        return {length, c1};
    }
    // A byte outside UTF-8: one from 80 to 9F is a C1 control to an 8-bit terminal (9B is CSI).
    return {1, c <= 0x9F};
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
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    default:
        break;
    }
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    out += hex;
}

bool needsQuotes(std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        const Piece piece = pieceAt(name, i);
        if (piece.escaped) {
            return true;
        }
        i += piece.length;
    }
    return false;
}

} // namespace

std::string printableName(std::string_view name) {
    if (!needsQuotes(name)) {
        return std::string(name);
    }
    std::string out = "\"";
    out.reserve(name.size() + 8);
    for (std::size_t i = 0; i < name.size();) {
        const Piece piece = pieceAt(name, i);
        for (std::size_t k = 0; k < piece.length; ++k, ++i) {
            if (piece.escaped) {
                appendEscaped(out, static_cast<unsigned char>(name[i]));
            } else {
                out += name[i];
            }
        }
    }
    out += '"';
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
