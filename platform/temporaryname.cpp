// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/temporaryname.h"

namespace quillon::platform {

namespace {
// The longest file name the usual file systems take, in bytes.
constexpr std::size_t kNameMax = 255;
constexpr std::string_view kSuffix = ".part";

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

std::string temporaryNameFor(std::string_view finalName, std::string_view unique) {
    const std::size_t fixed = 1 + 1 + unique.size() + kSuffix.size();
    std::size_t keep = finalName.size();
    if (fixed + keep > kNameMax) {
        keep = kNameMax > fixed ? kNameMax - fixed : 0;
        while (keep > 0 && isContinuationByte(finalName[keep])) {
            --keep;
        }
    }
    std::string name = ".";
    name += finalName.substr(0, keep);
    name += '.';
    name += unique;
    name += kSuffix;
    return name;
}

} // namespace quillon::platform
