// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

class QFileSystemModel;

namespace quillon::ui {

// True for a folder of the kernel's and the system's own pseudo file systems (/proc, /sys,
// /dev, /run and the names that lead there) or anything inside one: they hold no place for a
// user's files.
bool isPseudoFileSystemPath(const QString& path);

// The folder tree without the pseudo file systems.
class FolderTreeFilter final : public QSortFilterProxyModel {
public:
    explicit FolderTreeFilter(QFileSystemModel* source, QObject* parent = nullptr);

    QFileSystemModel* fileSystem() const { return source_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QFileSystemModel* source_;
};

} // namespace quillon::ui
