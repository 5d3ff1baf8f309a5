// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/readpercent.h"

#include <cmath>

namespace quillon::engine {

int readPercent(std::uint64_t position, std::uint64_t fileSize) {
    if (fileSize == 0) {
        return 100;
    }
    const double exact = static_cast<double>(position) * 100.0 / static_cast<double>(fileSize);
    if (exact >= 100.0) {
        return 100;
    }
    // Halves to even, independent of the floating-point rounding mode in force.
    double whole = std::floor(exact);
    const double fraction = exact - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return static_cast<int>(whole);
}

} // namespace quillon::engine
