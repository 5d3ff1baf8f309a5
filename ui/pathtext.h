// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// Small rules about path texts shared by the windows. Paths use "/" as Qt hands them out.
namespace quillon::ui {

// True when the last four characters are ".flv" in any case; the whole name may be just ".flv".
bool hasFlvExtension(const QString& path);

// The folder part of a path, up to and including its last separator; empty when it has none.
QString folderPart(const QString& path);

// The folder with exactly one separator at its end (the root stays "/").
QString withTrailingSeparator(const QString& folder);

// The folder text without its trailing separator, except for the root, which is nothing but it.
QString withoutTrailingSeparator(const QString& folder);

// `text` broken into lines no wider than `maxWidth` (as `widthOf` measures), after path separators
// where it can be and anywhere inside a name too long for a line. Lines it already has are kept.
QString wrapPathText(const QString& text, int maxWidth,
                     const std::function<int(const QString&)>& widthOf);

} // namespace quillon::ui
