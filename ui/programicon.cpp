// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/programicon.h"

#include <QDir>
#include <QPixmap>

namespace quillon::ui {

namespace {

// Rendered by the build from the icon's one drawing, one file per size.
const QString kIconFolder = QStringLiteral(":/programicon");

} // namespace

QPixmap programIconPixmap(int size) {
    return QPixmap(kIconFolder + QStringLiteral("/%1.png").arg(size));
}

QIcon programIcon() {
    QIcon icon;
    const QStringList files = QDir(kIconFolder).entryList(QDir::Files);
    for (const QString& file : files) {
        icon.addFile(kIconFolder + QLatin1Char('/') + file);
    }
    return icon;
}

} // namespace quillon::ui
