// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/messagebox.h"

#include <QPointer>
#include <QWidget>

namespace quillon::ui {

// Message boxes for the engine and the windows, shown modally over `owner`.
class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
    void showRunMessage(std::string_view text, std::string_view title, MessageIcon icon) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace quillon::ui
