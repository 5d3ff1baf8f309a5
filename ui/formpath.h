// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillon::platform {
class FileSystem;
} // namespace quillon::platform

namespace quillon::ui {

class FolderPicker;
class MessageBox;

// "Output path": asks, before each run, whether outputs go next to their inputs or into a
// browsed folder, and what to write. It is created once and only hidden afterwards, so the user's
// last choice is offered again at the next Extract. The two options below the buttons are kept in
// the user's settings as well, so they are offered again at the next start of the program.
class FormPath final : public QDialog {
    Q_OBJECT
public:
    FormPath(FolderPicker& picker, platform::FileSystem& files, MessageBox& messages,
             QWidget* owner);

    // Shows the dialog modally and returns what was confirmed. Returns when the dialog has been
    // hidden by OK, Cancel, Esc or its close box.
    engine::OutputChoice showModal();
    // What the dialog holds now.
    engine::OutputChoice choice() const;

    // The last folder accepted through Browse, ending in a separator; empty until then.
    const QString& outputFolder() const { return OutputFolder; }
    bool outputConfirmed() const { return OutputConfirmed; }

    QFrame* Frame2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QPushButton* CmdBrowse;
    QLineEdit* TextOutput;
    QPushButton* CmdOK;
    QPushButton* CmdCancel;
    QCheckBox* ChkVbrHeader;
    QCheckBox* ChkAac;

    static constexpr const char* kSameAsInputText = "[Same as input path]";
    static constexpr const char* kPickerTitle = "Please select the output folder.";
    // Where the options are kept in the user's settings.
    static constexpr const char* kVbrHeaderKey = "output/vbrHeader";
    static constexpr const char* kAacKey = "output/aac";

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void sameAsInputClicked();
    void specifyPathClicked();
    void browse();
    void addOptions();

    FolderPicker& picker_;
    platform::FileSystem& files_;
    MessageBox& messages_;
    QString OutputFolder;
    bool OutputConfirmed = false;
    bool placed_ = false;
};

} // namespace quillon::ui
