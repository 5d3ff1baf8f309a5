// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quillon::ui {

// The Add button's file chooser. Behind an interface so tests can answer it without a dialog.
class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    // The full paths the user confirmed, in the dialog's order; empty when the dialog was
    // cancelled or failed.
    virtual QStringList getOpenFileNames(QWidget* owner, const QString& startFolder) = 0;
};

// The desktop's own file dialog, limited to FLV files, several files at once.
class QtOpenFileDialog final : public OpenFileDialog {
public:
    QStringList getOpenFileNames(QWidget* owner, const QString& startFolder) override;
};

} // namespace quillon::ui
