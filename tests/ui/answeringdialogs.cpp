// SPDX-License-Identifier: GPL-3.0-or-later
#include "answeringdialogs.h"

#include <QCoreApplication>

namespace quillon::uitest {

QStringList AnsweringOpenFileDialog::getOpenFileNames(QWidget*, const QString& startFolder) {
    startFolders.append(startFolder);
    if (answers.empty()) {
        return {};
    }
    QStringList answer = answers.front();
    answers.pop_front();
    return answer;
}

QString AnsweringFolderPicker::BrowseForFolder(QWidget*, const QString& title,
                                               const QString& initialFolder) {
    titles.append(title);
    initialFolders.append(initialFolder);
    if (answers.empty()) {
        return {};
    }
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingMessageBox::showMessage(std::string_view text, std::string_view title,
                                      ui::MessageIcon icon) {
    shown.push_back({std::string(text), std::string(title), icon});
}

void ScriptedPump::PumpMessages() {
    ++calls;
    if (duringPump) {
        duringPump(calls);
    }
    if (!gone) {
        QCoreApplication::processEvents();
    }
}

} // namespace quillon::uitest
