// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filelistview.h"

#include "ui/nativepath.h"
#include "ui/pathtext.h"
#include "ui/windowlook.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

namespace quillon::ui {

namespace {

constexpr int kFileNameColumn = 0;
constexpr int kStatusColumn = 1;
constexpr int kPathRole = Qt::UserRole;
constexpr int kOutputRole = Qt::UserRole + 1;

// Draws a column's texts cut in its own way (a view has one cutting mode for all columns), in rows
// of at least the height the view asks for.
class ListDelegate final : public QStyledItemDelegate {
public:
    ListDelegate(Qt::TextElideMode mode, const int& rowHeight, QObject* parent)
        : QStyledItemDelegate(parent), mode_(mode), rowHeight_(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        hint.setHeight(std::max(hint.height(), rowHeight_));
        return hint;
    }
    // The height the item's own text needs, fallback fonts included.
    int naturalHeight(const QStyleOptionViewItem& option, const QModelIndex& index) const {
        return QStyledItemDelegate::sizeHint(option, index).height();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = mode_;
    }

private:
    Qt::TextElideMode mode_;
    const int& rowHeight_;
};

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
    // One height for all rows keeps a long list cheap to lay out; fitRowHeight makes it that of
    // the tallest row.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegateForColumn(kFileNameColumn, new ListDelegate(Qt::ElideMiddle, rowHeight_, this));
    setItemDelegateForColumn(kStatusColumn, new ListDelegate(Qt::ElideRight, rowHeight_, this));
    setAccessibleName(QStringLiteral("Files"));
    setAccessibleDescription(QLatin1String(kEmptyListText));
    connect(model(), &QAbstractItemModel::rowsInserted, this, &FileListView::emptinessChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &FileListView::emptinessChanged);
    connect(model(), &QAbstractItemModel::modelReset, this, &FileListView::emptinessChanged);
}

FileListView::~FileListView() {
    // The model outlives this part of the view and resets itself as it goes.
    disconnect(model(), nullptr, this, nullptr);
}

QTreeWidgetItem* FileListView::appendFile(const QByteArray& path, const QString& status) {
    auto* item = new QTreeWidgetItem(this);
    item->setData(kFileNameColumn, kPathRole, path);
    item->setText(kFileNameColumn, displayPath(path));
    item->setText(kStatusColumn, status);
    setRowToolTip(item);
    fitRowHeight(item);
    return item;
}

void FileListView::setStatus(int row, const QString& status) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        item->setText(kStatusColumn, status);
        setRowToolTip(item);
        announceStatus(item);
    }
}

QByteArray FileListView::path(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->data(kFileNameColumn, kPathRole).toByteArray() : QByteArray();
}

QByteArray FileListView::output(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->data(kFileNameColumn, kOutputRole).toByteArray() : QByteArray();
}

void FileListView::setOutput(int row, const QByteArray& output) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        item->setData(kFileNameColumn, kOutputRole, output);
    }
}

void FileListView::setRowToolTip(QTreeWidgetItem* item) const {
    // A tip is one plain line per line of text, and Qt does not wrap plain text: a long path is
    // broken at its separators (and a long name anywhere) so the tip stays on the screen.
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const int widest = shown != nullptr ? shown->availableGeometry().width() / 2 : 640;
    const QFontMetrics metrics(QToolTip::font());
    const QString path = wrapPathText(item->text(kFileNameColumn), widest, [&](const QString& s) {
        return metrics.horizontalAdvance(s);
    });
    const QString tip = path + QLatin1Char('\n') + item->text(kStatusColumn);
    item->setToolTip(kFileNameColumn, tip);
    item->setToolTip(kStatusColumn, tip);
}

void FileListView::fitRowHeight(const QTreeWidgetItem* item) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = indexFromItem(item, kFileNameColumn);
    const auto* delegate = static_cast<const ListDelegate*>(itemDelegateForColumn(kFileNameColumn));
    const int needed = delegate->naturalHeight(option, index);
    if (needed > rowHeight_) {
        rowHeight_ = needed;
        // Every row takes the new height, the rows above this one too.
        scheduleDelayedItemsLayout();
    }
}

void FileListView::announceStatus(QTreeWidgetItem* item) {
    if (!QAccessible::isActive()) {
        return;
    }
    // Screen readers follow a run by the status cell's name changing.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = list != nullptr ? list->tableInterface() : nullptr;
    if (table == nullptr) {
        return;
    }
    QAccessibleInterface* cell = table->cellAt(indexOfTopLevelItem(item), kStatusColumn);
    if (cell != nullptr) {
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void FileListView::emptinessChanged() {
    const bool empty = topLevelItemCount() == 0;
    if (empty == shownEmpty_) {
        return;
    }
    shownEmpty_ = empty;
    setAccessibleDescription(empty ? QLatin1String(kEmptyListText) : QString());
    // The hint covers the whole view, not only the rows that changed.
    viewport()->update();
}

void FileListView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    if (topLevelItemCount() > 0) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    const int margin = fontMetrics().height();
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignCenter | Qt::TextWordWrap, QLatin1String(kEmptyListText));
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
