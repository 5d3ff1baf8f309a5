// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "answeringdialogs.h"
#include "platform/posixfilesystem.h"
#include "ui/formmain.h"
#include "ui/formpath.h"

#include <QDir>
#include <QMimeData>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace quillon::uitest {

// The main window with answering dialogs, real files in a fresh folder, and the process's
// current directory put back afterwards (the output folder dialog's folder test moves it).
class FormMainTestbed {
public:
    FormMainTestbed();
    ~FormMainTestbed();

    QStringList rowTexts() const;
    QStringList statuses() const;
    // Lists the paths as one confirmed selection in the Add dialog.
    void addThroughDialog(const QStringList& paths);
    // Presses Extract; `answer` acts on the output folder dialog when it shows (Cancel when
    // empty). Returns how often the dialog was shown.
    int extractAnswering(const std::function<void(ui::FormPath&)>& answer);
    void select(std::initializer_list<int> rows);

    // A file in the fresh folder with the given bytes; returns its full path.
    QString writeFile(const QString& name, const QByteArray& bytes = {}) const;
    QString copyFixture(const QString& fixture, const QString& name) const;
    QString makeFolder(const QString& name) const;
    QString path(const QString& name) const { return folder.filePath(name); }

    platform::PosixFileSystem files;
    ScriptedPump pump;
    RecordingMessageBox messages;
    AnsweringOpenFileDialog openFileDialog;
    AnsweringFolderPicker folderPicker;
    RecordingWebPageOpener webPages;
    ui::FormMain form;
    QTemporaryDir folder;

private:
    QString savedCurrentDirectory_;
};

// A table-driven window test: one fresh main window per case.
template <typename Param>
class WindowTest : public ::testing::TestWithParam<Param> {
protected:
    FormMainTestbed bed;
};

QByteArray readAll(const QString& path);
QString fixture(const QString& name);
// The SHA-256 the fixtures' script stored for the fixture's expected MP3.
QByteArray expectedMp3Hash(const QString& fixtureName);

// Drags `data` over the list's rows (or over `target`, such as its header) and drops it. Returns
// whether the list offered to take it.
bool dragAndDrop(ui::FormMain& form, const QMimeData& data, QWidget* target = nullptr);
QMimeData* fileDrag(const QStringList& paths);

// Makes `window` the active window, so its keys reach it. The offscreen platform activates
// windows late: a dialog closed a moment ago may still take the activation back, so this waits
// until the window itself is the active one.
bool makeActive(QWidget& window);

} // namespace quillon::uitest
