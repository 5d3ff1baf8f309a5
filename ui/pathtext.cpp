// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pathtext.h"

#include "platform/pathparts.h"

namespace quillon::ui {

bool hasFlvExtension(const QString& path) {
    return path.endsWith(QStringLiteral(".flv"), Qt::CaseInsensitive);
}

QString folderPart(const QString& path) {
    return path.left(static_cast<qsizetype>(platform::nameStart(path)));
}

QString withTrailingSeparator(const QString& folder) {
    return platform::withTrailingSeparator(folder);
}

QString withoutTrailingSeparator(const QString& folder) {
    if (folder.size() > 1 && platform::isPathSeparator(folder.back())) {
        return folder.chopped(1);
    }
    return folder;
}

} // namespace quillon::ui
