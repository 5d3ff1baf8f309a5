// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

namespace quillon::ui {

// The main window's list of files: a full path and a status per row, in two report columns. A
// long path is cut in its middle so both its start and its file name stay readable; a long
// status is cut at its end so it still starts with what happened. Each row's tooltip carries
// both texts whole.
class FileListView final : public QTreeWidget {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    void appendFile(const QString& path, const QString& status);
    // Row numbers start at 0 here, as in Qt's views.
    void setStatus(int row, const QString& status);

    // The width the File Name column has while no vertical scroll bar takes part of the list.
    int fileNameWidth() const { return fileNameWidth_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitFileNameColumn();

    int fileNameWidth_;
};

} // namespace quillon::ui
