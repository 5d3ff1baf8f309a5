// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QTreeWidget>

namespace quillon::ui {

// The main window's list of files: a full path and a status per row, in two report columns. Each
// row keeps its file's path as the system names it (bytes, not necessarily UTF-8) and shows a
// readable form of it. A long path is cut in its middle so both its start and its file name stay
// readable; a long status is cut at its end so it still starts with what happened. Each row's
// tooltip carries both texts whole. Every row is as tall as the tallest name needs, so names in
// scripts drawn by a taller fallback font are not clipped. An empty list says how to fill it.
class FileListView final : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr const char* kEmptyListText = "Add or drop FLV files here";

    explicit FileListView(QWidget* parent = nullptr);
    ~FileListView() override;

    // Row numbers start at 0 here, as in Qt's views.
    QTreeWidgetItem* appendFile(const QByteArray& path, const QString& status);
    void setStatus(int row, const QString& status);
    // The file's path as the system names it.
    QByteArray path(int row) const;
    // The output the last run made for the row, or empty when it made none.
    QByteArray output(int row) const;
    void setOutput(int row, const QByteArray& output);

    // The width the File Name column has while no vertical scroll bar takes part of the list.
    int fileNameWidth() const { return fileNameWidth_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fitFileNameColumn();
    void fitRowHeight(const QTreeWidgetItem* item);
    void setRowToolTip(QTreeWidgetItem* item) const;
    void announceStatus(QTreeWidgetItem* item);
    void emptinessChanged();

    int fileNameWidth_;
    // The height every row gets: that of the tallest row so far.
    int rowHeight_ = 0;
    bool shownEmpty_ = true;
};

} // namespace quillon::ui
