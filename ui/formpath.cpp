// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formpath.h"

#include "ui/folderisreadable.h"
#include "ui/folderpicker.h"
#include "ui/messagebox.h"
#include "ui/pathtext.h"
#include "ui/programicon.h"
#include "ui/windowlook.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

namespace quillon::ui {

FormPath::FormPath(FolderPicker& picker, platform::FileSystem& files, MessageBox& messages,
                   QWidget* owner)
    : QDialog(owner), picker_(picker), files_(files), messages_(messages) {
    setObjectName(QStringLiteral("FormPath"));
    setWindowTitle(QStringLiteral("Output path"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    setFont(windowFont());
    setModal(true);

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(scaledRect(this, 6, 3, 454, 74));
    // An etched rectangle around the options, as a captionless group frame is drawn.
    Frame2->setFrameStyle(QFrame::Box | QFrame::Sunken);

    Option1 = new QRadioButton(QStringLiteral("Same as input path"), Frame2);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setGeometry(scaledRect(this, 14, 21, 131, 16));
    Option1->setChecked(true);

    Option2 = new QRadioButton(QStringLiteral("Specify a path"), Frame2);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setGeometry(scaledRect(this, 160, 21, 109, 16));

    CmdBrowse = new QPushButton(QStringLiteral("Browse..."), Frame2);
    CmdBrowse->setObjectName(QStringLiteral("CmdBrowse"));
    CmdBrowse->setGeometry(scaledRect(this, 277, 15, 72, 22));
    CmdBrowse->setEnabled(false);
    CmdBrowse->setAutoDefault(false);

    TextOutput = new QLineEdit(QLatin1String(kSameAsInputText), Frame2);
    TextOutput->setObjectName(QStringLiteral("TextOutput"));
    TextOutput->setGeometry(scaledRect(this, 14, 41, 432, 21));
    TextOutput->setReadOnly(true);
    // The box has no label of its own; the options above it say what it shows.
    TextOutput->setAccessibleName(QStringLiteral("Output folder"));

    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setGeometry(scaledRect(this, 214, 86, 90, 24));
    CmdOK->setDefault(true);

    CmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setGeometry(scaledRect(this, 318, 86, 90, 24));
    CmdCancel->setAutoDefault(false);

    setTabOrder(Option1, Option2);
    setTabOrder(Option2, CmdBrowse);
    setTabOrder(CmdBrowse, TextOutput);
    setTabOrder(TextOutput, CmdOK);
    setTabOrder(CmdOK, CmdCancel);
    addOptions();

    connect(Option1, &QRadioButton::clicked, this, &FormPath::sameAsInputClicked);
    connect(Option2, &QRadioButton::clicked, this, &FormPath::specifyPathClicked);
    connect(CmdBrowse, &QPushButton::clicked, this, &FormPath::browse);
    connect(CmdOK, &QPushButton::clicked, this, &FormPath::accept);
    connect(CmdCancel, &QPushButton::clicked, this, &FormPath::reject);
}

namespace {

// The user's settings of this program, in the platform's place for them.
QSettings userSettings() {
    return QSettings(QStringLiteral("Quillon"), QStringLiteral("Quillon"));
}

} // namespace

// The options sit below the buttons, across the dialog's width, and come last in the tab order;
// the dialog grows by their height. Each change is saved at once.
void FormPath::addOptions() {
    const QSettings settings = userSettings();
    const auto option = [&](const char* name, const char* text, int top, const char* key) {
        auto* box = new QCheckBox(QLatin1String(text), this);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(scaledRect(this, 14, top, 432, 18));
        box->setChecked(settings.value(QLatin1String(key), false).toBool());
        connect(box, &QCheckBox::toggled, this,
                [key](bool checked) { userSettings().setValue(QLatin1String(key), checked); });
        return box;
    };
    ChkVbrHeader =
        option("ChkVbrHeader", "Write a VBR header (exact durations)", 118, kVbrHeaderKey);
    ChkAac = option("ChkAac", "Also extract AAC audio (.aac)", 138, kAacKey);
    setTabOrder(CmdCancel, ChkVbrHeader);
    setTabOrder(ChkVbrHeader, ChkAac);

    setFixedSize(scaledSize(this, 466, 164));
}

engine::OutputChoice FormPath::showModal() {
    OutputConfirmed = false;
    exec();
    return choice();
}

engine::OutputChoice FormPath::choice() const {
    engine::OutputChoice result;
    result.OutputConfirmed = OutputConfirmed;
    result.sameAsInput = !Option2->isChecked();
    result.OutputFolder = QFile::encodeName(OutputFolder).toStdString();
    result.vbrHeader = ChkVbrHeader->isChecked();
    result.aac = ChkAac->isChecked();
    return result;
}

void FormPath::accept() {
    OutputConfirmed = true;
    QDialog::accept();
}

void FormPath::reject() {
    // Cancel, Esc and the close box all land here; the dialog is only hidden, keeping its option,
    // its text and the folder for the next run.
    OutputConfirmed = false;
    QDialog::reject();
}

void FormPath::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        centerOnScreen(this);
    }
    QDialog::showEvent(event);
}

void FormPath::sameAsInputClicked() {
    TextOutput->setText(QLatin1String(kSameAsInputText));
    CmdBrowse->setEnabled(false);
}

void FormPath::specifyPathClicked() {
    if (!OutputFolder.isEmpty()) {
        TextOutput->setText(OutputFolder);
        CmdBrowse->setEnabled(true);
        return;
    }
    browse();
    if (OutputFolder.isEmpty()) {
        // No folder was ever accepted, so "Specify a path" would have nowhere to point.
        Option1->setChecked(true);
        sameAsInputClicked();
        Option1->update();
        return;
    }
    CmdBrowse->setEnabled(true);
}

void FormPath::browse() {
    const QString start = withoutTrailingSeparator(TextOutput->text());
    const QString chosen = picker_.BrowseForFolder(this, QLatin1String(kPickerTitle), start);
    if (chosen.isEmpty()) {
        return;
    }
    if (!FolderIsReadable(files_, chosen)) {
        messages_.showMessage(("Can not read " + chosen).toStdString(), "Error",
                              MessageIcon::Critical);
        return;
    }
    TextOutput->setText(chosen);
    OutputFolder = withTrailingSeparator(TextOutput->text());
}

} // namespace quillon::ui
