// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qtmessagebox.h"

#include "ui/skin.h"

#include <QMessageBox>

namespace quillon::ui {

void QtMessageBox::showMessage(std::string_view text, std::string_view title, MessageIcon icon) {
    const auto qtIcon =
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(qtIcon, QString::fromUtf8(title.data(), qsizetype(title.size())),
                    QString::fromUtf8(text.data(), qsizetype(text.size())), QMessageBox::Ok,
                    owner_.data());
    lookLikeOwner(&box, owner_.data());
    box.exec();
}

} // namespace quillon::ui
