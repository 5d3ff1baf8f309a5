// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/folderisreadable.h"

#include <QFile>

namespace quillon::ui {

bool FolderIsReadable(platform::FileSystem& files, const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    return !files.checkOutputFolder(QFile::encodeName(path).toStdString());
}

} // namespace quillon::ui
