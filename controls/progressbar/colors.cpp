// SPDX-License-Identifier: GPL-3.0-or-later
#include "colors.h"

#include "rounding.h"

#include <QPalette>
#include <algorithm>

namespace quillon::controls {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexes follow the classic system colour table (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30).
constexpr SystemRole kSystemRoles[] = {
    {QPalette::Active, QPalette::Button},          // 0 scroll bar
    {QPalette::Active, QPalette::Window},          // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},     // 3 inactive caption
    {QPalette::Active, QPalette::Base},            // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Button},          // 10 active border
    {QPalette::Inactive, QPalette::Button},        // 11 inactive border
    {QPalette::Active, QPalette::Mid},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 info background
    {QPalette::Active, QPalette::Button},          // 25 (unused slot)
    {QPalette::Active, QPalette::Link},            // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},     // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    {QPalette::Active, QPalette::Window},          // 30 menu bar
};

} // namespace

ColorRef systemColor(std::uint32_t index, const QPalette& palette) {
    if (index >= std::size(kSystemRoles)) {
        return 0;
    }
    const SystemRole& r = kSystemRoles[index];
    return fromQRgb(palette.color(r.group, r.role).rgb());
}

ColorRef ResolveColor(ColorRef c, const QPalette& palette) {
    if (c & kSystemColorFlag) {
        return systemColor(c & ~kSystemColorFlag, palette);
    }
    return c;
}

ColorRef LightenColor(ColorRef c, int amount) {
    amount = std::clamp(amount, 0, 255);
    const auto lighten = [amount](int channel) {
        return std::min(255, amount + ((255 - amount) * channel) / 255);
    };
    return rgbColor(lighten(redOf(c)), lighten(greenOf(c)), lighten(blueOf(c)));
}

ColorRef BlendColors(ColorRef c1, ColorRef c2, int weight, const QPalette& palette) {
    c1 = ResolveColor(c1, palette);
    c2 = ResolveColor(c2, palette);
    const auto mix = [weight](int a, int b) {
        const double v = weight * a / 255.0 + (255 - weight) * b / 255.0;
        return std::clamp(roundSaturated(v), 0, 255);
    };
    return rgbColor(mix(redOf(c1), redOf(c2)), mix(greenOf(c1), greenOf(c2)),
                    mix(blueOf(c1), blueOf(c2)));
}

} // namespace quillon::controls
