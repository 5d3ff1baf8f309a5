// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "ui/commandgate.h"
#include "ui/filelistview.h"
#include "ui/uiservices.h"

#include <QString>
#include <QWidget>

class QPushButton;

namespace quillon::controls {
class XP_ProgressBar;
}

namespace quillon::ui {

class FormPath;
class Skin;

// The main window: the list of FLV files with their statuses, the buttons that fill it and start
// a run, and the progress bar of the file being read. The run itself is the engine's; this
// window is its host, and keeps the list, the buttons and drops from changing under it.
class FormMain final : public QWidget, public engine::RunHost {
    Q_OBJECT
public:
    explicit FormMain(UiServices services, QWidget* parent = nullptr);
    ~FormMain() override;

    // The run's view of the list and the window.
    int rowCount() const override;
    std::string rowText(int row) const override;
    void setRowStatus(int row, engine::RowStatus status) override;
    engine::OutputChoice showOutputFolderDialog() override;
    void setProgress(int percent) override;
    void PumpMessages() override;
    void showNotice(engine::Notice notice) override;
    bool stopRequested() const override;

    // Lists the files as a drop of them would: existing files with the .flv extension that are
    // not listed yet, folders skipped; a path that does not exist ends the list there. The
    // program's own command line comes this way too. Refused, like a drop, during a run.
    void addFiles(const QStringList& paths);
    // True when some row's text is exactly `path` (case-sensitive).
    bool IsInList(const QString& path) const;
    // Gives a window of this program the application's look.
    void SkinForm(QWidget* form);
    void OpenProductWebPage();

    // The folder of the last selection confirmed in the Add dialog; where the next one starts.
    const QString& lastFolder() const { return LastFolder; }
    bool runInProgress() const { return commands_.runInProgress(); }
    // The output folder dialog, or null before the first Extract that showed it.
    FormPath* formPath() const { return formPath_; }

    FileListView* ListView1;
    QPushButton* CmdAdd;
    QPushButton* CmdRemove;
    QPushButton* CmdExtract;
    QPushButton* CmdUpdate;
    controls::XP_ProgressBar* XP_ProgressBar1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The commands' own work; they run only through the command gate.
    void addByDialog();
    void removeSelectedRows();
    void extract();
    void stopRun();

    void listFiles(const QStringList& paths);
    void appendRow(const QString& path);
    // The widgets that take dropped files: the list's rows and its header.
    QList<QWidget*> dropTargets() const;
    void applyProgress();

    UiServices services_;
    Skin* Skin1;
    FormPath* formPath_ = nullptr;
    QString LastFolder;
    CommandGate commands_;
    bool stopRequested_ = false;
    bool closeAfterRun_ = false;
    int pendingProgress_ = 0;
    bool progressPosted_ = false;
    bool placed_ = false;
};

} // namespace quillon::ui
