// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/openfiledialog.h"

#include "ui/skin.h"

#include <QFileDialog>

namespace quillon::ui {

QStringList QtOpenFileDialog::getOpenFileNames(QWidget* owner, const QString& startFolder) {
    // An empty caption leaves the dialog its default title. The desktop's native dialog would
    // not carry the window's look, so Qt's own is shown.
    QFileDialog dialog(owner, QString(), startFolder, QStringLiteral("flv files (*.flv)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    lookLikeOwner(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

} // namespace quillon::ui
