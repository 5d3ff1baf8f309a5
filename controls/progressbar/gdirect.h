// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace quillon::controls {

// A rectangle with exclusive right and bottom edges: filling covers columns left..right-1 and rows
// top..bottom-1, and an empty or inverted rectangle covers nothing.
struct GdiRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const GdiRect&, const GdiRect&) = default;
};

} // namespace quillon::controls
