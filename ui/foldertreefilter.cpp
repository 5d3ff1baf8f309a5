// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/foldertreefilter.h"

#include <QFileSystemModel>

namespace quillon::ui {

bool isPseudoFileSystemPath(const QString& path) {
    // /var/run and /var/lock are the older names of folders in /run.
    static const char* const roots[] = {"/proc", "/sys", "/dev", "/run", "/var/run", "/var/lock"};
    for (const char* root : roots) {
        const QLatin1String name(root);
        if (path == name || (path.startsWith(name) && path.at(name.size()) == QLatin1Char('/'))) {
            return true;
        }
    }
    return false;
}

FolderTreeFilter::FolderTreeFilter(QFileSystemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
    setSourceModel(source);
}

bool FolderTreeFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QModelIndex index = source_->index(sourceRow, 0, sourceParent);
    return !isPseudoFileSystemPath(source_->filePath(index));
}

} // namespace quillon::ui
