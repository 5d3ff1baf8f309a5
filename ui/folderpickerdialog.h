#pragma once

#include "ui/folderpicker.h"

#include <QDialog>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace quillon::ui {

// A folder tree over the whole file system with the caller's title above it and, below it, a
// status line showing the path of the selected folder. Only folders are listed, so only a real
// folder can be chosen.
class FolderPickerDialog final : public QDialog {
    Q_OBJECT
public:
    FolderPickerDialog(const QString& title, const QString& initialFolder,
                       QWidget* owner = nullptr);

    // The selected folder as a full path, or empty when nothing is selected.
    QString selectedFolder() const;
    // Selects `folder` when it is an existing folder; anything else is left alone.
    void selectFolder(const QString& folder);

    QLabel* titleLabel() const { return title_; }
    QLabel* statusLine() const { return status_; }
    QTreeView* tree() const { return tree_; }

private:
    void onCurrentChanged();

    QLabel* title_;
    QTreeView* tree_;
    QLabel* status_;
    QDialogButtonBox* buttons_;
    QFileSystemModel* model_;
};

// The folder picker the program shows.
class DialogFolderPicker final : public FolderPicker {
public:
    QString BrowseForFolder(QWidget* owner, const QString& title,
                            const QString& initialFolder) override;
};

} // namespace quillon::ui
