// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pathtext.h"

namespace quillon::ui {

namespace {
constexpr QChar kSeparator = u'/';
}

bool hasFlvExtension(const QString& path) {
    return path.endsWith(QStringLiteral(".flv"), Qt::CaseInsensitive);
}

QString folderPart(const QString& path) {
    const qsizetype last = path.lastIndexOf(kSeparator);
    return last < 0 ? QString() : path.left(last + 1);
}

QString withTrailingSeparator(const QString& folder) {
    return folder.endsWith(kSeparator) ? folder : folder + kSeparator;
}

QString withoutTrailingSeparator(const QString& folder) {
    if (folder.size() > 1 && folder.endsWith(kSeparator)) {
        return folder.chopped(1);
    }
    return folder;
}

} // namespace quillon::ui
