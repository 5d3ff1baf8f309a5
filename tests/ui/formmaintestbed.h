// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "answeringdialogs.h"
#include "platform/posixfilesystem.h"
#include "ui/formmain.h"
#include "ui/formpath.h"
#include "ui/qtmessagebox.h"

#include <QDir>
#include <QMimeData>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace quillon::uitest {

// The main window with answering dialogs, real files in a fresh folder, and the process's
// current directory put back afterwards (the output folder dialog's folder test moves it). The
// file layer hands its waits for slow sources to the window, as the program's does.
class FormMainTestbed {
public:
    enum class MessageBoxes { Recorded, Shown };
    explicit FormMainTestbed(MessageBoxes boxes = MessageBoxes::Recorded);
    ~FormMainTestbed();

    // The rows as shown, and the paths they keep (any bytes).
    QStringList rowTexts() const;
    QList<QByteArray> rowPaths() const;
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
    // A file whose name is given in the system's bytes (not necessarily UTF-8); returns its full
    // path, in bytes too.
    QByteArray writeNativeFile(const QByteArray& name, const QByteArray& bytes = {}) const;
    QString makeFolder(const QString& name) const;
    QString path(const QString& name) const { return folder.filePath(name); }

    platform::PosixFileSystem files;
    ScriptedPump pump;
    RecordingMessageBox messages;
    // Real message boxes, for the cases that need what a shown box does to the window.
    ui::QtMessageBox shownMessages;
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
// A drag of paths as the system names them, not necessarily UTF-8.
QMimeData* fileDrag(const QList<QByteArray>& paths);

// Makes `window` the active window, so its keys reach it. The offscreen platform activates
// windows late: a dialog closed a moment ago may still take the activation back, so this waits
// until the window itself is the active one.
bool makeActive(QWidget& window);

} // namespace quillon::uitest
