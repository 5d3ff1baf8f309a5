// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/folderpickerdialog.h"

#include "ui/foldertreefilter.h"
#include "ui/pathtext.h"
#include "ui/skin.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

// The folder itself when it exists, otherwise its nearest ancestor that does: a stored output
// folder may have been deleted since, and its parent is where the user is likely to look. Empty
// for a text that is not an absolute path.
QString nearestExistingFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
        return {};
    }
    QString candidate = QDir::cleanPath(folder);
    while (!QFileInfo(candidate).isDir()) {
        const QString parent = QFileInfo(candidate).path();
        if (parent == candidate) {
            return {};
        }
        candidate = parent;
    }
    return candidate;
}

} // namespace

FolderPickerDialog::FolderPickerDialog(const QString& title, const QString& initialFolder,
                                       QWidget* owner)
    : QDialog(owner), title_(new QLabel(title, this)), tree_(new QTreeView(this)),
      status_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      home_(new QPushButton(tr("&Home"), this)), model_(new QFileSystemModel(this)),
      folders_(new FolderTreeFilter(model_, this)) {
    setWindowTitle(tr("Browse for Folder"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    title_->setObjectName(QStringLiteral("titleLabel"));
    title_->setWordWrap(true);
    status_->setObjectName(QStringLiteral("statusLine"));
    status_->setTextFormat(Qt::PlainText);
    status_->setAccessibleName(tr("Selected folder"));
    // A long path is cut on screen, but the whole of it stays available to the user as a tip.
    status_->setMinimumWidth(1);
    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setAccessibleName(tr("Folders"));
    home_->setObjectName(QStringLiteral("homeButton"));
    home_->setAccessibleName(tr("Home folder"));
    home_->setEnabled(QFileInfo(QDir::homePath()).isDir());
    // Enter stays with OK: it confirms a choice, it does not make one.
    home_->setAutoDefault(false);

    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QString());
    tree_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column) {
        tree_->hideColumn(column);
    }
    tree_->header()->hide();
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FolderPickerDialog::onSelectionChanged);
    connect(tree_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        tree_->setExpanded(index, !tree_->isExpanded(index));
    });

    connect(folders_, &QAbstractItemModel::rowsInserted, this,
            &FolderPickerDialog::keepPreselectionInView);
    connect(folders_, &QAbstractItemModel::layoutChanged, this,
            &FolderPickerDialog::keepPreselectionInView);
    connect(model_, &QFileSystemModel::directoryLoaded, this,
            &FolderPickerDialog::keepPreselectionInView);
    // Whatever the user does in the tree ends the following of the preselected folder.
    tree_->installEventFilter(this);
    tree_->viewport()->installEventFilter(this);
    connect(tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { preselected_ = QPersistentModelIndex(); });
    connect(tree_, &QTreeView::collapsed, this, [this] { preselected_ = QPersistentModelIndex(); });

    connect(home_, &QPushButton::clicked, this, [this] {
        selectFolder(QDir::homePath());
        tree_->setFocus(Qt::OtherFocusReason);
    });
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(tree_, 1);
    layout->addWidget(status_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(home_);
    bottom->addStretch(1);
    bottom->addWidget(buttons_);
    layout->addLayout(bottom);
    resize(440, 440);

    selectFolder(nearestExistingFolder(initialFolder));
    onSelectionChanged();
    lookLikeOwner(this, owner);
}

QPushButton* FolderPickerDialog::okButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

QString FolderPickerDialog::selectedFolder() const {
    // The selection, not the current item: Qt makes the first item current as soon as the tree
    // gets the focus, and that is not a choice.
    const QModelIndexList selected = tree_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return {};
    }
    const QModelIndex folder = folders_->mapToSource(selected.front());
    if (!model_->isDir(folder)) {
        return {};
    }
    return withoutTrailingSeparator(model_->filePath(folder));
}

void FolderPickerDialog::selectFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) {
        return;
    }
    const QModelIndex index = folders_->mapFromSource(model_->index(info.absoluteFilePath()));
    if (!index.isValid()) {
        return;
    }
    tree_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    tree_->expand(index);
    preselected_ = index;
    keepPreselectionInView();
}

void FolderPickerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    keepPreselectionInView();
}

bool FolderPickerDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        preselected_ = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void FolderPickerDialog::onSelectionChanged() {
    const QString folder = selectedFolder();
    status_->setText(QDir::toNativeSeparators(folder));
    status_->setToolTip(status_->text());
    okButton()->setEnabled(!folder.isEmpty());
}

void FolderPickerDialog::keepPreselectionInView() {
    if (!preselected_.isValid()) {
        return;
    }
    tree_->scrollTo(preselected_, QAbstractItemView::PositionAtCenter);
}

QString DialogFolderPicker::BrowseForFolder(QWidget* owner, const QString& title,
                                            const QString& initialFolder) {
    FolderPickerDialog dialog(title, initialFolder, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFolder();
}

} // namespace quillon::ui
