// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quillon::uitest {
namespace {

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Shows the message and reads the box that comes up, then presses its OK.
SeenBox showAndRead(std::string_view text, std::string_view title, ui::MessageIcon icon) {
    SeenBox seen;
    QWidget owner;
    ui::QtMessageBox messages(&owner);
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen = {box->text(), box->windowTitle(), box->icon(), int(box->buttons().size())};
        box->button(QMessageBox::Ok)->click();
    });
    poll.start();
    messages.showMessage(text, title, icon);
    return seen;
}

TEST(QtMessageBox, ShowsTextTitleAndIconWithOneOkButton) {
    const SeenBox error = showAndRead("Can not read /gone/ü", "Error", ui::MessageIcon::Critical);
    EXPECT_EQ(error.text, QStringLiteral("Can not read /gone/ü"));
    EXPECT_EQ(error.title, "Error");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, 1);

    const SeenBox notice =
        showAndRead("Can not get audio data", "Quillon", ui::MessageIcon::Information);
    EXPECT_EQ(notice.text, "Can not get audio data");
    EXPECT_EQ(notice.icon, QMessageBox::Information);
    EXPECT_EQ(notice.buttons, 1);
}

} // namespace
} // namespace quillon::uitest
