// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qtmessagebox.h"

#include "ui/skin.h"

#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>

namespace quillon::ui {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    return icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
}

// Takes the box away when its owner is asked to close.
class CloseWithOwner final : public QObject {
public:
    explicit CloseWithOwner(QMessageBox& box) : box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            box_.reject();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QMessageBox& box_;
};

} // namespace

void QtMessageBox::showMessage(std::string_view text, std::string_view title, MessageIcon icon) {
    QMessageBox box(qtIcon(icon), toQString(title), toQString(text), QMessageBox::Ok,
                    owner_.data());
    lookLikeOwner(&box, owner_.data());
    box.exec();
}

void QtMessageBox::showRunMessage(std::string_view text, std::string_view title, MessageIcon icon) {
    QMessageBox box(qtIcon(icon), toQString(title), toQString(text), QMessageBox::Ok,
                    owner_.data());
    lookLikeOwner(&box, owner_.data());
    // Not modal: the owner stays able to take a close request, which a modal box would make the
    // system drop. The run waits all the same, and the owner's commands are shut during a run.
    box.setWindowModality(Qt::NonModal);
    CloseWithOwner closer(box);
    if (owner_ != nullptr) {
        owner_->installEventFilter(&closer);
    }
    QEventLoop waiting;
    QObject::connect(&box, &QDialog::finished, &waiting, &QEventLoop::quit);
    box.show();
    if (box.isVisible()) {
        waiting.exec();
    }
    if (owner_ != nullptr) {
        owner_->removeEventFilter(&closer);
    }
}

} // namespace quillon::ui
