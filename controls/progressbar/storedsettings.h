// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "propertybag.h"

#include <QFont>

namespace quillon::controls {

// Keys of the control's stored settings, in the order they are written and read.
inline constexpr char kKeyFont[] = "Font";
inline constexpr char kKeyBrushStyle[] = "BrushStyle";
inline constexpr char kKeyColor[] = "Color";
inline constexpr char kKeyImage[] = "Image";
inline constexpr char kKeyMax[] = "Max";
inline constexpr char kKeyMin[] = "Min";
inline constexpr char kKeyOrientation[] = "Orientation";
inline constexpr char kKeyScrolling[] = "Scrolling";
inline constexpr char kKeyShowText[] = "ShowText";
inline constexpr char kKeyValue[] = "Value";

// Defaults used when a key is absent. BrushStyle's is the cross hatch, although a new control
// starts at 0; Color's is the reference to the system highlight colour.
inline constexpr std::int32_t kDefaultBrushStyle = 4;
inline constexpr std::int32_t kDefaultColor = static_cast<std::int32_t>(0x8000000Du);
inline constexpr std::int32_t kDefaultMax = 100;
inline constexpr std::int32_t kDefaultMin = 0;
inline constexpr std::int32_t kDefaultOrientation = 0;
inline constexpr std::int32_t kDefaultScrolling = 0;
inline constexpr bool kDefaultShowText = false;
inline constexpr std::int32_t kDefaultValue = 0;

StoredFont storedFontFromQFont(const QFont& font, int charset);
QFont qfontFromStoredFont(const StoredFont& stored);

// The settings the main window keeps for its progress bar: a 8.25 pt font face 宋体 (SimSun) in
// character set 134 (GB2312), the horizontal-lines hatch and the colour (78, 119, 213); everything
// else default.
PropertyBag mainWindowProgressBarSettings();

} // namespace quillon::controls
