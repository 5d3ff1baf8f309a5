#include "ui/folderpickerdialog.h"

#include "ui/pathtext.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillon::ui {

FolderPickerDialog::FolderPickerDialog(const QString& title, const QString& initialFolder,
                                       QWidget* owner)
    : QDialog(owner), title_(new QLabel(title, this)), tree_(new QTreeView(this)),
      status_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      model_(new QFileSystemModel(this)) {
    setWindowTitle(tr("Browse for Folder"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    title_->setObjectName(QStringLiteral("titleLabel"));
    title_->setWordWrap(true);
    status_->setObjectName(QStringLiteral("statusLine"));
    status_->setTextFormat(Qt::PlainText);
    // A long path is cut on screen, but the whole of it stays available to the user as a tip.
    status_->setMinimumWidth(1);
    tree_->setObjectName(QStringLiteral("folderTree"));

    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QString());
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) {
        tree_->hideColumn(column);
    }
    tree_->header()->hide();
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderPickerDialog::onCurrentChanged);
    connect(tree_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        tree_->setExpanded(index, !tree_->isExpanded(index));
    });

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(tree_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons_);
    resize(360, 420);

    selectFolder(initialFolder);
    onCurrentChanged();
}

QString FolderPickerDialog::selectedFolder() const {
    const QModelIndex current = tree_->currentIndex();
    if (!current.isValid() || !model_->isDir(current)) {
        return {};
    }
    return withoutTrailingSeparator(model_->filePath(current));
}

void FolderPickerDialog::selectFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) {
        return;
    }
    const QModelIndex index = model_->index(info.absoluteFilePath());
    if (!index.isValid()) {
        return;
    }
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FolderPickerDialog::onCurrentChanged() {
    const QString folder = selectedFolder();
    status_->setText(QDir::toNativeSeparators(folder));
    status_->setToolTip(status_->text());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!folder.isEmpty());
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
