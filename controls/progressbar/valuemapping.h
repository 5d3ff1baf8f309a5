// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace quillon::controls {

// `Value` to the drawn percentage: value * 100 / max + min, halves to even. Nothing when max is 0,
// when value * 100 overflows 32 bits, or when the result does not fit in 32 bits.
std::optional<int> percentFromValue(int value, int min, int max);

// The drawn percentage back to `Value`: percent / 100 * max, divided by min when min is positive.
// Saturates at the 32-bit range.
int valueFromPercent(int percent, int min, int max);

} // namespace quillon::controls
