// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colors.h"

#include <QImage>
#include <QString>
#include <optional>

namespace quillon::gallery {

// What one rendering of the control needs.
struct BarSpec {
    int style = 0;
    int value = 0;
    int min = 0;
    int max = 100;
    int width = 200;
    int height = 24;
    int orientation = 0;
    controls::ColorRef color = 0xD5774E; // (78, 119, 213), the main window's bar
    bool showText = false;
    std::optional<QString> fontFamily;
    double fontPoints = 9.0;
    QImage image;
};

// Paints one control as loading its settings would (Max, then Min, then Value) and returns exactly
// its client area, or a null image when no image of that size can be had. `valueAccepted` tells
// whether the control took the value.
QImage renderBar(const BarSpec& spec, bool* valueAccepted = nullptr);

// All ten styles at a few values, horizontal and vertical, labelled.
QImage renderSheet();

// A small two-tone tile for the picture style.
QImage sampleTile();

} // namespace quillon::gallery
