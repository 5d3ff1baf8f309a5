// SPDX-License-Identifier: GPL-3.0-or-later
#include "storedsettings.h"

#include <QFontInfo>
#include <algorithm>

namespace quillon::controls {

StoredFont storedFontFromQFont(const QFont& font, int charset) {
    StoredFont stored;
    stored.faceName = font.family();
    stored.charset = charset;
    if (font.pointSizeF() > 0) {
        stored.pointSize = font.pointSizeF();
    } else {
        // A pixel-sized font: express it in points at the usual 96 pixels per inch.
        stored.pointSize = font.pixelSize() * 72.0 / 96.0;
    }
    stored.weight = font.weight();
    stored.italic = font.italic();
    stored.underline = font.underline();
    stored.strikeOut = font.strikeOut();
    return stored;
}

QFont qfontFromStoredFont(const StoredFont& stored) {
    QFont font(stored.faceName);
    if (stored.pointSize > 0) {
        font.setPointSizeF(stored.pointSize);
    }
    // A stored weight of 0 means "any weight", which fonts take as normal.
    const int weight = stored.weight == 0 ? int{QFont::Normal} : std::clamp(stored.weight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(stored.italic);
    font.setUnderline(stored.underline);
    font.setStrikeOut(stored.strikeOut);
    return font;
}

PropertyBag mainWindowProgressBarSettings() {
    StoredFont font;
    // The face as the window stored it, under its GB2312 name 宋体 (SimSun); font configurations
    // that have the font know it by either name.
    font.faceName = QStringLiteral("宋体");
    font.charset = 134;
    font.pointSize = 8.25;
    font.weight = 400;

    PropertyBag bag;
    bag.write(QString::fromLatin1(kKeyFont), font);
    bag.write(QString::fromLatin1(kKeyBrushStyle), std::int32_t{0}, kDefaultBrushStyle);
    bag.write(QString::fromLatin1(kKeyColor), std::int32_t{0xD5774E}, kDefaultColor);
    return bag;
}

} // namespace quillon::controls
