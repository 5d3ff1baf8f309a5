// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/folderpicker.h"

#include <QDialog>
#include <QPersistentModelIndex>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace quillon::ui {

class FolderTreeFilter;

// A folder tree over the file system with the caller's title above it and, below it, a status
// line showing the path of the selected folder. Only folders are listed, so only a real folder
// can be chosen; the system's pseudo file systems are left out. The folder given at the start is
// preselected, or its nearest existing parent when it is gone. Nothing counts as chosen until the
// user selects a folder or one is preselected: until then OK is disabled and Enter does nothing.
class FolderPickerDialog final : public QDialog {
    Q_OBJECT
public:
    FolderPickerDialog(const QString& title, const QString& initialFolder,
                       QWidget* owner = nullptr);

    // The selected folder as a full path, or empty when nothing is selected.
    QString selectedFolder() const;
    // Selects `folder`, expands it and keeps it in view while the tree loads around it, when it
    // is an existing folder the tree shows; anything else is left alone.
    void selectFolder(const QString& folder);

    QLabel* titleLabel() const { return title_; }
    QLabel* statusLine() const { return status_; }
    QTreeView* tree() const { return tree_; }
    QPushButton* homeButton() const { return home_; }
    QPushButton* okButton() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onSelectionChanged();
    // Folders load in the background and rows appear above the preselected one, so it is
    // scrolled to again as they arrive, until the user takes over the tree.
    void keepPreselectionInView();

    QLabel* title_;
    QTreeView* tree_;
    QLabel* status_;
    QDialogButtonBox* buttons_;
    QPushButton* home_;
    QFileSystemModel* model_;
    FolderTreeFilter* folders_;
    QPersistentModelIndex preselected_;
};

// The folder picker the program shows.
class DialogFolderPicker final : public FolderPicker {
public:
    QString BrowseForFolder(QWidget* owner, const QString& title,
                            const QString& initialFolder) override;
};

} // namespace quillon::ui
