// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filelistview.h"

#include "ui/windowlook.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <algorithm>

namespace quillon::ui {

namespace {

constexpr int kFileNameColumn = 0;
constexpr int kStatusColumn = 1;

// Draws a column's texts cut in its own way; a view has one cutting mode for all columns.
class ElidingDelegate final : public QStyledItemDelegate {
public:
    ElidingDelegate(Qt::TextElideMode mode, QObject* parent)
        : QStyledItemDelegate(parent), mode_(mode) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = mode_;
    }

private:
    Qt::TextElideMode mode_;
};

QString rowToolTip(const QString& path, const QString& status) {
    return path + QLatin1Char('\n') + status;
}

void setRowToolTip(QTreeWidgetItem* item) {
    const QString tip = rowToolTip(item->text(kFileNameColumn), item->text(kStatusColumn));
    item->setToolTip(kFileNameColumn, tip);
    item->setToolTip(kStatusColumn, tip);
}

} // namespace

FileListView::FileListView(QWidget* parent)
    : QTreeWidget(parent), fileNameWidth_(scaledLength(parent, 453)) {
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Status")});
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setColumnWidth(kFileNameColumn, fileNameWidth_);
    setColumnWidth(kStatusColumn, scaledLength(parent, 116));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegateForColumn(kFileNameColumn, new ElidingDelegate(Qt::ElideMiddle, this));
    setItemDelegateForColumn(kStatusColumn, new ElidingDelegate(Qt::ElideRight, this));
    setAccessibleName(QStringLiteral("Files"));
}

void FileListView::appendFile(const QString& path, const QString& status) {
    auto* item = new QTreeWidgetItem(this);
    item->setText(kFileNameColumn, path);
    item->setText(kStatusColumn, status);
    setRowToolTip(item);
}

void FileListView::setStatus(int row, const QString& status) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        item->setText(kStatusColumn, status);
        setRowToolTip(item);
    }
}

void FileListView::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    fitFileNameColumn();
}

void FileListView::fitFileNameColumn() {
    // The columns just fit beside each other; once the vertical scroll bar takes its share of
    // the width, the File Name column gives it up, so Status never hides behind a horizontal
    // scroll bar.
    const int room = viewport()->width() - columnWidth(kStatusColumn);
    setColumnWidth(kFileNameColumn, std::max(0, std::min(fileNameWidth_, room)));
}

} // namespace quillon::ui
